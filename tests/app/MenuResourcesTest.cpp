// The menus, icons and menu bitmaps among the program's resources, and the
// language keys that the menus and dialogs carry as their texts.

#include <windows.h>

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "DialogTemplateReader.h"
#include "lang/LanguageKeys.h"
#include "res/resource.h"

namespace {

// One line per item: "-" for a separator, "> text" for a submenu (its items
// follow, indented), "id text" for a command.
void Outline(HMENU menu, int depth, std::wstring& out) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        wchar_t text[256] = {};
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
        info.dwTypeData = text;
        info.cch = 256;
        ASSERT_TRUE(GetMenuItemInfoW(menu, i, TRUE, &info));
        out += std::wstring(depth * 2, L' ');
        if (info.fType & MFT_SEPARATOR) {
            out += L"-\n";
        } else if (info.hSubMenu) {
            out += L"> " + std::wstring(text) + L"\n";
            Outline(info.hSubMenu, depth + 1, out);
        } else {
            out += std::to_wstring(info.wID) + L" " + text + L"\n";
        }
    }
}

std::wstring OutlineOf(int menuId) {
    HMENU menu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(menuId));
    if (!menu) return L"(missing)";
    std::wstring out;
    Outline(menu, 0, out);
    DestroyMenu(menu);
    return out;
}

// Every text of a menu that is not a separator.
void Texts(HMENU menu, std::vector<std::wstring>& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        if (GetMenuStringW(menu, i, text, 256, MF_BYPOSITION) > 0) out.push_back(text);
        if (HMENU sub = GetSubMenu(menu, i)) Texts(sub, out);
    }
}

std::multiset<std::wstring> KeyRange(int first, int end) {
    std::multiset<std::wstring> keys;
    for (int n = first; n < end; ++n) keys.insert(kLanguageKeys[n]);
    return keys;
}

}  // namespace

// The layout is what the menu code relies on: the positions of the submenus it
// fills, the identifiers it enables and checks, the placeholders it replaces.
TEST(MenuResources, MainMenuLayout) {
    EXPECT_EQ(OutlineOf(IDR_MAIN_MENU),
              L"> &MainWindow\n"
              L"  132 MainMenu_NewNote\n"
              L"  > MainMenu_NewNoteFrom\n"
              L"    134 MainMenu_NewNoteFromClipboard\n"
              L"    135 MainMenu_NewNoteFromFile\n"
              L"    -\n"
              L"    136 MainMenu_NewNoteFromZephyn2\n"
              L"  -\n"
              L"  137 MainMenu_ShowNotes\n"
              L"  169 MainMenu_TileNotes\n"
              L"  138 MainMenu_BringNotesToTop\n"
              L"  201 MainMenu_ExportNotes\n"
              L"  32774 MainMenu_UnhideNotes\n"
              L"  > MainMenu_Notes\n"
              L"    161 0\n"
              L"  -\n"
              L"  > MainMenu_RecycleBin\n"
              L"    140 MainMenu_RecycleBinOpen\n"
              L"    141 MainMenu_RecycleBinEmpty\n"
              L"  -\n"
              L"  > MainMenu_Settings\n"
              L"    142 MainMenu_General\n"
              L"    -\n"
              L"    > MainMenu_SelectLanguage\n"
              L"      168 0\n"
              L"    -\n"
              L"    > MainMenu_SelectSkin\n"
              L"      184 0\n"
              L"    > MainMenu_SelectColorTheme\n"
              L"      186 0\n"
              L"    -\n"
              L"    164 MainMenu_CheckForUpdates\n"
              L"    182 MainMenu_CancelCheckForUpdates\n"
              L"  -\n"
              L"  144 MainMenu_AlwaysOnTop\n"
              L"  145 MainMenu_Show\n"
              L"  -\n"
              L"  147 MainMenu_About\n"
              L"  148 MainMenu_Exit\n");
}

TEST(MenuResources, NoteMenuLayout) {
    EXPECT_EQ(OutlineOf(IDR_NOTE_MENU),
              L"> &Note\n"
              L"  181 NoteMenu_Edit\n"
              L"  32777 NoteMenu_Undo\n"
              L"  32778 NoteMenu_Redo\n"
              L"  150 NoteMenu_Delete\n"
              L"  151 NoteMenu_ResizeToContent\n"
              L"  198 NoteMenu_Hide\n"
              L"  -\n"
              L"  158 NoteMenu_Lock\n"
              L"  157 NoteMenu_AlwaysOnTop\n"
              L"  -\n"
              L"  156 NoteMenu_BringNotesToTop\n"
              L"  -\n"
              L"  > NoteMenu_Priority\n"
              L"    188 NoteMenu_VeryHigh\n"
              L"    189 NoteMenu_High\n"
              L"    190 NoteMenu_Normal\n"
              L"    191 NoteMenu_Low\n"
              L"    192 NoteMenu_VeryLow\n"
              L"  > NoteMenu_Alarm\n"
              L"    204 NoteMenu_AlarmEnabled\n"
              L"    205 NoteMenu_AlarmChange\n"
              L"  > NoteMenu_Title\n"
              L"    196 NoteMenu_Title_Change\n"
              L"    195 NoteMenu_Title_Remove\n"
              L"  > NoteMenu_Font\n"
              L"    176 NoteMenu_Font_SelectCustom\n"
              L"    -\n"
              L"    177 NoteMenu_Font_UseCustomDefault\n"
              L"    179 NoteMenu_Font_SetCustomDefault\n"
              L"    -\n"
              L"    180 NoteMenu_Font_UseSkinDefault\n"
              L"  -\n"
              L"  > NoteMenu_Links\n"
              L"    199 0\n"
              L"  -\n"
              L"  152 NoteMenu_SaveAs\n"
              L"  153 NoteMenu_EmailTo\n"
              L"  -\n"
              L"  154 NoteMenu_Copy\n"
              L"  155 NoteMenu_Paste\n");
}

// The positions by which the code reaches the filled submenus.
TEST(MenuResources, FilledSubmenusArePlaceholdersAtTheirPositions) {
    HMENU mainMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    HMENU noteMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
    ASSERT_TRUE(mainMenu && noteMenu);
    HMENU mainPopup = GetSubMenu(mainMenu, 0);
    HMENU settings = GetSubMenu(mainPopup, 12);
    ASSERT_TRUE(settings);
    const struct {
        HMENU submenu;
        UINT placeholder;
    } cases[] = {
        {GetSubMenu(mainPopup, 8), IDM_NOTES_PLACEHOLDER},
        {GetSubMenu(settings, 2), IDM_LANGUAGES_PLACEHOLDER},
        {GetSubMenu(settings, 4), IDM_SKINS_PLACEHOLDER},
        {GetSubMenu(settings, 5), IDM_COLOR_THEMES_PLACEHOLDER},
        {GetSubMenu(GetSubMenu(noteMenu, 0), 17), IDM_LINKS_PLACEHOLDER},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(c.submenu) << c.placeholder;
        EXPECT_EQ(GetMenuItemCount(c.submenu), 1) << c.placeholder;
        EXPECT_EQ(GetMenuItemID(c.submenu, 0), c.placeholder);
    }
    EXPECT_EQ(GetMenuItemCount(mainPopup), 19);
    EXPECT_EQ(GetMenuItemCount(GetSubMenu(noteMenu, 0)), 24);
    DestroyMenu(mainMenu);
    DestroyMenu(noteMenu);
}

// Each resource uses exactly its own range of language keys, each key once.
TEST(MenuResources, TextsAreTheLanguageKeys) {
    HMENU noteMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
    HMENU mainMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    ASSERT_TRUE(noteMenu && mainMenu);
    const std::set<std::wstring> notKeys = {L"&MainWindow", L"&Note", L"0", L"0%", L"50%", L"100%"};
    auto keysOf = [&](const std::vector<std::wstring>& texts) {
        std::multiset<std::wstring> keys;
        for (const auto& t : texts)
            if (!notKeys.count(t)) keys.insert(t);
        return keys;
    };
    auto menuKeys = [&](HMENU menu) {
        std::vector<std::wstring> texts;
        Texts(menu, texts);
        return keysOf(texts);
    };
    auto dialogKeys = [&](int id) {
        DialogData d;
        EXPECT_TRUE(DialogTemplateReader::Read(id, d)) << id;
        std::vector<std::wstring> texts = {d.caption};
        for (const auto& item : d.items)
            if (!item.text.empty()) texts.push_back(item.text);
        return keysOf(texts);
    };
    EXPECT_EQ(menuKeys(noteMenu), KeyRange(kFirstNoteMenuKey, kFirstMainMenuKey));
    EXPECT_EQ(menuKeys(mainMenu), KeyRange(kFirstMainMenuKey, kFirstSettingsKey));
    EXPECT_EQ(dialogKeys(IDD_SETTINGS), KeyRange(kFirstSettingsKey, kFirstAlarmKey));
    EXPECT_EQ(dialogKeys(IDD_ALARM), KeyRange(kFirstAlarmKey, kFirstNoteTitleKey));
    EXPECT_EQ(dialogKeys(IDD_NOTE_TITLE), KeyRange(kFirstNoteTitleKey, kEmailHeader));
    DestroyMenu(noteMenu);
    DestroyMenu(mainMenu);
}

// Menu icons are drawn 16 x 16 into the item's bitmap slot; a missing one
// would silently show nothing.
TEST(MenuResources, IconsAndMenuBitmaps) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (int id : {IDM_NEW_NOTE, IDM_NEW_NOTE_FROM_CLIPBOARD, IDM_NEW_NOTE_FROM_FILE,
                   IDM_NEW_NOTE_FROM_ZEPHYN2, IDM_RECYCLE_BIN_OPEN, IDM_NOTE_DELETE,
                   IDM_NOTE_SAVE_AS, IDM_NOTE_EMAIL_TO, IDM_NOTE_COPY, IDM_NOTE_PASTE,
                   IDM_EXPORT_NOTES, IDM_NOTE_UNDO, IDM_NOTE_REDO}) {
        HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
        ASSERT_NE(bitmap, nullptr) << id;
        BITMAP info = {};
        GetObjectW(bitmap, sizeof(info), &info);
        EXPECT_EQ(info.bmWidth, 16) << id;
        EXPECT_EQ(info.bmHeight, 16) << id;
        DeleteObject(bitmap);
    }
    // Commands without an icon must not find a bitmap of their identifier.
    for (int id : {IDM_NOTE_EDIT, IDM_EXIT, IDM_RECYCLE_BIN_EMPTY})
        EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP), nullptr) << id;

    for (int id : {IDI_APP, IDI_TRAY}) {
        HICON small = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                    GetSystemMetrics(SM_CXSMICON),
                                                    GetSystemMetrics(SM_CYSMICON), 0));
        EXPECT_NE(small, nullptr) << id;
        if (small) DestroyIcon(small);
    }
}
