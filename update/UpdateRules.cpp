#include "update/UpdateRules.h"

#include <limits>

namespace Update {

namespace {

// The white space that atoi skips in the "C" locale.
bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

uint64_t DaySpan(int32_t dayCount) {
    // At most 2^31 days of 8.64e11 units each: below 2^71, so clamp before
    // multiplying. No FILETIME reaches back further than 2^64 units anyway.
    if (dayCount <= 0) return 0;
    const uint64_t days = static_cast<uint64_t>(dayCount);
    if (days > std::numeric_limits<uint64_t>::max() / kFileTimeDay) {
        return std::numeric_limits<uint64_t>::max();
    }
    return days * kFileTimeDay;
}

}  // namespace

std::optional<Version> ParseVersionFile(std::string_view body) {
    size_t i = 0;
    while (i < body.size() && IsSpace(body[i])) ++i;
    bool negative = false;
    if (i < body.size() && (body[i] == '+' || body[i] == '-')) negative = body[i++] == '-';
    int64_t number = 0;
    bool digits = false;
    for (; i < body.size() && body[i] >= '0' && body[i] <= '9'; ++i) {
        digits = true;
        number = number * 10 + (body[i] - '0');
        if (number > std::numeric_limits<int32_t>::max()) return std::nullopt;
    }
    if (!digits || negative || number == 0) return std::nullopt;
    const auto n = static_cast<int32_t>(number);
    return Version{n / 100, n % 100};
}

bool IsNewer(const Version& published, const Version& running) {
    return published.major > running.major ||
           (published.major == running.major && published.minor > running.minor);
}

bool StartupCheckDue(uint64_t lastCheck, uint64_t now, int32_t dayCount) {
    if (lastCheck > now) return true;
    return now - lastCheck >= DaySpan(dayCount);
}

bool RecordFailedCheck(bool silent, uint64_t lastCheck, uint64_t now, int32_t dayCount) {
    if (!silent) return false;
    const uint64_t span = DaySpan(dayCount);
    const uint64_t since = now > span ? now - span : 0;
    return lastCheck >= since;
}

std::optional<Server> ParseServer(std::wstring_view text) {
    Server server;
    const auto scheme = [&text](std::wstring_view name) {
        if (text.size() < name.size()) return false;
        for (size_t i = 0; i < name.size(); ++i) {
            wchar_t c = text[i];
            if (c >= L'A' && c <= L'Z') c = static_cast<wchar_t>(c - L'A' + L'a');
            if (c != name[i]) return false;
        }
        text.remove_prefix(name.size());
        return true;
    };
    if (!scheme(L"https://") && scheme(L"http://")) {
        server.secure = false;
        server.port = 80;
    }
    const size_t colon = text.rfind(L':');
    server.host = std::wstring(text.substr(0, colon));
    if (colon != std::wstring_view::npos) {
        const std::wstring_view port = text.substr(colon + 1);
        if (port.empty() || port.size() > 5) return std::nullopt;
        uint32_t value = 0;
        for (wchar_t c : port) {
            if (c < L'0' || c > L'9') return std::nullopt;
            value = value * 10 + static_cast<uint32_t>(c - L'0');
        }
        if (value == 0 || value > 65535) return std::nullopt;
        server.port = static_cast<uint16_t>(value);
    }
    if (server.host.empty()) return std::nullopt;
    return server;
}

std::wstring InstallerUrl(const Server& server) {
    return L"https://" + server.host + kInstallerPath;
}

}  // namespace Update
