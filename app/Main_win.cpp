// The program's entry point: one instance per user, hand-over of the command
// line to a running instance, and the run of the application.

#include <windows.h>
#include <commctrl.h>

#include <string>

#include "app/Application_win.h"
#include "app/CommandLine.h"
#include "app/CrashReport_win.h"
#include "app/MessageLoop_win.h"
#include "app/RestartLoop.h"
#include "app/SingleInstance_win.h"
#include "store/Folders_win.h"
#include "ui/TrayIcon_win.h"

namespace {

void ReportStartFailure() {
    MessageBoxW(nullptr, L"Error starting program.\n\nPlease reinstall.", L"Error", MB_ICONERROR);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    TaskbarCreatedMessage();
    InstallCrashReport(AppDataFolder());

    // The whole command line, not the start-up code's cut of it: started through
    // an unquoted path with blanks, that cut would be the rest of the path.
    const std::wstring path = FileFromCommandLine(GetCommandLineW(), ExecutablePath());
#ifdef VN_TEST_BUILD
    if (path == L"/fault-for-test") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
#endif

    InstanceLock lock(InstanceMutexName(CurrentUserName()));
    if (!lock.IsFirst()) {
        if (!path.empty()) HandOverCommandLine(path);
        return 0;
    }

    // The dialogs use track bars, up-down, hot-key and date-time controls.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);
    return RunApplication<Application>(path, RunMessageLoop, ReportStartFailure);
}
