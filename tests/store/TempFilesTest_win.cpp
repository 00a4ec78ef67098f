// Removing the temporary files of killed saves from a real folder: which go
// and which stay, by the writer's process id and the file's time.

#include "store/TempFiles_win.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "support/TestPaths.h"
#include "store/FileIo.h"

namespace {

// Written directly: an atomic write would pass through a temporary file of
// this very process, with one of the names under test.
void Put(const std::wstring& path) {
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    DWORD written = 0;
    EXPECT_TRUE(WriteFile(file, "x", 1, &written, nullptr));
    CloseHandle(file);
}

void SetWriteTime(const std::wstring& path, const FILETIME& time) {
    HANDLE file = CreateFileW(path.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE);
    EXPECT_TRUE(SetFileTime(file, nullptr, nullptr, &time));
    CloseHandle(file);
}

// The id of a process that has ended: a child started and waited for.
DWORD EndedProcessId() {
    wchar_t command[] = L"cmd.exe /c exit 0";
    STARTUPINFOW startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, command, nullptr, nullptr, FALSE, CREATE_NO_WINDOW, nullptr,
                        nullptr, &startup, &process))
        return 0;
    WaitForSingleObject(process.hProcess, 10000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return process.dwProcessId;
}

TEST(TempFilesWin, StaleTemporaryFilesGoAndAWriteThatMayBeGoingOnStays) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring own = std::to_wstring(GetCurrentProcessId());
    const DWORD ended = EndedProcessId();
    ASSERT_NE(ended, 0u);
    FILETIME started = {}, unused[3] = {};
    ASSERT_TRUE(GetProcessTimes(GetCurrentProcess(), &started, &unused[0], &unused[1], &unused[2]));
    ULARGE_INTEGER before = {};
    before.LowPart = started.dwLowDateTime;
    before.HighPart = started.dwHighDateTime;
    before.QuadPart -= 10000000ull * 3600;  // an hour before this process started
    const FILETIME old = {before.LowPart, before.HighPart};

    struct {
        std::wstring name;
        bool old;
        bool stays;
    } cases[] = {
        {L"Notes.dat.tmp-" + std::to_wstring(ended), false, false},  // killed writer
        {L"Settings.ini.tmp-" + std::to_wstring(ended), false, false},
        {L"Notes.dat.tmp-" + own, true, false},  // an earlier process with this id
        {L"Notes.dat.tmp-" + own, false, true},  // written now: a save going on
        {L"Notes.dat", true, true},
        {L"Notes.dat.tmp-x1", true, true},
        {L"Notes.dat.bak", true, true},
    };
    // Same name twice: the fresh one is written after the old one is checked.
    for (size_t i = 0; i < std::size(cases); ++i) {
        const auto& c = cases[i];
        if (i == 3) continue;
        const std::wstring path = dir + c.name;
        Put(path);
        if (c.old) SetWriteTime(path, old);
    }
    EXPECT_EQ(3u, RemoveStaleTempFiles(dir));
    Put(dir + cases[3].name);
    EXPECT_EQ(0u, RemoveStaleTempFiles(dir)) << "a fresh file of a running process stays";

    std::vector<std::wstring> left = FileIo::ListFiles(dir);
    std::sort(left.begin(), left.end());
    std::vector<std::wstring> expected;
    for (const auto& c : cases) {
        if (c.stays) expected.push_back(c.name);
    }
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(expected, left);
}

}  // namespace
