#pragma once
// The rules of the update check that need no network: reading the published
// version number, comparing it with the running version, deciding when a check
// is due and when a failed one is recorded, and the server's addresses.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace Update {

struct Version {
    int32_t major = 0;
    int32_t minor = 0;
};

// The body of the version file is 8-bit text holding the version times 100 plus
// the minor version ("302" is 3.2): optional leading white space, an optional
// sign, decimal digits, and anything after them ignored. No number, zero, a
// negative number or one beyond the 32-bit range is not a version.
std::optional<Version> ParseVersionFile(std::string_view body);

// Whether the published version is newer than the running one.
bool IsNewer(const Version& published, const Version& running);

// Times are FILETIME values in UTC as one 64-bit count of 100-nanosecond units.
inline constexpr uint64_t kFileTimeDay = 864000000000ull;

// A start-up check is due when the last recorded check is at least dayCount days
// before now. A last check dated after now (the clock was set back) does not
// hold checks off. A day count below 0 counts as 0.
bool StartupCheckDue(uint64_t lastCheck, uint64_t now, int32_t dayCount);

// A failed check is recorded as the last check only when it was silent and the
// last recorded check lies within dayCount days before now, so a start-up
// check that fails is tried again at the next start once the days have passed.
bool RecordFailedCheck(bool silent, uint64_t lastCheck, uint64_t now, int32_t dayCount);

inline uint64_t JoinFileTime(uint32_t low, uint32_t high) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

// Where the version file and the installer are. The version file is fetched
// over HTTPS from host:port (over plain HTTP only where the build names a server
// "http://host:port", as a test's server on this machine is); the installer is
// offered over HTTPS from the same host on the standard port.
struct Server {
    std::wstring host;
    uint16_t port = 443;
    bool secure = true;
};

inline constexpr const wchar_t* kVersionFilePath = L"/notes/versiondata.txt";
inline constexpr const wchar_t* kInstallerPath = L"/notes/zephyn3.exe";

// "host" or "host:port", optionally after "https://" or "http://" (any letter
// case; the port is then 443 or 80 unless given); nothing for an empty host or a
// port that is not a number from 1 to 65535.
std::optional<Server> ParseServer(std::wstring_view text);

std::wstring InstallerUrl(const Server& server);

}  // namespace Update
