// The update check's rules without a network: what the version file may hold,
// which versions are newer, when a check is due or recorded, and where the
// server is.

#include <gtest/gtest.h>

#include <string>

#include "support/TestPaths.h"
#include "update/UpdateRules.h"

namespace {

using Update::Version;

struct BodyCase {
    std::string body;
    bool isVersion;
    int32_t major;
    int32_t minor;
};

TEST(UpdateRulesTest, VersionFileBodies) {
    const BodyCase cases[] = {
        {"", false, 0, 0},
        {"0", false, 0, 0},
        {"000", false, 0, 0},
        {"302", true, 3, 2},
        {" 302 trailing", true, 3, 2},
        {"\t\r\n 302\r\n", true, 3, 2},
        {"+302", true, 3, 2},
        {"-5", false, 0, 0},
        {"-302", false, 0, 0},
        {"+", false, 0, 0},
        {"+ 302", false, 0, 0},
        {"310 x", true, 3, 10},
        {"400", true, 4, 0},
        {"7", true, 0, 7},
        {"0000000000000302", true, 3, 2},  // leading zeros do not overflow
        {"2147483647", true, 21474836, 47},
        {"2147483648", false, 0, 0},  // 2^31
        {"4294967298", false, 0, 0},  // 2^32 + 2, which wraps to 2 in 32 bits
        {"99999999999999999999999999", false, 0, 0},
        {"<html>302</html>", false, 0, 0},
        {"v302", false, 0, 0},
        {std::string("3\0"
                     "02",
                     4),
         true, 0, 3},
    };
    for (const BodyCase& c : cases) {
        const auto v = Update::ParseVersionFile(c.body);
        ASSERT_EQ(v.has_value(), c.isVersion) << '"' << c.body << '"';
        if (v) {
            EXPECT_EQ(v->major, c.major) << c.body;
            EXPECT_EQ(v->minor, c.minor) << c.body;
        }
    }
    // The body is what was received, not the buffer it sits in: digits after it
    // are not read.
    const std::string buffer = "3025";
    const auto cut = Update::ParseVersionFile(std::string_view(buffer.data(), 3));
    ASSERT_TRUE(cut);
    EXPECT_EQ(3, cut->major);
    EXPECT_EQ(2, cut->minor);
}

TEST(UpdateRulesTest, NewerThanTheRunningVersion) {
    const Version running{3, 2};
    struct {
        const char* body;
        bool newer;
    } cases[] = {{"302", false}, {"303", true},   {"400", true},       {"299", false},
                 {"301", false}, {"310 x", true}, {"2147483647", true}};
    for (const auto& c : cases) {
        const auto v = Update::ParseVersionFile(c.body);
        ASSERT_TRUE(v) << c.body;
        EXPECT_EQ(Update::IsNewer(*v, running), c.newer) << c.body;
    }
    // The minor number only counts within the same major version.
    EXPECT_FALSE(Update::IsNewer(Version{2, 99}, running));
    EXPECT_TRUE(Update::IsNewer(Version{4, 0}, Version{3, 99}));
}

// 2026-12-07 00:00 UTC as a FILETIME.
constexpr uint64_t kNow = 134095104000000000ull;
constexpr uint64_t kDay = Update::kFileTimeDay;

TEST(UpdateRulesTest, DayCountInFileTimeUnits) {
    EXPECT_EQ(kDay, 24ull * 60 * 60 * 10000000);
    EXPECT_EQ(Update::JoinFileTime(0x89ABCDEF, 0x01234567), 0x0123456789ABCDEFull);

    struct {
        uint64_t last;
        int32_t days;
        bool due;
        bool recordSilentFailure;
    } cases[] = {
        {kNow - 3 * kDay, 7, false, true},
        {kNow - 10 * kDay, 7, true, false},
        {kNow - 7 * kDay, 7, true, true},  // exactly the day count: due, and within it
        {kNow - 7 * kDay + 1, 7, false, true},
        {kNow - 7 * kDay - 1, 7, true, false},
        {0, 7, true, false},  // never checked
        {kNow, 0, true, true},
        {kNow, 7, false, true},  // checked just now
        {kNow - kDay, 1, true, true},
        {kNow - kDay + 1, 1, false, true},
        {kNow - 1, -3, true, false},                 // a negative count is no count
        {kNow + kDay, 7, true, true},                // dated in the future: checks go on
        {kNow - 3 * kDay, 2147483647, false, true},  // no overflow below zero
        {0, 2147483647, false, true},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Update::StartupCheckDue(c.last, kNow, c.days), c.due)
            << (kNow - c.last) << " " << c.days;
        EXPECT_EQ(Update::RecordFailedCheck(true, c.last, kNow, c.days), c.recordSilentFailure)
            << (kNow - c.last) << " " << c.days;
        // A check the user asked for that fails is never recorded.
        EXPECT_FALSE(Update::RecordFailedCheck(false, c.last, kNow, c.days));
    }
    // Near the start of the FILETIME era the subtraction would wrap.
    EXPECT_TRUE(Update::RecordFailedCheck(true, 0, 3 * kDay, 7));
    EXPECT_FALSE(Update::StartupCheckDue(0, 3 * kDay, 7));
}

TEST(UpdateRulesTest, ServerAddresses) {
    struct {
        const wchar_t* text;
        bool ok;
        const wchar_t* host;
        uint16_t port;
        bool secure;
    } cases[] = {
        // HTTPS unless the build asks for plain HTTP in so many words.
        {L"www.example.com", true, L"www.example.com", 443, true},
        {L"127.0.0.1:8123", true, L"127.0.0.1", 8123, true},
        {L"localhost:65535", true, L"localhost", 65535, true},
        {L"HTTPS://www.example.com", true, L"www.example.com", 443, true},
        {L"http://127.0.0.1:8123", true, L"127.0.0.1", 8123, false},
        {L"Http://example.org", true, L"example.org", 80, false},
        {L"", false, L"", 0, true},
        {L"http://", false, L"", 0, true},
        {L":8000", false, L"", 0, true},
        {L"host:", false, L"", 0, true},
        {L"host:0", false, L"", 0, true},
        {L"host:65536", false, L"", 0, true},
        {L"host:123456", false, L"", 0, true},
        {L"host:80a", false, L"", 0, true},
        {L"host:4294967376", false, L"", 0, true},  // 2^32 + 80 would wrap to port 80
    };
    for (const auto& c : cases) {
        const auto server = Update::ParseServer(c.text);
        ASSERT_EQ(server.has_value(), c.ok) << TestPaths::Narrow(c.text);
        if (server) {
            EXPECT_EQ(server->host, c.host);
            EXPECT_EQ(server->port, c.port);
            EXPECT_EQ(server->secure, c.secure) << TestPaths::Narrow(c.text);
        }
    }
    // The installer always comes over HTTPS from the same host, whatever port
    // the version file is served on.
    EXPECT_EQ(Update::InstallerUrl({L"127.0.0.1", 8123, false}),
              L"https://127.0.0.1/notes/zephyn3.exe");
    EXPECT_EQ(Update::InstallerUrl({L"www.example.com", 80}),
              L"https://www.example.com/notes/zephyn3.exe");
}

}  // namespace
