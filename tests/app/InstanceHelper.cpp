// A second start of the program in miniature, for the single-instance tests:
// it takes the instance lock named by VN_TEST_MUTEX and, when another process
// holds it, hands its command line over the way the entry point does.
//
// Exit codes: 0 when another instance runs (handed over or nothing to hand
// over), 3 when this process was the first. With VN_TEST_HOLD naming an event,
// a first instance signals "<name>.ready" and keeps the lock until the event
// is set.

#include <windows.h>

#include <string>

#include "app/CommandLine.h"
#include "app/SingleInstance_win.h"

namespace {

std::wstring Environment(const wchar_t* name) {
    wchar_t value[512] = {};
    const DWORD length = GetEnvironmentVariableW(name, value, 512);
    return length > 0 && length < 512 ? std::wstring(value) : std::wstring();
}

// What the runtime gives a GUI entry point: the command line after the
// program's own name and the blanks that follow it.
const wchar_t* ArgumentsOf(const wchar_t* line) {
    if (*line == L'"') {
        for (++line; *line && *line != L'"'; ++line) {
        }
        if (*line) ++line;
    } else {
        while (*line && *line != L' ' && *line != L'\t') ++line;
    }
    while (*line == L' ' || *line == L'\t') ++line;
    return line;
}

}  // namespace

int main() {
    const std::wstring path = CleanCommandLine(ArgumentsOf(GetCommandLineW()));
    InstanceLock lock(Environment(L"VN_TEST_MUTEX"));
    if (!lock.IsFirst()) {
        if (!path.empty()) HandOverCommandLine(path);
        return 0;
    }
    const std::wstring hold = Environment(L"VN_TEST_HOLD");
    if (!hold.empty()) {
        HANDLE release = CreateEventW(nullptr, TRUE, FALSE, hold.c_str());
        HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, (hold + L".ready").c_str());
        SetEvent(ready);
        WaitForSingleObject(release, 30000);
        CloseHandle(ready);
        CloseHandle(release);
    }
    return 3;
}
