// One instance per user, checked between real processes: this test holds the
// user's instance lock and plays the running instance's main window while the
// program is started again beside it.

#include "app/SingleInstance_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "support/MessagePump_win.h"

namespace {

struct Received {
    int count = 0;
    WPARAM wParam = 1;
    ULONG_PTR marker = 0;
    std::vector<unsigned char> bytes;
} received;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const unsigned char*>(data->lpData);
    received = {received.count + 1, wParam, data->dwData, {bytes, bytes + data->cbData}};
    return TRUE;
}

// A stand-in for the running instance's main window (or, without title, a note).
HWND MakeReceiver(const wchar_t* title) {
    WNDCLASSEXW windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = ReceiverProc;
    windowClass.lpszClassName = kMainWindowClass;
    RegisterClassExW(&windowClass);  // fails harmlessly after the first time
    received = Received();
    return CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, title, WS_POPUP, 0, 0, 1, 1, nullptr,
                           nullptr, nullptr, nullptr);
}

// Starts the program built beside this test and waits for it while serving the
// messages it sends; its exit code, or STILL_ACTIVE when it did not end in time.
std::wstring ProgramBeside() {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::wstring self = path;
    return self.substr(0, self.find_last_of(L"\\/") + 1) + L"Zephyn3.exe";
}

// `line` is the whole command line; by default the program's quoted path and
// the arguments.
DWORD RunProgram(const std::wstring& arguments, std::wstring line = std::wstring()) {
    if (line.empty()) line = L"\"" + ProgramBeside() + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process)) {
        ADD_FAILURE() << "cannot start the program: " << GetLastError();
        return STILL_ACTIVE;
    }
    PumpUntil([&] { return WaitForSingleObject(process.hProcess, 0) == WAIT_OBJECT_0; }, 20000);
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

}  // namespace

TEST(SingleInstance, SecondStartHandsOverItsCleanedPathAsUtf16AndEnds) {
    InstanceLock running(InstanceMutexName(CurrentUserName()));
    ASSERT_TRUE(running.IsFirst()) << "an instance of the program is running";
    HWND mainWindow = MakeReceiver(kMainWindowTitle);
    EXPECT_EQ(RunProgram(L"\"C:\\My Notes\\it's \u00DCber \u65E5.txt\""), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.marker, 1102217u);
    EXPECT_EQ(received.wParam, 0u);
    const std::wstring expected = L"C:\\My Notes\\its \u00DCber \u65E5.txt";
    std::vector<unsigned char> bytes;
    for (wchar_t c : expected + L'\0')
        bytes.insert(bytes.end(),
                     {static_cast<unsigned char>(c & 0xFF), static_cast<unsigned char>(c >> 8)});
    EXPECT_EQ(received.bytes, bytes);

    // Nothing to hand over: the second start sends nothing.
    for (const wchar_t* arguments : {L"", L"\"\"", L"'"}) {
        EXPECT_EQ(RunProgram(arguments), 0u) << arguments;
        EXPECT_EQ(received.count, 1) << arguments;
    }
    // Started as an unquoted Run value starts it, from a folder with blanks in
    // its name: the rest of its own path is no file to hand over.
    wchar_t temp[MAX_PATH] = {};
    GetTempPathW(MAX_PATH, temp);
    const std::wstring folder =
        std::wstring(temp) + L"Vellomar Notes " + std::to_wstring(GetCurrentProcessId());
    const std::wstring copy = folder + L"\\Zephyn3.exe";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CopyFileW(ProgramBeside().c_str(), copy.c_str(), FALSE));
    EXPECT_EQ(RunProgram(L"", copy), 0u);
    EXPECT_EQ(received.count, 1) << "handed over: " << received.bytes.size() / 2 - 1 << " units";
    EXPECT_EQ(RunProgram(L"", copy + L" C:\\x y.txt"), 0u);
    ASSERT_EQ(received.count, 2);
    EXPECT_EQ(received.bytes.size(), 2 * std::wstring(L"C:\\x y.txt").size() + 2);
    DeleteFileW(copy.c_str());
    RemoveDirectoryW(folder.c_str());

    DestroyWindow(mainWindow);
    // A note shares the class but has no title; with no main window the second
    // start ends without sending anything.
    HWND note = MakeReceiver(L"");
    EXPECT_EQ(RunProgram(L"C:\\a.txt"), 0u);
    EXPECT_EQ(received.count, 0);
    DestroyWindow(note);
}
