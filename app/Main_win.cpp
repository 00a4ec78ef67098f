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
#include "app/ScriptCommands_win.h"
#include "app/SingleInstance_win.h"
#include "res/resource.h"
#include "store/Folders_win.h"
#include "ui/TrayIcon_win.h"

namespace {

void ReportStartFailure() {
    MessageBoxW(nullptr, L"Error starting program.\n\nPlease reinstall.", L"Error", MB_ICONERROR);
}

// The application of a start with a script command runs the command once it
// stands; a start only to show the usage ends after it.
class StartedApplication : public Application {
public:
    StartedApplication(bool& restartRequested, bool& startFailed)
        : Application(restartRequested, startFailed) {
        if (startFailed) return;
        if (const auto command = TakeStartCommand()) {
            RunScriptCommand(*command);
            if (command->action == ScriptAction::Usage) Post(WM_COMMAND, IDM_EXIT);
        }
    }
};

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR commandLine, int) {
    TaskbarCreatedMessage();
    InstallCrashReport(AppDataFolder());

    // The whole command line, not the start-up code's cut of it: started through
    // an unquoted path with blanks, that cut would be the rest of the path.
    const std::wstring cleaned = FileFromCommandLine(GetCommandLineW(), ExecutablePath());
#ifdef VN_TEST_BUILD
    if (cleaned == L"/fault-for-test") {
        volatile int* nowhere = nullptr;
        *nowhere = 1;
    }
#endif
    const ScriptCommand script = ParseScriptCommand(commandLine);
    const bool isScript =
        script.action != ScriptAction::None && script.action != ScriptAction::OpenFile;
    const std::wstring path = isScript ? std::wstring() : cleaned;

    InstanceLock lock(InstanceMutexName(CurrentUserName()));
    if (!lock.IsFirst()) {
        if (isScript) {
            SendScriptCommand(FindRunningMainWindow(), script);
        } else if (!path.empty()) {
            HandOverCommandLine(path);
        }
        return 0;
    }
    if (isScript) SetStartCommand(script);

    // The dialogs use track bars, up-down, hot-key and date-time controls.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);
    return RunApplication<StartedApplication>(path, RunMessageLoop, ReportStartFailure);
}
