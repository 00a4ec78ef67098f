// The settings dialog and the update check: the menu's commands, the dialog's
// result and the check's completion.

#include "app/SettingsAndUpdates_win.h"

#include "app/MainWindow_win.h"
#include "app/NotesDocument_win.h"
#include "app/TrayAndKeys_win.h"
#include "base/ProgramInfo.h"
#include "lang/LanguageTable.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/Folders_win.h"
#include "store/SettingsStore.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SettingsDialogText.h"
#include "ui/SettingsDialog_win.h"
#include "ui/SkinnedWindows_win.h"

namespace {

uint64_t NowAsFileTime() {
    FILETIME now = {};
    GetSystemTimeAsFileTime(&now);
    return Update::JoinFileTime(now.dwLowDateTime, now.dwHighDateTime);
}

}  // namespace

SettingsAndUpdates::SettingsAndUpdates(Owner& owner, AppSettings& settings,
                                       SettingsStore& settingsStore, const LanguageTable& language,
                                       MainWindow& mainWindow, SkinnedWindows& skinnedWindows,
                                       const NotesDocument& notes, TrayAndKeys& hotKeys,
                                       bool firstOfProcess)
    : writeRunAtLogOn(SetRunAtLogOn),
      readRunAtLogOn(IsRunAtLogOn),
      owner(owner),
      settings(settings),
      settingsStore(settingsStore),
      language(language),
      mainWindow(mainWindow),
      skinnedWindows(skinnedWindows),
      notes(notes),
      hotKeys(hotKeys),
      firstOfProcess(firstOfProcess),
      updateCheck(Update::Version{ProgramInfo::kVersionMajor, ProgramInfo::kVersionMinor},
                  ProgramInfo::kProductName) {
    updateCheck.SetLauncher([this](const std::wstring& url) { this->owner.OpenDownload(url); });
}

SettingsAndUpdates::~SettingsAndUpdates() {
    StopUpdateCheck();
    dialog.reset();
}

bool SettingsAndUpdates::OnCommand(WORD id) {
    switch (id) {
        case IDM_GENERAL_SETTINGS:
            OpenDialog();
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

void SettingsAndUpdates::OpenDialog() {
    if (dialog) return;
    // Someone may have changed the Run value since the start.
    settings.runAtLogOn = readRunAtLogOn();
    dialog = std::make_unique<SettingsDialog>(language);
    if (!dialog->Open(settings, mainWindow.Handle(), kSettingsResultMessage)) {
        dialog.reset();
        return;
    }
    hotKeys.UnregisterHotKeys();
}

void SettingsAndUpdates::OnDialogResult(WPARAM wParam, LPARAM lParam) {
    if (!dialog) return;
    const bool apply = SettingsResult::Applies(wParam);
    const bool restart = apply && lParam != 0;
    bool runAtLogOnFailed = false;
    if (apply) {
        ApplyDialogSettings(dialog->Edited(), settings);
        skinnedWindows.SetAlpha(settings.noteAlpha);
        if (!writeRunAtLogOn(settings.runAtLogOn)) {
            settings.runAtLogOn = readRunAtLogOn();
            runAtLogOnFailed = true;
        }
        WriteDialogSettings(settingsStore, settings);
        // The date in the titles may have been switched.
        for (const auto& note : notes.List()) InvalidateRect(note->Handle(), nullptr, TRUE);
    }
    if (SettingsResult::Closes(wParam)) dialog.reset();

    const unsigned taken = hotKeys.RegisterHotKeys(settings.hotKeys);
    if (restart) {
        owner.Restart();
        return;
    }
    // Reports go to the dialog while it stays open (Apply), else to the main
    // window.
    const HWND reportTo = dialog ? dialog->Handle() : mainWindow.Handle();
    if (dialog) {
        // Checked above; released again, as the dialog's hot-key fields need them.
        hotKeys.UnregisterHotKeys();
        if (runAtLogOnFailed) dialog->ShowRunAtLogOn(settings.runAtLogOn);
    }
    if (runAtLogOnFailed) {
        ::ShowMessage(reportTo, language.TextOf(kSettings_RunAtStartupFailed).c_str(), nullptr,
                      MB_OK | MB_ICONWARNING);
    }
    if (apply && taken) {
        ::ShowMessage(reportTo, TakenHotKeysMessage(language, settings, taken).c_str(), nullptr,
                      MB_OK | MB_ICONWARNING);
    }
}

void SettingsAndUpdates::StartupUpdateCheck() {
    // A run made again for a new language or skin does not check again.
    if (!settings.checkForUpdatesAtStartup || !firstOfProcess) return;
    const uint64_t last =
        Update::JoinFileTime(settings.lastUpdateCheckLow, settings.lastUpdateCheckHigh);
    if (Update::StartupCheckDue(last, NowAsFileTime(), settings.updateCheckDayCount)) {
        StartUpdateCheck(true);
    }
}

void SettingsAndUpdates::StartUpdateCheck(bool silent) {
    updateCheck.Start(mainWindow.Handle(), silent);
}

void SettingsAndUpdates::StopUpdateCheck() {
    if (updateCheck.Exists()) updateCheck.Stop();
}

void SettingsAndUpdates::OnUpdateCheckDone() {
    updateCheck.OnDone(settings, settingsStore, language);
}
