#include "main/MainMenu_win.h"

#include <wininet.h>

#include <algorithm>

#include "base/Handles_win.h"
#include "lang/LanguageTable.h"
#include "main/MenuLists.h"
#include "res/resource.h"
#include "skin/Skin_win.h"
#include "ui/Menu_win.h"

namespace {

void Grey(HMENU menu, UINT id, bool grey) {
    EnableMenuItem(menu, id, MF_BYCOMMAND | (grey ? MF_GRAYED : MF_ENABLED));
}

void Check(HMENU menu, UINT id, bool checked) {
    CheckMenuItem(menu, id, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

// Calls visit(name, isFolder) for every match of the pattern; a folder that
// cannot be listed gives nothing.
template <class Visit>
void ForEachMatch(const std::wstring& pattern, Visit&& visit) {
    WIN32_FIND_DATAW found = {};
    FindHandle search(FindFirstFileW(pattern.c_str(), &found));
    if (!search) return;
    do {
        visit(std::wstring(found.cFileName),
              (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0);
    } while (FindNextFileW(search.Get(), &found));
}

// A menu holds no more entries than its identifier range has room for.
void Cap(std::vector<std::wstring>& list) {
    list.resize(MenuLists::ShownCount(list.size()));
}

void Cap(NamedEntries& entries) {
    Cap(entries.names);
    Cap(entries.displayNames);
}

}  // namespace

NamedEntries FindLanguageFiles(const std::wstring& programFolder) {
    NamedEntries entries;
    const std::wstring folder = programFolder + L"Languages\\";
    ForEachMatch(folder + L"*.ini", [&](const std::wstring& name, bool) {
        entries.names.push_back(name);
        entries.displayNames.push_back(LanguageDisplayName(folder + name));
    });
    return entries;
}

NamedEntries FindSkinFolders(const std::wstring& programFolder) {
    NamedEntries entries;
    const std::wstring folder = programFolder + L"Skins\\";
    ForEachMatch(folder + L"*.*", [&](const std::wstring& name, bool isFolder) {
        if (!isFolder || name == L"." || name == L"..") return;
        entries.names.push_back(name);
        entries.displayNames.push_back(SkinDisplayName(folder + name + L"\\Skin.ini"));
    });
    return entries;
}

bool ReportsOnline() {
    DWORD flags = 0;
    if (!InternetGetConnectedState(&flags, 0)) return false;
    return (flags & INTERNET_CONNECTION_OFFLINE) == 0;
}

void UpdateMainMenu(HMENU popup, const MainMenuState& s, const LanguageTable& language,
                    std::vector<std::wstring>& languageFileNames,
                    std::vector<std::wstring>& skinFolderNames) {
    if (!popup) return;
    SetMenuDefaultItem(popup, IDM_NEW_NOTE, FALSE);

    const bool haveNotes = s.noteCount > 0;
    Grey(popup, IDM_NEW_NOTE, !s.notesShown);
    Grey(popup, IDM_NEW_NOTE_FROM_FILE, !s.notesShown);
    Grey(popup, IDM_NEW_NOTE_FROM_CLIPBOARD, !(s.notesShown && s.clipboardHasText));
    Grey(popup, IDM_NEW_NOTE_FROM_ZEPHYN2, !s.notesShown);
    Check(popup, IDM_SHOW_NOTES, s.notesShown);
    Grey(popup, IDM_BRING_NOTES_TO_TOP, !(s.notesShown && haveNotes));
    Grey(popup, IDM_EXPORT_NOTES, !haveNotes);
    Grey(popup, IDM_UNHIDE_NOTES, !s.anyNoteHidden);
    Grey(popup, IDM_TILE_NOTES, !(s.notesShown && haveNotes));
    Grey(popup, IDM_CHECK_FOR_UPDATES, !s.online || s.updateCheckRunning);
    Grey(popup, IDM_CANCEL_CHECK_FOR_UPDATES, !(s.updateCheckRunning && s.updateCheckExists));
    Grey(popup, IDM_GENERAL_SETTINGS, s.busy);
    Check(popup, IDM_MAIN_ALWAYS_ON_TOP, s.mainTopmost);
    Grey(popup, IDM_MAIN_ALWAYS_ON_TOP, !s.mainVisible);
    Check(popup, IDM_SHOW_MAIN_WINDOW, s.mainVisible);
    Grey(popup, IDM_EXIT, s.busy);
    Grey(popup, IDM_RECYCLE_BIN_OPEN, false);
    Grey(popup, IDM_RECYCLE_BIN_EMPTY, false);
    Grey(popup, IDM_RECYCLE_BIN_RESTORE, s.busy || !s.notesShown);
    Grey(popup, IDM_FIND_NOTES, !haveNotes);
    Grey(popup, IDM_RESTORE_BACKUP, s.busy);

    static const std::vector<std::wstring> kNone;
    FillNotesSubmenu(GetSubMenu(popup, kNotesSubmenuPos), s.notesShown ? s.noteTexts : kNone,
                     language);

    HMENU settings = GetSubMenu(popup, kSettingsSubmenuPos);
    if (!settings) return;
    HMENU languages = GetSubMenu(settings, kLanguagesSubmenuPos);
    HMENU skins = GetSubMenu(settings, kSkinsSubmenuPos);
    HMENU themes = GetSubMenu(settings, kColorThemesSubmenuPos);
    if (s.busy) {
        // An enabled item with identifier 0: choosing it sends a command that
        // nothing handles, which is what a busy program should do.
        const std::vector<std::wstring> busy{language.TextOf(kBusyAdvanced)};
        FillSubmenu(language, languages, busy, 0);
        FillSubmenu(language, skins, busy, 0);
        FillSubmenu(language, themes, busy, 0);
        return;
    }
    NamedEntries foundLanguages = FindLanguageFiles(s.programFolder);
    Cap(foundLanguages);
    languageFileNames = std::move(foundLanguages.names);
    FillSubmenu(language, languages, foundLanguages.displayNames, MenuLists::kFirstLanguageId);
    NamedEntries foundSkins = FindSkinFolders(s.programFolder);
    Cap(foundSkins);
    skinFolderNames = std::move(foundSkins.names);
    FillSubmenu(language, skins, foundSkins.displayNames, MenuLists::kFirstSkinId);
    std::vector<std::wstring> themeNames = s.colorThemeNames;
    Cap(themeNames);
    FillSubmenu(language, themes, themeNames, MenuLists::kFirstColorThemeId);
}

void FillNotesSubmenu(HMENU submenu, const std::vector<std::wstring>& texts,
                      const LanguageTable& language) {
    if (!submenu) return;
    // The "More..." levels of the last opening go first; the plain items are
    // reused by FillSubmenu, which would keep a submenu behind a reused item.
    for (int i = GetMenuItemCount(submenu) - 1; i >= 0; --i) {
        if (GetSubMenu(submenu, i)) DeleteMenu(submenu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    const size_t shown = MenuLists::ShownCount(texts.size());
    HMENU level = submenu;
    for (size_t start = 0;; start += MenuLists::kNotesPerLevel) {
        const size_t end = std::min(shown, start + MenuLists::kNotesPerLevel);
        const std::vector<std::wstring> chunk(texts.begin() + static_cast<ptrdiff_t>(start),
                                              texts.begin() + static_cast<ptrdiff_t>(end));
        FillSubmenu(language, level, chunk, MenuLists::IdOf(MenuLists::List::Note, start));
        if (end >= shown) return;
        OwnedMenu more(CreatePopupMenu());
        if (!more ||
            !AppendMenuW(level, MF_POPUP | MF_STRING, reinterpret_cast<UINT_PTR>(more.Get()),
                         language.TextOf(kMainMenu_MoreNotes).c_str())) {
            return;
        }
        // From here the menu above owns it.
        level = more.Release();
    }
}
