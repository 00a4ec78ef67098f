// The main window's part in the settings dialog and the update check: the
// commands that open the dialog and start or cancel a check, the dialog's result
// message and the check's completion message.

#include "app/Application_win.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SettingsDialogText.h"
#include "ui/SettingsDialog_win.h"

namespace {

uint64_t NowAsFileTime() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return Update::JoinFileTime(now.dwLowDateTime, now.dwHighDateTime);
}

}  // namespace

bool Application::OnSettingsCommand(WORD id) {
    switch (id) {
        case IDM_GENERAL_SETTINGS:
            OpenSettingsDialog();
            return true;
        case IDM_CHECK_FOR_UPDATES:
            if (!updateCheck.Exists()) StartUpdateCheck(false);
            return true;
        case IDM_CANCEL_CHECK_FOR_UPDATES:
            if (updateCheck.Exists()) StopUpdateCheck();
            return true;
        default:
            return false;
    }
}

void Application::OpenSettingsDialog() {
    if (settingsDialog) return;
    // Someone may have changed the Run value since the start.
    settings.runAtLogOn = readRunAtLogOn();
    settingsDialog = std::make_unique<SettingsDialog>(language);
    if (!settingsDialog->Open(settings, mainWindow->Handle(), kSettingsResultMessage)) {
        settingsDialog.reset();
        return;
    }
    // The dialog's hot-key fields receive the keys only while no one holds them.
    trayAndKeys->UnregisterHotKeys();
}

void Application::OnSettingsResult(WPARAM wParam, LPARAM lParam) {
    if (!settingsDialog) return;
    const bool apply = SettingsResult::Applies(wParam);
    const bool restart = apply && lParam != 0;
    bool runAtLogOnFailed = false;
    if (apply) {
        ApplyDialogSettings(settingsDialog->Edited(), settings);
        skinnedWindows.SetAlpha(settings.noteAlpha);
        if (!writeRunAtLogOn(settings.runAtLogOn)) {
            settings.runAtLogOn = readRunAtLogOn();
            runAtLogOnFailed = true;
        }
        WriteDialogSettings(*settingsStore, settings);
        // The date in the titles may have been switched.
        for (const auto& note : document->List()) InvalidateRect(note->Handle(), nullptr, TRUE);
    }
    if (SettingsResult::Closes(wParam)) settingsDialog.reset();

    const unsigned taken = trayAndKeys->RegisterHotKeys(settings.hotKeys);
    if (restart) {
        Restart();
        return;
    }
    // Reports go to the dialog while it stays open (Apply), else to the main
    // window.
    const HWND reportTo = settingsDialog ? settingsDialog->Handle() : mainWindow->Handle();
    if (settingsDialog) {
        // Checked above; released again, as the dialog's hot-key fields need them.
        trayAndKeys->UnregisterHotKeys();
        if (runAtLogOnFailed) settingsDialog->ShowRunAtLogOn(settings.runAtLogOn);
    }
    if (runAtLogOnFailed) {
        ::ShowMessage(reportTo, language.TextOf(kSettings_RunAtStartupFailed).c_str(), nullptr,
                      MB_OK | MB_ICONWARNING);
    }
    if (apply && taken) {
        ::ShowMessage(reportTo, TakenHotKeysMessage(Language(), settings, taken).c_str(), nullptr,
                      MB_OK | MB_ICONWARNING);
    }
}

void Application::StartupUpdateCheck() {
    // An application made again for a new language or skin does not check again.
    if (!settings.checkForUpdatesAtStartup || !firstOfProcess) return;
    const uint64_t last =
        Update::JoinFileTime(settings.lastUpdateCheckLow, settings.lastUpdateCheckHigh);
    if (Update::StartupCheckDue(last, NowAsFileTime(), settings.updateCheckDayCount)) {
        StartUpdateCheck(true);
    }
}

void Application::StartUpdateCheck(bool silent) {
    updateCheck.Start(mainWindow->Handle(), silent);
}

void Application::StopUpdateCheck() {
    if (updateCheck.Exists()) updateCheck.Stop();
}

void Application::OnUpdateCheckDone() {
    if (settingsStore) updateCheck.OnDone(settings, *settingsStore, language);
}
