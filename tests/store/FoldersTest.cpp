#include "store/Folders_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "app/ProgramInfo.h"

namespace {

// Reads the Run value's data, if any; the name is looked up without regard to case.
bool ReadRunValue(const wchar_t* name, std::wstring& data) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_QUERY_VALUE, &key) != ERROR_SUCCESS) {
        return false;
    }
    wchar_t buffer[1024] = {};
    DWORD size = sizeof buffer - sizeof(wchar_t);
    DWORD type = 0;
    LSTATUS status =
        RegQueryValueExW(key, name, nullptr, &type, reinterpret_cast<BYTE*>(buffer), &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS || type != REG_SZ) return false;
    data = buffer;
    return true;
}

bool WriteRunValue(const wchar_t* name, const std::wstring& data) {
    HKEY key;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS) {
        return false;
    }
    LSTATUS status =
        RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

void DeleteRunValue(const wchar_t* name) {
    HKEY key;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, kRunKeyPath, 0, KEY_SET_VALUE, &key) == ERROR_SUCCESS) {
        RegDeleteValueW(key, name);
        RegCloseKey(key);
    }
}

// Puts back whatever Run value was there before the test, and nothing else.
class RunAtLogOn : public ::testing::Test {
protected:
    void SetUp() override {
        hadValue = ReadRunValue(ProgramInfo::kProductName, previous);
        DeleteRunValue(ProgramInfo::kProductName);
    }
    void TearDown() override {
        DeleteRunValue(ProgramInfo::kProductName);
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
    EXPECT_EQ(ExecutablePath(), data);
    EXPECT_EQ(std::wstring::npos, data.find(L'"'));

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
    EXPECT_FALSE(IsRunAtLogOn());
    EXPECT_FALSE(ReadRunValue(L"VELLOMAR notes 3", data));
}

TEST(Folders, AppDataFolderIsCreatedBelowTheRoamingFolder) {
    const std::wstring folder = AppDataFolder();
    const std::wstring tail = std::wstring(L"\\") + ProgramInfo::kProductName + L"\\";
    ASSERT_GT(folder.size(), tail.size());
    EXPECT_EQ(tail, folder.substr(folder.size() - tail.size()));
    DWORD attributes = GetFileAttributesW(folder.c_str());
    ASSERT_NE(INVALID_FILE_ATTRIBUTES, attributes);
    EXPECT_TRUE(attributes & FILE_ATTRIBUTE_DIRECTORY);
    // Kept for the process: a second call gives the same string.
    EXPECT_EQ(folder, AppDataFolder());

    wchar_t appData[MAX_PATH] = {};
    ASSERT_NE(0u, GetEnvironmentVariableW(L"APPDATA", appData, MAX_PATH));
    EXPECT_EQ(0, _wcsicmp((std::wstring(appData) + tail).c_str(), folder.c_str()));
}

TEST(Folders, ProgramFolderHoldsTheExecutable) {
    const std::wstring folder = ProgramFolder();
    const std::wstring exe = ExecutablePath();
    ASSERT_FALSE(folder.empty());
    EXPECT_EQ(L'\\', folder.back());
    EXPECT_EQ(0u, exe.find(folder));
    EXPECT_EQ(std::wstring::npos, exe.find(L'\\', folder.size()));
    EXPECT_NE(INVALID_FILE_ATTRIBUTES, GetFileAttributesW(exe.c_str()));
}

}  // namespace
