#pragma once
// One running instance per user name. A second start hands its command line to
// the main window of the running instance with WM_COPYDATA and ends.

#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "base/Handles_win.h"

// dwData of the WM_COPYDATA that carries a handed-over command line.
constexpr ULONG_PTR kHandOverMarker = 1102217;

// The running instance is found by the class and title of its main window;
// note windows share the class but have no title.
constexpr const wchar_t* kMainWindowClass = L"Zephyn3 SmallWindow";
constexpr const wchar_t* kMainWindowTitle = L"Vellomar Notes 3";

// The name of the current user as GetUserNameW gives it; empty when unknown.
std::wstring CurrentUserName();

// "Zephyn3_" + user name + "_SingleInstance".
std::wstring InstanceMutexName(const std::wstring& userName);

// Holds the named mutex for its lifetime (through every restart of the
// application, until the process ends).
class InstanceLock {
public:
    explicit InstanceLock(const std::wstring& mutexName);
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process already holds a mutex of this name; the
    // handle has then been closed again.
    bool IsFirst() const { return first; }

private:
    KernelHandle mutex;
    bool first = true;
};

// The main window of the running instance, or null.
HWND FindRunningMainWindow();

// Sends `payload` to the given window as WM_COPYDATA of the kind `marker`.
// False when the window did not take the message (none, gone, or hung for
// longer than the hand-over's timeout).
bool SendCopyData(HWND target, ULONG_PTR marker, std::vector<unsigned char>& payload);

// Sends the command line to the given window as a hand-over. False when the
// window did not take the message (gone, or hung for longer than the timeout).
bool SendHandOver(HWND target, const std::wstring& commandLine);

// Finds the running instance's main window and hands the command line over;
// does nothing when there is no such window.
void HandOverCommandLine(const std::wstring& commandLine);

// The receiving side: the path carried by a hand-over, or nothing when the
// message is some other WM_COPYDATA. The data comes from another process, so
// at most cbData bytes are read and no terminating zero is relied on.
std::optional<std::wstring> HandleCopyData(const COPYDATASTRUCT* data);
