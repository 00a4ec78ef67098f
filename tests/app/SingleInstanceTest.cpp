// One instance per user, checked between real processes: the helper beside
// this test plays the second start of the program.

#include "app/SingleInstance_win.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

constexpr DWORD kHelperFirst = 3;

struct Received {
    int count = 0;
    WPARAM wParam = 1;
    ULONG_PTR marker = 0;
    std::vector<unsigned char> bytes;
    std::wstring path;
} received;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message != WM_COPYDATA) return DefWindowProcW(window, message, wParam, lParam);
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    const auto* bytes = static_cast<const unsigned char*>(data->lpData);
    received = {received.count + 1, wParam, data->dwData, {bytes, bytes + data->cbData}};
    if (auto path = HandleCopyData(data)) received.path = *path;
    return TRUE;
}

// A stand-in for the running instance's main window (or, without title, a note).
struct Receiver {
    explicit Receiver(const wchar_t* title) {
        WNDCLASSEXW windowClass = {sizeof(windowClass), 0, ReceiverProc};
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kMainWindowClass;
        RegisterClassExW(&windowClass);  // fails harmlessly after the first time
        window = CreateWindowExW(WS_EX_TOOLWINDOW, kMainWindowClass, title, WS_POPUP, 0, 0, 1, 1,
                                 nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
        received = Received();
    }
    ~Receiver() { DestroyWindow(window); }
    HWND window;
};

std::wstring UniqueName(const wchar_t* what) {
    static int counter = 0;
    return std::wstring(L"vn-test-") + what + L"-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
           std::to_wstring(++counter);
}

// Starts a program built beside this test; the mutex and hold names reach the helper.
PROCESS_INFORMATION Start(const wchar_t* name, const std::wstring& arguments,
                          const std::wstring& mutexName = L"", const std::wstring& hold = L"") {
    SetEnvironmentVariableW(L"VN_TEST_MUTEX", mutexName.empty() ? nullptr : mutexName.c_str());
    SetEnvironmentVariableW(L"VN_TEST_HOLD", hold.empty() ? nullptr : hold.c_str());
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring line = path;
    line = L"\"" + line.substr(0, line.find_last_of(L"\\/") + 1) + name + L"\" " + arguments;
    STARTUPINFOW startup = {sizeof(startup)};
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        ADD_FAILURE() << "cannot start the program: " << GetLastError();
    return process;
}

// Waits for the process while serving the messages it sends; its exit code, or
// STILL_ACTIVE when it did not end in time.
DWORD Finish(PROCESS_INFORMATION process) {
    if (!process.hProcess) return STILL_ACTIVE;
    const DWORD deadline = GetTickCount() + 20000;
    for (;;) {
        const LONG left = static_cast<LONG>(deadline - GetTickCount());
        if (MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left > 0 ? left : 0,
                                      QS_ALLINPUT) != WAIT_OBJECT_0 + 1)
            break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return code;
}

DWORD RunHelper(const std::wstring& mutexName, const std::wstring& arguments) {
    return Finish(Start(L"app_instance_helper.exe", arguments, mutexName));
}

}  // namespace

TEST(SingleInstance, SecondStartHandsOverItsCleanedPathAsUtf16) {
    const std::wstring name = UniqueName(L"handover");
    InstanceLock running(name);
    ASSERT_TRUE(running.IsFirst());
    Receiver mainWindow(kMainWindowTitle);

    EXPECT_EQ(RunHelper(name, L"\"C:\\My Notes\\it's.txt\""), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.marker, 1102217u);
    EXPECT_EQ(received.wParam, 0u);
    const std::wstring expected = L"C:\\My Notes\\its.txt";
    std::vector<unsigned char> bytes;
    for (wchar_t c : expected + L'\0')
        bytes.insert(bytes.end(), {static_cast<unsigned char>(c), 0});
    EXPECT_EQ(received.bytes, bytes);
    EXPECT_EQ(received.path, expected);

    received = Received();
    EXPECT_EQ(RunHelper(name, L"C:\\\u00DCber\\\u65E5\u672C.txt"), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.path, L"C:\\\u00DCber\\\u65E5\u672C.txt");
}

// The program itself, started while an instance of this user runs.
TEST(SingleInstance, ProgramStartedAgainHandsOverAndEnds) {
    InstanceLock running(InstanceMutexName(CurrentUserName()));
    ASSERT_TRUE(running.IsFirst()) << "an instance of the program is running";
    Receiver mainWindow(kMainWindowTitle);
    EXPECT_EQ(Finish(Start(L"Zephyn3.exe", L"\"C:\\it's.txt\"")), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.marker, kHandOverMarker);
    EXPECT_EQ(received.path, L"C:\\its.txt");

    received = Received();
    EXPECT_EQ(Finish(Start(L"Zephyn3.exe", L"")), 0u);
    EXPECT_EQ(received.count, 0);
}

TEST(SingleInstance, NothingIsSentWithoutPathOrMainWindow) {
    const std::wstring name = UniqueName(L"empty");
    InstanceLock running(name);
    {
        Receiver mainWindow(kMainWindowTitle);
        for (const wchar_t* arguments : {L"", L"\"\"", L"'"}) {
            EXPECT_EQ(RunHelper(name, arguments), 0u) << arguments;
            EXPECT_EQ(received.count, 0) << arguments;
        }
        // A first start keeps its command line.
        EXPECT_EQ(RunHelper(UniqueName(L"first"), L"C:\\a.txt"), kHelperFirst);
        EXPECT_EQ(received.count, 0);
    }
    // A note shares the class but has no title; with no main window the second
    // start ends without sending anything.
    Receiver note(L"");
    EXPECT_EQ(RunHelper(name, L"C:\\a.txt"), 0u);
    EXPECT_EQ(received.count, 0);
}

TEST(SingleInstance, LockIsPerUserNameAndEndsWithItsHolder) {
    const std::wstring alice = InstanceMutexName(UniqueName(L"alice"));
    const std::wstring hold = UniqueName(L"hold");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, hold.c_str());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (hold + L".ready").c_str());

    PROCESS_INFORMATION holder = Start(L"app_instance_helper.exe", L"", alice, hold);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    EXPECT_FALSE(InstanceLock(alice).IsFirst());
    EXPECT_TRUE(InstanceLock(InstanceMutexName(UniqueName(L"bob"))).IsFirst());
    SetEvent(release);
    EXPECT_EQ(Finish(holder), kHelperFirst);
    EXPECT_TRUE(InstanceLock(alice).IsFirst());
    EXPECT_EQ(InstanceMutexName(L"Jo"), L"Zephyn3_Jo_SingleInstance");
    CloseHandle(ready);
    CloseHandle(release);
}

// Other programs may send WM_COPYDATA too; the bytes of a hand-over are read
// only as far as cbData says, and a window that is gone gets nothing.
TEST(SingleInstance, CopyDataIsBoundedAndOnlyHandOversCount) {
    wchar_t unterminated[3] = {L'a', L'b', L'c'};
    COPYDATASTRUCT handOver = {kHandOverMarker, 5, unterminated};
    EXPECT_EQ(HandleCopyData(&handOver), std::optional<std::wstring>(L"ab"));
    COPYDATASTRUCT nothing = {kHandOverMarker, 8, nullptr};
    EXPECT_EQ(HandleCopyData(&nothing), std::optional<std::wstring>(L""));
    COPYDATASTRUCT other = {kHandOverMarker + 1, 6, unterminated};
    EXPECT_FALSE(HandleCopyData(&other).has_value());
    EXPECT_FALSE(HandleCopyData(nullptr).has_value());

    EXPECT_FALSE(SendHandOver(nullptr, L"C:\\a.txt"));
    HWND stale = Receiver(kMainWindowTitle).window;
    EXPECT_FALSE(SendHandOver(stale, L"C:\\a.txt"));
}
