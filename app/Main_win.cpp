// The program's entry point: one instance per user, hand-over of the command
// line to a running instance, and the run of the application.

#include <windows.h>
#include <commctrl.h>

#include <string>
#include <utility>

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

// The process's current folder, where the program was started.
std::wstring CurrentFolder() {
    const DWORD size = GetCurrentDirectoryW(0, nullptr);
    if (size == 0) return std::wstring();
    std::wstring folder(size, L'\0');
    const DWORD got = GetCurrentDirectoryW(size, &folder[0]);
    folder.resize(got < size ? got : 0);
    return folder;
}

void ReportStartFailure() {
    MessageBoxW(nullptr, L"Error starting program.\n\nPlease reinstall.", L"Error", MB_ICONERROR);
}

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
    // Paths of the command line name files from where the user started the
    // program; the running instance and this one never change their folder,
    // but the instance a file is handed to was started elsewhere.
    const std::wstring startFolder = CurrentFolder();
    const ScriptCommand script = WithFullPaths(ParseScriptCommand(commandLine), startFolder);
    const bool isScript =
        script.action != ScriptAction::None && script.action != ScriptAction::OpenFile;
    const std::wstring path = isScript ? std::wstring() : FullPathFrom(startFolder, cleaned);

    InstanceLock lock(InstanceMutexName(CurrentUserName()));
    if (!lock.IsFirst()) {
        if (isScript) {
            SendScriptCommand(FindRunningMainWindow(), script);
        } else if (!path.empty()) {
            HandOverCommandLine(path);
        }
        return 0;
    }
    StartOptions options;
    options.fileToOpen = path;
    if (isScript) options.command = script;

    // The dialogs use track bars, up-down, hot-key and date-time controls.
    INITCOMMONCONTROLSEX controls = {};
    controls.dwSize = sizeof(controls);
    controls.dwICC = ICC_WIN95_CLASSES | ICC_DATE_CLASSES;
    InitCommonControlsEx(&controls);
    return RunApplication<Application>(std::move(options), RunMessageLoop, ReportStartFailure);
}
