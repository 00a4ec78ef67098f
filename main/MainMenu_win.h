#pragma once
// The main menu: the popup of menu resource 131, brought up to date each time
// it opens. Its fixed items are greyed and checked from the program's state and
// its four lists (notes, languages, skins, colour themes) are filled afresh.

#include <windows.h>

#include <string>
#include <vector>

class LanguageTable;

// Everything the menu shows, gathered by its owner just before it opens.
struct MainMenuState {
    bool notesShown = true;
    size_t noteCount = 0;
    bool anyNoteHidden = false;
    bool clipboardHasText = false;
    bool online = false;  // an internet connection is reported and not offline
    bool updateCheckRunning = false;
    bool updateCheckExists = false;
    // An update check, the settings dialog or a note being edited or titled:
    // settings and exit wait, and the selection lists are not offered.
    bool busy = false;
    bool mainTopmost = false;
    bool mainVisible = true;
    std::vector<std::wstring> noteTexts;  // one per note, in list order
    std::vector<std::wstring> colorThemeNames;
    std::wstring programFolder;  // with a trailing separator
};

// The file names and display names found in a folder of the program.
struct NamedEntries {
    std::vector<std::wstring> names;
    std::vector<std::wstring> displayNames;
};

// "*.ini" in programFolder\Languages, in the file system's order.
NamedEntries FindLanguageFiles(const std::wstring& programFolder);
// The folders of programFolder\Skins, in the file system's order.
NamedEntries FindSkinFolders(const std::wstring& programFolder);

// Whether the system reports an internet connection that is not offline.
bool ReportsOnline();

// The position of the filled submenus inside the main popup and the settings
// submenu.
constexpr int kNotesSubmenuPos = 9;
constexpr int kSettingsSubmenuPos = 14;
constexpr int kLanguagesSubmenuPos = 2;
constexpr int kSkinsSubmenuPos = 4;
constexpr int kColorThemesSubmenuPos = 5;

// Fills the notes submenu: kNotesPerLevel notes per level, the rest below a
// last "More..." item, at most kListCapacity notes; an empty list gives the
// greyed placeholder.
void FillNotesSubmenu(HMENU submenu, const std::vector<std::wstring>& texts,
                      const LanguageTable& language);

// Updates the main popup (position 0 of the menu resource) from the state.
// The language and skin lists are replaced by what the folders hold now; when
// busy they are left as they are.
void UpdateMainMenu(HMENU mainPopup, const MainMenuState& state, const LanguageTable& language,
                    std::vector<std::wstring>& languageFileNames,
                    std::vector<std::wstring>& skinFolderNames);
