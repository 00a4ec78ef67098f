// The main menu's commands, as they arrive at the main window: the entries of
// the four filled lists by identifier range, then the fixed commands. Import
// and export are in MainMenuImportExport_win.cpp.

#include "app/MainMenuCommands_win.h"

#include <algorithm>

#include "app/MainWindow_win.h"
#include "app/NotesDocument_win.h"
#include "arrange/Rect_win.h"
#include "arrange/Tiling.h"
#include "base/MemoryDc_win.h"
#include "base/ProgramInfo.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "main/FileDialogs_win.h"
#include "main/MainMenu_win.h"
#include "main/MenuLists.h"
#include "notes/NoteHost_win.h"
#include "notes/NoteWindow_win.h"
#include "res/resource.h"
#include "skin/Skin_win.h"
#include "store/AppSettings.h"
#include "store/RecycleBin.h"
#include "store/RecycleBin_win.h"
#include "store/SettingsStore.h"
#include "ui/Clipboard_win.h"
#include "ui/ShellOpen_win.h"

MainMenuCommands::MainMenuCommands(Owner& owner, NoteHost& noteHost, NotesDocument& document,
                                   AppSettings& settings, SettingsStore& settingsStore,
                                   const LanguageTable& language, MainWindow& mainWindow,
                                   Skin& skin, std::wstring oldNotesFolder)
    : owner(owner),
      noteHost(noteHost),
      document(document),
      settings(settings),
      settingsStore(settingsStore),
      language(language),
      mainWindow(mainWindow),
      skin(skin),
      oldNotesFolder(std::move(oldNotesFolder)),
      shellOpen([](const std::wstring& target, const std::wstring& program) {
          return ShellOpen(target, program);
      }),
      textFileOpen([](const std::wstring& path, const std::wstring& program) {
          return program.empty() ? RecycleBin::OpenWithTextAssociation(path)
                                 : RecycleBin::OpenInNotepad(path);
      }) {}

bool MainMenuCommands::Run(WORD id) {
    const MenuLists::Item item = MenuLists::ItemOf(id);
    switch (item.list) {
        case MenuLists::List::Note:
            ChooseNote(item.index);
            return true;
        case MenuLists::List::Language:
            ChooseName(languageFileNames, item.index, WriteLanguageFile);
            return true;
        case MenuLists::List::Skin:
            ChooseName(skinFolderNames, item.index, WriteSkinName);
            return true;
        case MenuLists::List::ColorTheme:
            ChooseColorTheme(item.index);
            return true;
        case MenuLists::List::None:
            break;
    }

    switch (id) {
        case IDM_NEW_NOTE:
            noteHost.CreateNote(std::wstring(), true, true);
            break;
        case IDM_NEW_NOTE_FROM_CLIPBOARD:
            NewNoteFromClipboard();
            break;
        case IDM_NEW_NOTE_FROM_FILE:
            NewNoteFromFile();
            break;
        case IDM_NEW_NOTE_FROM_ZEPHYN2:
            ImportOldNotes();
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
        case IDM_MAIN_ALWAYS_ON_TOP:
            mainWindow.SetAlwaysOnTop(!mainWindow.IsTopmost());
            break;
        case IDM_SHOW_MAIN_WINDOW:
            mainWindow.SetVisible(!IsWindowVisible(mainWindow.Handle()));
            break;
        case IDM_ABOUT:
            ShowAbout();
            break;
        case IDM_EXIT:
            mainWindow.Post(WM_CLOSE);
            break;
        default:
            return false;
    }
    return true;
}

void MainMenuCommands::Prepare(HMENU popup, const MainMenuState& state) {
    UpdateMainMenu(popup, state, language, languageFileNames, skinFolderNames);
}

void MainMenuCommands::NewNoteFromClipboard() {
    if (!owner.NotesShown()) return;
    std::wstring text;
    if (ReadClipboardText(mainWindow.Handle(), text) && !text.empty())
        noteHost.CreateNote(text, false, true);
}

void MainMenuCommands::NewNoteFromFile() {
    if (!owner.NotesShown()) return;
    std::wstring path;
    if (AskOpenTextFile(mainWindow.Handle(), language, language.TextOf(kTitle_NewNoteFromFile),
                        path)) {
        owner.OpenTextFileAsNote(path, true);
    }
}

void MainMenuCommands::OpenRecycleBin() {
    const std::wstring bin = noteHost.RecycleBinPath();
    // An editor shown a missing file complains instead of showing an empty bin.
    RecycleBin::EnsureRecycleBinExists(bin);
    // Opened as a text file, by the association of ".txt", whatever name the
    // language gave the file; never by its own extension.
    if (!textFileOpen) return;
    const DWORD error = textFileOpen(bin, L"");
    if (error == ERROR_SUCCESS) return;
    // A plain text file: Notepad can always show it, whatever the system
    // lacks (no program for .txt).
    const std::wstring text = ShellOpenFailureText(language, bin, error) + L"\n\n" +
                              language.TextOf(kShellOpen_OfferNotepad);
    if (mainWindow.ShowMessage(text.c_str(), nullptr, MB_YESNO | MB_ICONWARNING) != IDYES) return;
    const DWORD again = textFileOpen(bin, L"notepad.exe");
    if (again != ERROR_SUCCESS) {
        mainWindow.ShowMessage(ShellOpenFailureText(language, bin, again).c_str(), nullptr,
                               MB_OK | MB_ICONWARNING);
    }
}

void MainMenuCommands::OpenOrTell(const std::wstring& target) {
    if (!shellOpen) return;
    const DWORD error = shellOpen(target, L"");
    if (error != ERROR_SUCCESS)
        mainWindow.ShowMessage(ShellOpenFailureText(language, target, error).c_str(), nullptr,
                               MB_OK | MB_ICONWARNING);
}

void MainMenuCommands::EmptyRecycleBin() {
    if (mainWindow.ShowMessage(language.TextOf(kConfirm_EmptyRecycleBin).c_str(), nullptr,
                               MB_YESNO | MB_ICONQUESTION | MB_DEFBUTTON2) != IDYES) {
        return;
    }
    RecycleBin::EmptyRecycleBin(noteHost.RecycleBinPath());
}

void MainMenuCommands::ShowAbout() {
    const std::wstring text = SafeFormat(language.TextOf(kAbout),
                                         {ProgramInfo::kVersionMajor, ProgramInfo::kVersionMinor});
    if (mainWindow.ShowMessage(text.c_str(), nullptr, MB_YESNO | MB_ICONINFORMATION) == IDYES)
        OpenOrTell(ProgramInfo::kHomePage);
}

void MainMenuCommands::UnhideNotes() {
    // A copy: showing a window runs code that may change the list. The notes
    // shown are written once, by the save their changes post.
    const bool shown = owner.NotesShown();
    for (NoteWindow* note : document.Snapshot()) {
        if (note->Hidden()) note->Unhide(shown);
    }
}

void MainMenuCommands::ChooseNote(size_t index) {
    if (!owner.NotesShown() || index >= document.List().size()) return;
    NoteWindow* note = document.List()[index].get();
    if (note->Hidden()) note->Unhide(true);
    note->BringToForeground(owner.PlaceNearTray());
}

void MainMenuCommands::ChooseName(std::vector<std::wstring>& shown, size_t index,
                                  bool (*write)(ValueStore&, const std::wstring&)) {
    // The list is given up by the choice: a later one needs the menu again.
    const std::vector<std::wstring> names = std::move(shown);
    shown.clear();
    if (index >= names.size()) return;
    write(settingsStore, names[index]);
    owner.Restart();
}

void MainMenuCommands::ChooseColorTheme(size_t index) {
    if (index == skin.colorThemes.size()) {
        // "Like Windows": no theme stored, so the next run follows Windows.
        settingsStore.WriteString(L"/SkinColorThemeIndex", L"");
        owner.Restart();
        return;
    }
    if (index > skin.colorThemes.size()) return;
    // Chosen from now on, also when it is the theme Windows' mode gave.
    if (!owner.ColorThemeChosen())
        WriteSkinColorThemeIndex(settingsStore, static_cast<uint32_t>(index));
    owner.KeepColorThemeChosen();
    ApplyTheme(static_cast<uint32_t>(index));
    // Also for the current theme: the restart is what the user sees happen.
    owner.Restart();
}

void MainMenuCommands::ApplyTheme(uint32_t index) {
    if (index == settings.skinColorThemeIndex || index >= skin.colorThemes.size()) return;
    settings.skinColorThemeIndex = index;
    WriteSkinColorThemeIndex(settingsStore, index);
    const SkinColor tint = skin.colorThemes[index].color;
    ApplyThemeToSkinColors(skin, index);
    // The live bitmaps take the new tint over their old one; the restart that
    // follows loads them afresh with the new tint alone.
    MemoryDc screen(nullptr);
    if (screen) skin.TintBitmaps(screen.Get(), tint);
    InvalidateRect(mainWindow.Handle(), nullptr, TRUE);
    for (const auto& note : document.List()) InvalidateRect(note->Handle(), nullptr, TRUE);
}

void MainMenuCommands::TileNotes() {
    if (!owner.NotesShown() || document.List().empty()) return;
    // Notes grouped by the monitor they lie on, in list order; hidden ones
    // count for the grouping but take no cell.
    std::vector<std::pair<HMONITOR, std::vector<NoteWindow*>>> monitors;
    for (NoteWindow* note : document.Snapshot()) {
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
