#include "store/Folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/ProgramInfo.h"

namespace {

// The Run value's data as the registry holds it; value names compare without case.
bool ReadRunValue(const wchar_t* name, std::wstring& data) {
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer;
    if (RegGetValueW(HKEY_CURRENT_USER, kRunKeyPath, name, RRF_RT_REG_SZ, nullptr, buffer, &size) !=
        ERROR_SUCCESS) {
        return false;
    }
    data = buffer;
    return true;
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

TEST_F(RunAtLogOn, SwitchesOnWithTheExecutablePathAndOffAgain) {
    EXPECT_FALSE(IsRunAtLogOn());
    ASSERT_TRUE(SetRunAtLogOn(true));
    EXPECT_TRUE(IsRunAtLogOn());
    std::wstring data;
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    EXPECT_EQ(ExecutablePath(), data);  // unquoted, as the shell expects it here

    ASSERT_TRUE(SetRunAtLogOn(false));
    EXPECT_FALSE(IsRunAtLogOn());
    EXPECT_TRUE(SetRunAtLogOn(false));  // nothing there to remove
}

TEST_F(RunAtLogOn, AnySpellingAndAnyPathCountAsOn) {
    ASSERT_TRUE(WriteRunValue(L"VELLOMAR notes 3", L"C:\\elsewhere\\old.exe"));
    EXPECT_TRUE(IsRunAtLogOn());
    // Applying the setting puts the current path in place.
    ASSERT_TRUE(SetRunAtLogOn(true));
    std::wstring data;
    ASSERT_TRUE(ReadRunValue(ProgramInfo::kProductName, data));
    EXPECT_EQ(ExecutablePath(), data);
    ASSERT_TRUE(SetRunAtLogOn(false));
    EXPECT_FALSE(ReadRunValue(L"VELLOMAR notes 3", data));
}

TEST(Folders, DataBelowTheRoamingFolderAndProgramBesideTheExecutable) {
    wchar_t appData[MAX_PATH] = {};
    ASSERT_NE(0u, GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
    const std::wstring data = AppDataFolder();
    const std::wstring expected = std::wstring(appData) + L"\\" + ProgramInfo::kProductName + L"\\";
    EXPECT_EQ(0, _wcsicmp(expected.c_str(), data.c_str()));
    const DWORD attributes = GetFileAttributesW(data.c_str());
    EXPECT_TRUE(attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY));

    const std::wstring folder = ProgramFolder();
    const std::wstring exe = ExecutablePath();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    EXPECT_EQ(0u, exe.find(folder));
    EXPECT_EQ(std::wstring::npos, exe.find(L'\\', folder.size()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str()));
}

}  // namespace
