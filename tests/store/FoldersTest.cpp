#include "store/Folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "base/ProgramInfo.h"

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

// Puts back whatever Run value was there before the test, and nothing else.
class RunAtLogOn : public ::testing::Test {
protected:
    void SetUp() override {
        hadValue = ReadRunValue(ProgramInfo::kProductName, previous);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, ProgramInfo::kProductName);
    }
    void TearDown() override {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, kRunKeyPath, ProgramInfo::kProductName);
        if (hadValue) WriteRunValue(ProgramInfo::kProductName, previous);
    }

    bool hadValue = false;
    std::wstring previous;
};

TEST_F(RunAtLogOn, AnySpellingCountsAsOnAndSwitchingOnWritesTheExecutablePath) {
    EXPECT_FALSE(IsRunAtLogOn());
    ASSERT_TRUE(WriteRunValue(L"VELLOMAR notes 3", L"C:\\elsewhere\\old.exe"));
    EXPECT_TRUE(IsRunAtLogOn());
    ASSERT_TRUE(SetRunAtLogOn(true));
    std::wstring data;
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    EXPECT_EQ(ExecutablePath(), data);  // unquoted, as the shell expects it here

    ASSERT_TRUE(SetRunAtLogOn(false));
    EXPECT_FALSE(IsRunAtLogOn());
    EXPECT_FALSE(ReadRunValue(L"VELLOMAR notes 3", data));
    EXPECT_TRUE(SetRunAtLogOn(false));  // nothing there to remove
}

}  // namespace
