#include "store/RecycleBin_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include "support/MessagePump_win.h"
#include "support/TestPaths.h"
#include "store/FileIo.h"

namespace {

struct FoundWindow {
    const wchar_t* part;
    HWND window;
};

// A shown top-level window whose caption holds the given text.
HWND WindowWithCaption(const wchar_t* part) {
    FoundWindow found = {part, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL {
            auto* f = reinterpret_cast<FoundWindow*>(data);
            wchar_t caption[512] = {};
            GetWindowTextW(window, caption, 512);
            if (IsWindowVisible(window) && wcsstr(caption, f->part)) {
                f->window = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&found));
    return found.window;
}

// A bin named like a batch file whose text is a command: opened by its own
// extension, the shell would run it and the marker file would appear.
TEST(RecycleBinOpen, ABinNamedLikeAScriptIsShownAsTextAndNeverRun) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const std::wstring marker = dir + L"ran.txt";
    const std::wstring bin = dir + L"Recycle Bin.cmd";
    ASSERT_TRUE(FileIo::WriteFileAtomically(
        bin, "echo ran> \"" + TestPaths::Narrow(marker) + "\"\r\nexit\r\n"));

    ASSERT_TRUE(RecycleBin::OpenAsTextFile(bin));
    HWND editor = nullptr;
    PumpUntil(
        [&] {
            editor = WindowWithCaption(L"Recycle Bin.cmd");
            return editor != nullptr || FileIo::FileExists(marker);
        },
        15000);
    ASSERT_NE(editor, nullptr) << "nothing shows the bin";
    // A console that runs the script carries its name in the caption too.
    wchar_t className[64] = {};
    GetClassNameW(editor, className, 64);
    EXPECT_STRNE(className, L"ConsoleWindowClass") << "the bin's text was run as a script";
    PumpUntil([&] { return FileIo::FileExists(marker); }, 1500);
    EXPECT_FALSE(FileIo::FileExists(marker)) << "the bin's text was run as a script";

    DWORD process = 0;
    GetWindowThreadProcessId(editor, &process);
    PostMessageW(editor, WM_CLOSE, 0, 0);
    if (HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_TERMINATE, FALSE, process)) {
        if (WaitForSingleObject(handle, 5000) != WAIT_OBJECT_0) TerminateProcess(handle, 0);
        CloseHandle(handle);
    }
    EXPECT_FALSE(FileIo::FileExists(marker));
}

}  // namespace
