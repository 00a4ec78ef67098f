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
};

Received received;

LRESULT CALLBACK ReceiverProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_COPYDATA) {
        const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
        ++received.count;
        received.wParam = wParam;
        received.marker = data->dwData;
        const auto* bytes = static_cast<const unsigned char*>(data->lpData);
        received.bytes.assign(bytes, bytes + data->cbData);
        if (auto path = HandleCopyData(data)) received.path = *path;
        return TRUE;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

// A stand-in for the running instance's main window (or, without title, a note).
class Receiver {
public:
    explicit Receiver(const wchar_t* title) {
        static bool registered = false;
        if (!registered) {
            WNDCLASSEXW windowClass = {};
            windowClass.cbSize = sizeof(windowClass);
            windowClass.lpfnWndProc = ReceiverProc;
            windowClass.hInstance = GetModuleHandleW(nullptr);
            windowClass.lpszClassName = kMainWindowClass;
            registered = RegisterClassExW(&windowClass) != 0;
        }
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

// A program built beside this test.
std::wstring BesideMe(const wchar_t* name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring folder(path);
    folder.resize(folder.find_last_of(L"\\/") + 1);
    return folder + name;
}

PROCESS_INFORMATION StartProgram(const std::wstring& program, const std::wstring& arguments) {
    std::wstring line = L"\"" + program + L"\" " + arguments;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                        &process))
        ADD_FAILURE() << "cannot start the program: " << GetLastError();
    return process;
}

PROCESS_INFORMATION StartHelper(const std::wstring& mutexName, const std::wstring& arguments,
                                const std::wstring& hold = L"") {
    SetEnvironmentVariableW(L"VN_TEST_MUTEX", mutexName.c_str());
    SetEnvironmentVariableW(L"VN_TEST_HOLD", hold.empty() ? nullptr : hold.c_str());
    return StartProgram(BesideMe(L"app_instance_helper.exe"), arguments);
}

// Waits for the helper while serving the messages it sends; its exit code, or
// STILL_ACTIVE when it did not end in time.
DWORD Finish(PROCESS_INFORMATION& process, DWORD timeoutMs = 20000) {
    if (!process.hProcess) return STILL_ACTIVE;
    const DWORD deadline = GetTickCount() + timeoutMs;
    for (;;) {
        const DWORD now = GetTickCount();
        const DWORD left = now < deadline ? deadline - now : 0;
        const DWORD result =
            MsgWaitForMultipleObjects(1, &process.hProcess, FALSE, left, QS_ALLINPUT);
        if (result != WAIT_OBJECT_0 + 1) break;
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    DWORD code = STILL_ACTIVE;
    GetExitCodeProcess(process.hProcess, &code);
    if (code == STILL_ACTIVE) TerminateProcess(process.hProcess, 99);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    process = PROCESS_INFORMATION();
    return code;
}

DWORD RunHelper(const std::wstring& mutexName, const std::wstring& arguments) {
    PROCESS_INFORMATION process = StartHelper(mutexName, arguments);
    return Finish(process);
}

}  // namespace

TEST(SingleInstance, SecondStartHandsOverItsCleanedPath) {
    const std::wstring name = UniqueName(L"handover");
    InstanceLock running(name);
    ASSERT_TRUE(running.IsFirst());
    Receiver mainWindow(kMainWindowTitle);

    EXPECT_EQ(RunHelper(name, L"\"C:\\My Notes\\it's.txt\""), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.marker, 1102217u);
    EXPECT_EQ(received.wParam, 0u);
    const std::wstring expected = L"C:\\My Notes\\its.txt";
    ASSERT_EQ(received.bytes.size(), (expected.size() + 1) * 2);
    EXPECT_EQ(received.bytes[received.bytes.size() - 2], 0);
    EXPECT_EQ(received.bytes[received.bytes.size() - 1], 0);
    EXPECT_EQ(received.path, expected);

    // Characters outside ASCII travel as UTF-16.
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

    PROCESS_INFORMATION second = StartProgram(BesideMe(L"Zephyn3.exe"), L"\"C:\\it's.txt\"");
    EXPECT_EQ(Finish(second), 0u);
    ASSERT_EQ(received.count, 1);
    EXPECT_EQ(received.marker, kHandOverMarker);
    EXPECT_EQ(received.path, L"C:\\its.txt");

    received = Received();
    PROCESS_INFORMATION bare = StartProgram(BesideMe(L"Zephyn3.exe"), L"");
    EXPECT_EQ(Finish(bare), 0u);
    EXPECT_EQ(received.count, 0);
}

TEST(SingleInstance, SecondStartWithoutPathSendsNothing) {
    const std::wstring name = UniqueName(L"empty");
    InstanceLock running(name);
    Receiver mainWindow(kMainWindowTitle);
    for (const wchar_t* arguments : {L"", L"\"\"", L"'"}) {
        EXPECT_EQ(RunHelper(name, arguments), 0u) << arguments;
        EXPECT_EQ(received.count, 0) << arguments;
    }
}

TEST(SingleInstance, OnlyTheTitledMainWindowIsAddressed) {
    const std::wstring name = UniqueName(L"notes");
    InstanceLock running(name);
    // A note shares the class but has no title; with no main window the second
    // start ends without sending anything.
    Receiver note(L"");
    EXPECT_EQ(RunHelper(name, L"C:\\a.txt"), 0u);
    EXPECT_EQ(received.count, 0);
}

TEST(SingleInstance, FirstStartKeepsItsCommandLine) {
    Receiver mainWindow(kMainWindowTitle);
    EXPECT_EQ(RunHelper(UniqueName(L"first"), L"C:\\a.txt"), kHelperFirst);
    EXPECT_EQ(received.count, 0);
}

TEST(SingleInstance, LockIsPerUserNameAndEndsWithItsHolder) {
    const std::wstring alice = InstanceMutexName(UniqueName(L"alice"));
    const std::wstring bob = InstanceMutexName(UniqueName(L"bob"));
    const std::wstring hold = UniqueName(L"hold");
    HANDLE release = CreateEventW(nullptr, TRUE, FALSE, hold.c_str());
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (hold + L".ready").c_str());

    PROCESS_INFORMATION holder = StartHelper(alice, L"", hold);
    ASSERT_EQ(WaitForSingleObject(ready, 20000), WAIT_OBJECT_0);
    {
        InstanceLock sameUser(alice);
        EXPECT_FALSE(sameUser.IsFirst());
        InstanceLock otherUser(bob);
        EXPECT_TRUE(otherUser.IsFirst());
    }
    SetEvent(release);
    EXPECT_EQ(Finish(holder), kHelperFirst);
    InstanceLock afterHolder(alice);
    EXPECT_TRUE(afterHolder.IsFirst());
    EXPECT_EQ(InstanceMutexName(L"Jo"), L"Zephyn3_Jo_SingleInstance");
    CloseHandle(ready);
    CloseHandle(release);
}

// Other programs may send WM_COPYDATA too; the bytes of a hand-over are read
// only as far as cbData says (the decoding itself is tested with the payload).
TEST(SingleInstance, HandleCopyDataTakesOnlyHandOvers) {
    wchar_t unterminated[3] = {L'a', L'b', L'c'};
    COPYDATASTRUCT handOver = {kHandOverMarker, 5, unterminated};
    EXPECT_EQ(HandleCopyData(&handOver), std::optional<std::wstring>(L"ab"));
    COPYDATASTRUCT nothing = {kHandOverMarker, 8, nullptr};
    EXPECT_EQ(HandleCopyData(&nothing), std::optional<std::wstring>(L""));
    COPYDATASTRUCT other = {kHandOverMarker + 1, 6, unterminated};
    EXPECT_FALSE(HandleCopyData(&other).has_value());
    EXPECT_FALSE(HandleCopyData(nullptr).has_value());
}

TEST(SingleInstance, SendHandOverToAMissingWindowFails) {
    EXPECT_FALSE(SendHandOver(nullptr, L"C:\\a.txt"));
    Receiver gone(kMainWindowTitle);
    HWND stale = gone.window;
    DestroyWindow(gone.window);
    EXPECT_FALSE(SendHandOver(stale, L"C:\\a.txt"));
}
