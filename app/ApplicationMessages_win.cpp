// The main window's messages: tray icon, hot keys, hand-over from a second
// start, end of the session, keyboard, and the main menu.

#include <windowsx.h>

#include "app/Application_win.h"
#include "app/ScriptCommands_win.h"
#include "app/SingleInstance_win.h"
#include "lang/LanguageTable.h"
#include "main/MainMenuText.h"
#include "main/MainMenu_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/Clipboard_win.h"
#include "ui/PrivateMessages_win.h"

bool Application::OnMainWindowMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
    result = 0;
    if (message == TaskbarCreatedMessage() && message != 0 && trayAndKeys)
        trayAndKeys->RestoreIcon();
    if (OnSafetyMessage(message, wParam, lParam)) return true;
    if (sync && sync->HandleMessage(message, wParam)) return true;
    switch (message) {
        case WM_DESTROY:
            CloseAllNotes();
            if (trayAndKeys) trayAndKeys->RemoveIcon();
            if (!destroyedByDestructor) PostQuitMessage(0);
            break;
        case WM_CLOSE:
            // The notes were written by the safety check (MayCloseWithUnsavedNotes).
            CloseAllNotes();
            FinishClose();
            return true;
        case WM_QUERYENDSESSION:
            // Never in the way of the session's end: what is typed is written
            // now, and again when the session really ends.
            SaveBeforeLeaving();
            result = TRUE;
            return true;
        case WM_ENDSESSION:
            if (wParam) OnEndSession();
            return true;
        case WM_COPYDATA:
            if (auto path = HandleCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
                // The second start waits for this answer; it must not wait for
                // the user to close a message about the file.
                ReplyMessage(TRUE);
                // A message about one file is answered before the next is opened.
                if (!path->empty()) handOvers.Push(std::move(*path));
                handOvers.Drain([this](const std::wstring& p) { OpenTextFileAsNote(p, false); });
                result = TRUE;
                return true;
            }
            if (auto script = ScriptCommandOf(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
                ReplyMessage(TRUE);
                RunScriptCommand(*script);
                result = TRUE;
                return true;
            }
            break;
        case WM_KEYDOWN:
            OnKeyDown(wParam);
            break;
        case WM_LBUTTONDBLCLK:
            placeNearTray = false;
            CreateNote(std::wstring(), true, true);
            break;
        case WM_RBUTTONUP:
            mainWindow->BringToForeground(false);
            ShowMainMenu(false);
            break;
        case WM_HOTKEY:
            if (trayAndKeys) trayAndKeys->OnHotKey(wParam);
            break;
        case kTrayMessage:
            if (trayAndKeys) trayAndKeys->OnTrayMessage(lParam);
            break;
        case WM_TIMER:
            if (wParam == kTrayClickTimer && trayAndKeys) trayAndKeys->OnClickTimer();
            if (wParam == kCloseTimer) FinishClose();
            if (wParam == kColorModeTimer) FollowSystemColorMode();
            break;
        case WM_SETTINGCHANGE:
            if (lParam && lstrcmpW(reinterpret_cast<LPCWSTR>(lParam), L"ImmersiveColorSet") == 0)
                FollowSystemColorMode();
            break;
        case kSettingsResultMessage:
            if (preferences) preferences->OnDialogResult(wParam, lParam);
            break;
        case kUpdateCheckDoneMessage:
            if (preferences) preferences->OnUpdateCheckDone();
            break;
        default:
            break;
    }
    // The main window's own handling follows.
    return false;
}

void Application::FinishClose() {
    // A modal loop still running on this thread (a note's menu, dialog or move,
    // or the main menu) would take the quit message that ends the run for its
    // own end; the window goes once they have all returned.
    if (mainWindow->InPopupMenu()) EndMenu();
    if (document->ClosingCount() > 0 || mainWindow->InPopupMenu()) {
        SetTimer(mainWindow->Handle(), kCloseTimer, 50, nullptr);
        return;
    }
    KillTimer(mainWindow->Handle(), kCloseTimer);
    mainWindow->Destroy();
}

void Application::OnEndSession() {
    // The system may end the process as soon as this returns: everything is
    // on disk before, and the run ends without asking anything.
    sessionEnding = true;
    SaveBeforeLeaving();
    if (settingsStore) settingsStore->RetryPendingWrites();
    mainWindow->Send(WM_CLOSE);
}

void Application::OnKeyDown(WPARAM key) {
    if (key == VK_TAB) {
        if (!document->List().empty() && notesShown)
            document->List().front()->BringToForeground(false);
    } else if (key == VK_RETURN || key == VK_SPACE) {
        ShowMainMenu(false);
    } else if (key == 'A' && GetKeyState(VK_CONTROL) < 0) {
        mainWindow->SetAlwaysOnTop(!mainWindow->IsTopmost());
    }
}

void Application::OnTrayOrKeyRequest(TrayAndKeys::Request request) {
    using Request = TrayAndKeys::Request;
    switch (request) {
        case Request::NewNoteAtTray:
            placeNearTray = true;
            CreateNote(std::wstring(), true, true);
            break;
        case Request::MainMenuAtTray:
            ShowMainMenu(true);
            break;
        case Request::NotesToTop:
            BringNotesToTop(nullptr, false);
            break;
        case Request::AlarmNote:
            ShowAlarmNote();
            break;
        case Request::NewNote:
            if (notesShown) {
                placeNearTray = false;
                CreateNote(std::wstring(), true, true);
            }
            break;
        case Request::ToggleNotes:
            if (!document->List().empty() || !notesShown) ToggleNotesShown();
            break;
        case Request::NotesToTopActivated:
            if (notesShown) BringNotesToTop(nullptr, true);
            break;
        case Request::NewNoteFromClipboard:
            commands->NewNoteFromClipboard();
            break;
        case Request::FindNotes:
            OpenFindNotes(nullptr);
            break;
    }
}

void Application::ShowMainMenu(bool fromTray) {
    HMENU popup = mainMenu ? GetSubMenu(mainMenu.Get(), 0) : nullptr;
    if (!popup || mainWindow->InPopupMenu()) return;

    MainMenuState state;
    state.notesShown = notesShown;
    state.noteCount = document->List().size();
    state.clipboardHasText = ClipboardHasText();
    state.online = ReportsOnline();
    state.updateCheckRunning = preferences->Updates().Running();
    state.updateCheckExists = preferences->Updates().Exists();
    state.busy = AnyNoteBusy() || preferences->Busy();
    state.mainTopmost = mainWindow->IsTopmost();
    state.mainVisible = IsWindowVisible(mainWindow->Handle()) != FALSE;
    state.programFolder = programFolder;
    const NoteMenuSuffixes suffixes{language.TextOf(kTitleSuffix_Locked),
                                    language.TextOf(kTitleSuffix_Hidden),
                                    language.TextOf(kTitleSuffix_LockedHidden)};
    for (const auto& note : document->List()) {
        state.anyNoteHidden = state.anyNoteHidden || note->Hidden();
        state.noteTexts.push_back(
            NoteMenuItemText(note->TitleText(true), note->Locked(), note->Hidden(), suffixes));
    }
    for (const ColorTheme& theme : skin.colorThemes) state.colorThemeNames.push_back(theme.name);
    // The last item gives the choice back to Windows' light or dark apps.
    state.colorThemeNames.push_back(language.TextOf(kMainMenu_ColorThemeLikeWindows));
    commands->Prepare(popup, state);

    placeNearTray = fromTray;
    mainWindow->ShowPopupMenu(popup, fromTray);
}
