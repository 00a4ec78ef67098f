// The main menu's commands, as they arrive at the main window: those of the
// settings dialog and the update check, those of the main-menu part
// (MainMenuCommands_win.h), then the ones that open this run's own dialogs and
// windows. The restart that ends a change of language, skin or colour theme,
// and the colour theme that follows Windows' light or dark apps.

#include "app/Application_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/PrivateMessages_win.h"

bool Application::OnMainWindowCommand(WORD, WORD id, HWND) {
    if (preferences && preferences->OnCommand(id)) return true;
    if (commands->Run(id)) return true;

    switch (id) {
        case IDM_SHOW_NOTES:
            ToggleNotesShown();
            break;
        case IDM_BRING_NOTES_TO_TOP:
            BringNotesToTop(nullptr, true);
            break;
        case IDM_RECYCLE_BIN_RESTORE:
            ShowRestoreNoteDialog();
            break;
        case IDM_FIND_NOTES:
            OpenFindNotes(nullptr);
            break;
        case IDM_RESTORE_BACKUP:
            ShowRestoreBackupDialog();
            break;
        case IDM_SYNC_NOTES:
            sync->ShowDialog();
            break;
        default:
            return false;
    }
    return true;
}

void Application::Restart() {
    // The notes are written now, typing included; the close that follows
    // writes again only what changes meanwhile.
    SaveBeforeLeaving();
    restartRequested = true;
    ShowWindow(mainWindow->Handle(), SW_HIDE);
    mainWindow->Post(WM_CLOSE);
}

void Application::OpenDownload(const std::wstring& url) {
    commands->OpenOrTell(url);
}

void Application::FollowSystemColorMode() {
    KillTimer(mainWindow->Handle(), kColorModeTimer);
    if (colorThemeChosen || restartRequested || !document) return;
    if (SystemThemeIndex(skin, SystemAppsDark()) == settings.skinColorThemeIndex) return;
    // A restart would end an edit under the user's fingers: it waits.
    for (const auto& note : document->List()) {
        if (!note->IsIdle()) {
            SetTimer(mainWindow->Handle(), kColorModeTimer, kColorModeRetryMs, nullptr);
            return;
        }
    }
    Restart();
}
