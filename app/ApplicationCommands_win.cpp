// The main menu's commands, as they arrive at the main window: the entries of
// the four filled lists by identifier range, then the fixed commands.

#include <algorithm>

#include "app/Application_win.h"
#include "arrange/Rect_win.h"
#include "base/ProgramInfo.h"
#include "arrange/Tiling.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "main/FileDialogs_win.h"
#include "main/MenuLists.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "store/RecycleBin.h"
#include "ui/PrivateMessages_win.h"
#include "ui/ShellOpen_win.h"
#include "base/MemoryDc_win.h"

bool Application::OnMainWindowCommand(WORD, WORD id, HWND) {
    if (preferences && preferences->OnCommand(id)) return true;
    const MenuLists::Item item = MenuLists::ItemOf(id);
    switch (item.list) {
        case MenuLists::List::Note:
            ChooseNote(item.index);
            return true;
        case MenuLists::List::Language:
            ChooseLanguage(item.index);
            return true;
        case MenuLists::List::Skin:
            ChooseSkin(item.index);
            return true;
        case MenuLists::List::ColorTheme:
            ChooseColorTheme(item.index);
            return true;
        case MenuLists::List::None:
            break;
    }

    switch (id) {
        case IDM_NEW_NOTE:
            CreateNote(std::wstring(), true, true);
            break;
        case IDM_NEW_NOTE_FROM_CLIPBOARD:
            CreateNoteFromClipboard();
            break;
        case IDM_NEW_NOTE_FROM_FILE:
            NewNoteFromFile();
            break;
        case IDM_NEW_NOTE_FROM_ZEPHYN2:
            ImportOldNotes();
            break;
        case IDM_SHOW_NOTES:
            ToggleNotesShown();
            break;
        case IDM_BRING_NOTES_TO_TOP:
            BringNotesToTop(nullptr, true);
            break;
        case IDM_TILE_NOTES:
            TileNotes();
            break;
        case IDM_EXPORT_NOTES:
            ExportNotes();
            break;
        case IDM_UNHIDE_NOTES:
            UnhideNotes();
            break;
        case IDM_RECYCLE_BIN_OPEN:
            OpenRecycleBin();
            break;
        case IDM_RECYCLE_BIN_EMPTY:
            EmptyRecycleBin();
            break;
        case IDM_RECYCLE_BIN_RESTORE:
            ShowRestoreNoteDialog();
            break;
        case IDM_FIND_NOTES:
            OpenFindNotes(nullptr);
            break;
        case IDM_MAIN_ALWAYS_ON_TOP:
            SetMainWindowAlwaysOnTop(!mainWindow->IsTopmost());
            break;
        case IDM_SHOW_MAIN_WINDOW:
            SetMainWindowVisible(!IsWindowVisible(mainWindow->Handle()));
            break;
        case IDM_ABOUT:
            ShowAbout();
            break;
        case IDM_RESTORE_BACKUP:
            ShowRestoreBackupDialog();
            break;
        case IDM_SYNC_NOTES:
            sync->ShowDialog();
            break;
        case IDM_EXIT:
            mainWindow->Post(WM_CLOSE);
            break;
        default:
            return false;
    }
    return true;
}

void Application::NewNoteFromFile() {
    if (!notesShown) return;
    std::wstring path;
    if (AskOpenTextFile(mainWindow->Handle(), language, language.TextOf(kTitle_NewNoteFromFile),
                        path)) {
        OpenTextFileAsNote(path, true);
    }
}

void Application::OpenRecycleBin() {
    // An editor shown a missing file complains instead of showing an empty bin.
    RecycleBin::EnsureRecycleBinExists(recycleBinPath);
    // Opened as a text file, by the association of ".txt", whatever name the
    // language gave the file; never by its own extension.
    if (!textFileOpen) return;
    const DWORD error = textFileOpen(recycleBinPath, L"");
    if (error == ERROR_SUCCESS) return;
    // A plain text file: Notepad can always show it, whatever the system
    // lacks (no program for .txt).
    const std::wstring text = ShellOpenFailureText(Language(), recycleBinPath, error) + L"\n\n" +
                              language.TextOf(kShellOpen_OfferNotepad);
    if (mainWindow->ShowMessage(text.c_str(), nullptr, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    const DWORD again = textFileOpen(recycleBinPath, L"notepad.exe");
    if (again != ERROR_SUCCESS) {
        mainWindow->ShowMessage(ShellOpenFailureText(Language(), recycleBinPath, again).c_str(),
                                nullptr, MB_OK | MB_ICONWARNING);
    }
}

void Application::OpenOrTell(const std::wstring& target) {
    if (!shellOpen) return;
    const DWORD error = shellOpen(target, L"");
    if (error != ERROR_SUCCESS)
        mainWindow->ShowMessage(ShellOpenFailureText(Language(), target, error).c_str(), nullptr,
                                MB_OK | MB_ICONWARNING);
}

void Application::EmptyRecycleBin() {
    if (mainWindow->ShowMessage(language.TextOf(kConfirm_EmptyRecycleBin).c_str(), nullptr,
                                MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    RecycleBin::EmptyRecycleBin(recycleBinPath);
}

void Application::ShowAbout() {
    const std::wstring text = SafeFormat(language.TextOf(kAbout),
                                         {ProgramInfo::kVersionMajor, ProgramInfo::kVersionMinor});
    if (mainWindow->ShowMessage(text.c_str(), nullptr, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        OpenOrTell(ProgramInfo::kHomePage);
}

void Application::UnhideNotes() {
    // A copy: showing a window runs code that may change the list. The notes
    // shown are written once, by the save their changes post.
    for (NoteWindow* note : document->Snapshot()) {
        if (note->Hidden()) note->Unhide(notesShown);
    }
}

void Application::ChooseNote(size_t index) {
    if (!notesShown || index >= document->List().size()) return;
    NoteWindow* note = document->List()[index].get();
    if (note->Hidden()) note->Unhide(true);
    note->BringToForeground(placeNearTray);
}

void Application::ChooseLanguage(size_t index) {
    const std::vector<std::wstring> names = std::move(languageFileNames);
    languageFileNames.clear();
    if (index >= names.size()) return;
    WriteLanguageFile(*settingsStore, names[index]);
    Restart();
}

void Application::ChooseSkin(size_t index) {
    const std::vector<std::wstring> names = std::move(skinFolderNames);
    skinFolderNames.clear();
    if (index >= names.size()) return;
    WriteSkinName(*settingsStore, names[index]);
    Restart();
}

void Application::ChooseColorTheme(size_t index) {
    if (index == skin.colorThemes.size()) {
        // "Like Windows": no theme stored, so the next run follows Windows.
        settingsStore->WriteString(L"/SkinColorThemeIndex", L"");
        Restart();
        return;
    }
    if (index > skin.colorThemes.size()) return;
    // Chosen from now on, also when it is the theme Windows' mode gave.
    if (!colorThemeChosen) WriteSkinColorThemeIndex(*settingsStore, static_cast<uint32_t>(index));
    colorThemeChosen = true;
    ApplyTheme(static_cast<uint32_t>(index));
    // Also for the current theme: the restart is what the user sees happen.
    Restart();
}

void Application::Restart() {
    // The notes are written now, typing included; the close that follows
    // writes again only what changes meanwhile.
    SaveBeforeLeaving();
    restartRequested = true;
    ShowWindow(mainWindow->Handle(), SW_HIDE);
    mainWindow->Post(WM_CLOSE);
}

void Application::ApplyTheme(uint32_t index) {
    if (index == colorThemeIndex || index >= skin.colorThemes.size()) return;
    colorThemeIndex = index;
    settings.skinColorThemeIndex = index;
    WriteSkinColorThemeIndex(*settingsStore, index);
    const SkinColor tint = skin.colorThemes[index].color;
    ApplyThemeToSkinColors(skin, index);
    // The live bitmaps take the new tint over their old one; the restart that
    // follows loads them afresh with the new tint alone.
    MemoryDc screen(nullptr);
    if (screen) skin.TintBitmaps(screen.Get(), tint);
    InvalidateRect(mainWindow->Handle(), nullptr, TRUE);
    for (const auto& note : document->List()) InvalidateRect(note->Handle(), nullptr, TRUE);
}

void Application::FollowSystemColorMode() {
    KillTimer(mainWindow->Handle(), kColorModeTimer);
    if (colorThemeChosen || restartRequested || !document) return;
    if (SystemThemeIndex(skin, SystemAppsDark()) == colorThemeIndex) return;
    // A restart would end an edit under the user's fingers: it waits.
    for (const auto& note : document->List()) {
        if (!note->IsIdle()) {
            SetTimer(mainWindow->Handle(), kColorModeTimer, kColorModeRetryMs, nullptr);
            return;
        }
    }
    Restart();
}

void Application::TileNotes() {
    if (!notesShown || document->List().empty()) return;
    // Notes grouped by the monitor they lie on, in list order; hidden ones
    // count for the grouping but take no cell.
    std::vector<std::pair<HMONITOR, std::vector<NoteWindow*>>> monitors;
    for (NoteWindow* note : document->Snapshot()) {
        HMONITOR monitor = MonitorFromWindow(note->Handle(), MONITOR_DEFAULTTONEAREST);
        auto at = std::find_if(monitors.begin(), monitors.end(),
                               [&](const auto& entry) { return entry.first == monitor; });
        if (at == monitors.end()) at = monitors.insert(monitors.end(), {monitor, {}});
        at->second.push_back(note);
    }
    // Every move reports a change; the posted save writes them all at once.
    for (const auto& [monitor, list] : monitors) {
        MONITORINFO info = {};
        info.cbSize = sizeof(info);
        if (!GetMonitorInfoW(monitor, &info)) continue;
        std::vector<Arrange::TileNote> tiles;
        for (const NoteWindow* note : list) {
            tiles.push_back({ToPortable(note->WindowRect()), note->Hidden()});
        }
        const Rect work = ToPortable(info.rcWork);
        const auto places = Arrange::TileLayout(work, tiles);
        for (size_t i = 0; i < list.size(); ++i) {
            if (!places[i]) continue;
            list[i]->Move(places[i]->x, places[i]->y, false);
            InvalidateRect(list[i]->Handle(), nullptr, TRUE);
        }
    }
}
