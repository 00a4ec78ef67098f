// The main window's messages: tray icon, hot keys, hand-over from a second
// start, end of the session, position, keyboard, and the main menu.

#include <windowsx.h>

#include "app/Application_win.h"
#include "app/NoteSync_win.h"
#include "app/ScriptCommands_win.h"
#include "app/SingleInstance_win.h"
#include "lang/LanguageTable.h"
#include "main/MainMenuText.h"
#include "main/MainMenu_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "ui/Clipboard_win.h"
#include "ui/PrivateMessages_win.h"

LRESULT Application::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == TaskbarCreatedMessage() && message != 0) tray.Restore();
    if (OnSafetyMessage(message, wParam, lParam)) return 0;
    if (sync) {
        // The end of the session may end the process before the loop does.
        if (message == WM_ENDSESSION && wParam) sync->WriteIfDue();
        if (sync->HandleMessage(message, wParam)) return 0;
    }
    switch (message) {
        case WM_DESTROY:
            CloseAllNotes();
            tray.Remove();
            if (!destroyedByDestructor) PostQuitMessage(0);
            break;
        case WM_CLOSE:
            // The notes were written by the safety check (MayCloseWithUnsavedNotes).
            CloseAllNotes();
            FinishClose();
            return 0;
        case WM_MOVE:
            OnMove(lParam);
            break;
        case WM_QUERYENDSESSION:
            // Never in the way of the session's end: what is typed is written
            // now, and again when the session really ends.
            SaveBeforeLeaving();
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) OnEndSession();
            return 0;
        case WM_COPYDATA:
            if (auto path = HandleCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
                // The second start waits for this answer; it must not wait for
                // the user to close a message about the file.
                ReplyMessage(TRUE);
                // A message about one file is answered before the next is opened.
                if (!path->empty()) handOvers.Push(std::move(*path));
                handOvers.Drain([this](const std::wstring& p) { OpenTextFileAsNote(p, false); });
                return TRUE;
            }
            if (auto script = ScriptCommandOf(reinterpret_cast<const COPYDATASTRUCT*>(lParam))) {
                ReplyMessage(TRUE);
                RunScriptCommand(*script);
                return TRUE;
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
            BringToForeground(false);
            ShowMainMenu(false);
            break;
        case WM_HOTKEY:
            OnHotKey(static_cast<int>(wParam));
            break;
        case kTrayMessage:
            OnTrayMessage(lParam);
            break;
        case WM_TIMER:
            if (wParam == kTrayClickTimer) OnTrayClickTimer();
            if (wParam == kCloseTimer) FinishClose();
            if (wParam == kColorModeTimer) FollowSystemColorMode();
            break;
        case WM_SETTINGCHANGE:
            if (lParam && lstrcmpW(reinterpret_cast<LPCWSTR>(lParam), L"ImmersiveColorSet") == 0)
                FollowSystemColorMode();
            break;
        case kSettingsResultMessage:
            OnSettingsResult(wParam, lParam);
            break;
        case kUpdateCheckDoneMessage:
            OnUpdateCheckDone();
            break;
        default:
            break;
    }
    return SmallWindow::HandleMessage(window, message, wParam, lParam);
}

void Application::OnMove(LPARAM lParam) {
    if (!settingsStore || !positionKnown) return;
    const int32_t x = GET_X_LPARAM(lParam);
    const int32_t y = GET_Y_LPARAM(lParam);
    // Showing the window reports its position again; writing only real
    // changes keeps a first run from creating Settings.ini for nothing.
    if (x == settings.mainWindowX && y == settings.mainWindowY) return;
    settings.mainWindowX = x;
    settings.mainWindowY = y;
    WriteMainWindowPosition(*settingsStore, x, y);
}

void Application::FinishClose() {
    // A modal loop still running on this thread (a note's menu, dialog or move,
    // or the main menu) would take the quit message that ends the run for its
    // own end; the window goes once they have all returned.
    if (InPopupMenu()) EndMenu();
    if (document->ClosingCount() > 0 || InPopupMenu()) {
        SetTimer(Handle(), kCloseTimer, 50, nullptr);
        return;
    }
    KillTimer(Handle(), kCloseTimer);
    Destroy();
}

void Application::OnEndSession() {
    // The system may end the process as soon as this returns: everything is
    // on disk before, and the run ends without asking anything.
    sessionEnding = true;
    SaveBeforeLeaving();
    if (settingsStore) settingsStore->RetryPendingWrites();
    Send(WM_CLOSE);
}

void Application::OnKeyDown(WPARAM key) {
    if (key == VK_TAB) {
        if (!document->List().empty() && notesShown)
            document->List().front()->BringToForeground(false);
    } else if (key == VK_RETURN || key == VK_SPACE) {
        ShowMainMenu(false);
    } else if (key == 'A' && GetKeyState(VK_CONTROL) < 0) {
        SetMainWindowAlwaysOnTop(!IsTopmost());
    }
}

void Application::OnHotKey(int id) {
    switch (HotKeys::IndexOf(static_cast<WPARAM>(id))) {
        case kHotKeyNewNote:
            if (notesShown) {
                placeNearTray = false;
                CreateNote(std::wstring(), true, true);
            }
            break;
        case kHotKeyShowNotes:
            if (!document->List().empty() || !notesShown) ToggleNotesShown();
            break;
        case kHotKeyBringNotesToTop:
            if (notesShown) BringNotesToTop(nullptr, true);
            break;
        case kHotKeyNewNoteFromClipboard:
            CreateNoteFromClipboard();
            break;
        case kHotKeyFindNotes:
            OpenFindNotes(nullptr);
            break;
        default:
            break;
    }
}

void Application::CreateNoteFromClipboard() {
    if (!notesShown) return;
    std::wstring text;
    if (ReadClipboardText(Handle(), text) && !text.empty()) CreateNote(text, false, true);
}

void Application::OnTrayMessage(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONUP:
            // The button-up that ends a double click is not a click of its own.
            if (trayDoubleClickSeen) {
                trayDoubleClickSeen = false;
            } else if (!trayClickPending) {
                SetTimer(Handle(), kTrayClickTimer, GetDoubleClickTime(), nullptr);
                trayClickPending = true;
            }
            break;
        case WM_LBUTTONDBLCLK:
            trayDoubleClickSeen = true;
            if (trayClickPending) {
                KillTimer(Handle(), kTrayClickTimer);
                trayClickPending = false;
            }
            placeNearTray = true;
            CreateNote(std::wstring(), true, true);
            break;
        case WM_RBUTTONUP:
            ShowMainMenu(true);
            break;
        case NIN_BALLOONUSERCLICK:
            ShowAlarmNote();
            break;
        default:
            break;
    }
}

void Application::OnTrayClickTimer() {
    KillTimer(Handle(), kTrayClickTimer);
    if (trayClickPending) BringNotesToTop(nullptr, false);
    trayClickPending = false;
}

void Application::ShowMainMenu(bool fromTray) {
    HMENU popup = mainMenu ? GetSubMenu(mainMenu.Get(), 0) : nullptr;
    if (!popup || InPopupMenu()) return;

    MainMenuState state;
    state.notesShown = notesShown;
    state.noteCount = document->List().size();
    state.clipboardHasText = ClipboardHasText();
    state.online = ReportsOnline();
    state.updateCheckRunning = updateCheck.Running();
    state.updateCheckExists = updateCheck.Exists();
    state.busy = AnyNoteBusy() || settingsDialog || updateCheck.Running() || updateCheck.Exists();
    state.mainTopmost = IsTopmost();
    state.mainVisible = IsWindowVisible(Handle()) != FALSE;
    state.programFolder = programFolder;
    const NoteMenuSuffixes suffixes{TextOf(kTitleSuffix_Locked), TextOf(kTitleSuffix_Hidden),
                                    TextOf(kTitleSuffix_LockedHidden)};
    for (const auto& note : document->List()) {
        state.anyNoteHidden = state.anyNoteHidden || note->Hidden();
        state.noteTexts.push_back(
            NoteMenuItemText(note->TitleText(true), note->Locked(), note->Hidden(), suffixes));
    }
    for (const ColorTheme& theme : skin.colorThemes) state.colorThemeNames.push_back(theme.name);
    // The last item gives the choice back to Windows' light or dark apps.
    state.colorThemeNames.push_back(TextOf(kMainMenu_ColorThemeLikeWindows));
    UpdateMainMenu(popup, state, languageFileNames, skinFolderNames);

    placeNearTray = fromTray;
    ShowPopupMenu(popup, fromTray);
}
