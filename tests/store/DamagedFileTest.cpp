// Files the program cannot use: read no further than needed, judged, and kept
// aside as dated backups instead of being read for ever or overwritten.

#include "store/DamagedFile.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/IniFile.h"
#include "store/SettingsStore.h"

namespace {

const SystemTimeData kNow = {2026, 12, 1, 7, 9, 8, 7, 0};
const wchar_t kBackupName[] = L"Settings.ini.2026-12-07-090807.bak";

std::string Utf16(const std::string& ascii, bool bigEndian = false) {
    std::string out = bigEndian ? "\xFE\xFF" : "\xFF\xFE";
    for (char c : ascii) out += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return out;
}

TEST(DamagedFile, ReadFilePrefixStopsAtTheLimitAndTellsTheWholeSize) {
    const std::wstring path = TestPaths::MakeScratchDir() + L"f";
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, std::string(1000, 'x') + "end"));
    const struct {
        size_t limit;
        size_t expected;
    } cases[] = {{0, 0}, {10, 10}, {1003, 1003}, {1 << 20, 1003}};
    for (const auto& c : cases) {
        std::string bytes = "stale";
        uint64_t size = 0;
        ASSERT_TRUE(FileIo::ReadFilePrefix(path, c.limit, bytes, size)) << c.limit;
        EXPECT_EQ(1003u, size) << c.limit;
        EXPECT_EQ(c.expected, bytes.size()) << c.limit;
    }
    std::string bytes = "kept";
    uint64_t size = 7;
    EXPECT_FALSE(FileIo::ReadFilePrefix(path + L"-missing", 10, bytes, size));
    EXPECT_EQ("kept", bytes);
}

TEST(DamagedFile, IniHealthFromSizeAndText) {
    std::string binary;
    for (int i = 0; i < 512; ++i) binary += static_cast<char>(i * 37 + 11);
    const struct {
        const char* what;
        std::string bytes;
        IniFileHealth health;
    } cases[] = {
        {"ANSI", "[Settings]\r\nSnapSize=8\r\n", IniFileHealth::Text},
        {"UTF-16LE", Utf16("[Settings]\r\nSnapSize=8\r\n"), IniFileHealth::Text},
        {"UTF-16BE", Utf16("[Settings]\r\nSnapSize=8\r\n", true), IniFileHealth::Text},
        {"UTF-8 with a stray control", "[a]\r\nb=\x01\xC3\xA4" + std::string(200, 'c'),
         IniFileHealth::Text},
        {"empty", "", IniFileHealth::Text},
        {"random bytes", binary, IniFileHealth::NotText},
        {"UTF-16 without its mark", Utf16("[a]\r\nb=c\r\n").substr(2), IniFileHealth::NotText},
        {"text past the cap", "[a]\r\n" + std::string(kMaxIniFileBytes, ';'),
         IniFileHealth::TooLarge},
        {"text of exactly the cap", "[a]\r\n" + std::string(kMaxIniFileBytes - 5, ';'),
         IniFileHealth::Text},
        {"one byte past the cap", "[a]\r\n" + std::string(kMaxIniFileBytes - 4, ';'),
         IniFileHealth::TooLarge},
    };
    const std::wstring dir = TestPaths::MakeScratchDir();
    for (const auto& c : cases) {
        const std::wstring path = dir + TestPaths::Widen(c.what) + L".ini";
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, c.bytes)) << c.what;
        EXPECT_EQ(c.health, CheckIniFile(path)) << c.what;
    }
    EXPECT_EQ(IniFileHealth::Missing, CheckIniFile(dir + L"none.ini"));
}

TEST(DamagedFile, OversizedIniReadsAsMissingAndIsNeverRewritten) {
    const std::wstring path = TestPaths::MakeScratchDir() + L"Huge.ini";
    const std::string huge = "[Settings]\r\nSnapSize=8\r\n" + std::string(kMaxIniFileBytes, ';');
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, huge));
    SettingsStore store(path);
    int32_t snap = 5;
    EXPECT_FALSE(store.ReadInt(L"/Settings/SnapSize", snap));
    EXPECT_EQ(5, snap);
    EXPECT_FALSE(store.WriteInt(L"/Settings/SnapSize", 9));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(path, bytes));
    EXPECT_EQ(huge, bytes);
}

TEST(DamagedFile, DamagedSettingsAreKeptAsADatedBackupAndTheStoreStartsAfresh) {
    std::string binary(4096, '\0');
    for (size_t i = 0; i < binary.size(); ++i) binary[i] = static_cast<char>(i * 7919 >> 3);
    const struct {
        const char* what;
        std::string bytes;
        bool setAside;
    } cases[] = {
        {"binary", binary, true},
        {"huge", "[Settings]\r\n" + std::string(kMaxIniFileBytes + 1, 'x'), true},
        {"good", "[Settings]\r\nSnapSize=8\r\n", false},
    };
    for (const auto& c : cases) {
        const std::wstring dir = TestPaths::MakeScratchDir();
        const std::wstring path = dir + L"Settings.ini";
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, c.bytes));
        EXPECT_EQ(c.setAside, SetAsideDamagedIni(path, kNow)) << c.what;
        std::string kept;
        if (c.setAside) {
            EXPECT_FALSE(FileIo::FileExists(path)) << c.what;
            ASSERT_TRUE(FileIo::ReadFile(dir + kBackupName, kept)) << c.what;
            EXPECT_EQ(c.bytes, kept) << c.what;
            SettingsStore store(path);
            EXPECT_TRUE(store.WriteInt(L"/Settings/SnapSize", 9)) << c.what;
        } else {
            EXPECT_FALSE(FileIo::FileExists(dir + kBackupName)) << c.what;
            ASSERT_TRUE(FileIo::ReadFile(path, kept));
            EXPECT_EQ(c.bytes, kept) << c.what;
        }
    }
}

TEST(DamagedFile, ASecondDamagedFileTheSameSecondGetsItsOwnBackup) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring path = dir + L"Settings.ini";
    for (const char* content : {"first\x01\x02\x03\x04", "second\x01\x02\x03\x04"}) {
        ASSERT_TRUE(FileIo::WriteFileAtomically(path, std::string(content) + std::string(2, '\0')));
        EXPECT_TRUE(SetAsideDamagedIni(path, kNow));
    }
    std::string first, second;
    ASSERT_TRUE(FileIo::ReadFile(dir + kBackupName, first));
    ASSERT_TRUE(FileIo::ReadFile(dir + L"Settings.ini.2026-12-07-090807-2.bak", second));
    EXPECT_EQ(0u, first.find("first"));
    EXPECT_EQ(0u, second.find("second"));
}

TEST(DamagedFile, AMissingFileIsNothingToSetAside) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    EXPECT_FALSE(SetAsideDamagedIni(dir + L"Settings.ini", kNow));
    EXPECT_FALSE(SetFileAside(dir + L"Settings.ini", kNow));
}

}  // namespace
