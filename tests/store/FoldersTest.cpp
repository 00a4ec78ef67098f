#include "store/Folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/ProgramInfo.h"
#include "support/TestPaths.h"

namespace {

// The Run value's data as the registry holds it; value names compare without case.
bool ReadRunValue(const wchar_t* name, std::wstring& data) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    const LONG result =
        RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, name, RRF_RT_REG_SZ, nullptr, buffer, &size);
    if (result == ERROR_SUCCESS) data = buffer;
    return result == ERROR_SUCCESS;
}

bool WriteRunValue(const wchar_t* name, const std::wstring& data) {
    return RegSetKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, name, REG_SZ, data.c_str(),
                           static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t))) ==
           ERROR_SUCCESS;
}

bool UnderWine() {
    return GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "wine_get_version") != nullptr;
}

// The process's HKEY_CURRENT_USER is redirected to a private hive in a scratch
// file, so that a run on a real desktop leaves the user's registry alone. Where
// the system cannot do that, the test runs only in Wine's throwaway prefix.
class RunAtLogOn : public ::testing::Test {
protected:
    void SetUp() override {
        const std::wstring hive = TestPaths::MakeScratchDir() + L"user.dat";
        if (RegLoadAppKeyW(hive.c_str(), &scratch, KEY_ALL_ACCESS, 0, 0) == ERROR_SUCCESS &&
            RegOverridePredefKey(HKEY_CURRENT_USER, scratch) == ERROR_SUCCESS) {
            return;
        }
        if (!UnderWine()) GTEST_SKIP() << "HKEY_CURRENT_USER cannot be redirected";
    }
    void TearDown() override {
        RegOverridePredefKey(HKEY_CURRENT_USER, nullptr);
        if (scratch) RegCloseKey(scratch);
    }

    HKEY scratch = nullptr;
};

TEST_F(RunAtLogOn, AnySpellingCountsAsOnAndSwitchingOnWritesTheQuotedExecutablePath) {
    EXPECT_FALSE(IsRunAtLogOn());
    ASSERT_TRUE(WriteRunValue(L"VELLOMAR notes 3", L"C:\\elsewhere\\old.exe"));
    EXPECT_TRUE(IsRunAtLogOn());
    std::wstring data;
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    EXPECT_EQ(data, L"C:\\elsewhere\\old.exe") << "another program's path is left as it is";
    ASSERT_TRUE(SetRunAtLogOn(true));
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    // Unquoted, a path with blanks would start "C:\Program.exe" first.
    EXPECT_EQ(L"\"" + ExecutablePath() + L"\"", data);

    // An older version's unquoted entry for this program is the same setting,
    // and is given its quotes when read.
    ASSERT_TRUE(WriteRunValue(ProgramInfo::kProductName, L" " + ExecutablePath()));
    EXPECT_TRUE(IsRunAtLogOn());
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    EXPECT_EQ(L"\"" + ExecutablePath() + L"\"", data);

    ASSERT_TRUE(SetRunAtLogOn(false));
    EXPECT_FALSE(IsRunAtLogOn());
    EXPECT_FALSE(ReadRunValue(L"VELLOMAR notes 3", data));
    EXPECT_TRUE(SetRunAtLogOn(false));  // nothing there to remove
}

}  // namespace
