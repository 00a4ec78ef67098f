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

constexpr int kSeparator = 0;
constexpr int kSubmenu = -1;

std::vector<int> IdsOf(HMENU menu) {
    std::vector<int> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        const UINT state = GetMenuState(menu, i, MF_BYPOSITION);
        if (GetSubMenu(menu, i))
            ids.push_back(kSubmenu);
        else if (state & MF_SEPARATOR)
            ids.push_back(kSeparator);
        else
            ids.push_back(static_cast<int>(GetMenuItemID(menu, i)));
    }
    return ids;
}

// The menu code reaches items by identifier and the submenus it fills by
// position; each of those holds a single placeholder in the resource.
TEST(MenuResources, LayoutOfBothMenus) {
    HMENU mainMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    HMENU noteMenu = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
    ASSERT_TRUE(mainMenu && noteMenu);
    ASSERT_EQ(GetMenuItemCount(mainMenu), 1);
    ASSERT_EQ(GetMenuItemCount(noteMenu), 1);
    HMENU mainPopup = GetSubMenu(mainMenu, 0);
    HMENU notePopup = GetSubMenu(noteMenu, 0);
    HMENU settings = GetSubMenu(mainPopup, 12);
    const int sub = kSubmenu, sep = kSeparator;

    EXPECT_EQ(IdsOf(mainPopup),
              (std::vector<int>{132, sub, sep, 137, 169, 138, 201, 32774, sub, sep, sub, sep, sub,
                                sep, 144, 145, sep, 147, 148}));
    EXPECT_EQ(IdsOf(GetSubMenu(mainPopup, 1)), (std::vector<int>{134, 135, sep, 136}));
    EXPECT_EQ(IdsOf(GetSubMenu(mainPopup, 10)), (std::vector<int>{140, 141}));
    EXPECT_EQ(IdsOf(settings), (std::vector<int>{142, sep, sub, sep, sub, sub, sep, 164, 182}));

    EXPECT_EQ(IdsOf(notePopup),
              (std::vector<int>{181, 32777, 32778, 150, 151, 198, sep, 158, 157, sep, 156, sep,
                                sub, sub,   sub,   sub, sep, sub, sep, 152, 153, sep, 154, 155}));
    EXPECT_EQ(IdsOf(GetSubMenu(notePopup, 12)), (std::vector<int>{188, 189, 190, 191, 192}));
    EXPECT_EQ(IdsOf(GetSubMenu(notePopup, 13)), (std::vector<int>{204, 205}));
    EXPECT_EQ(IdsOf(GetSubMenu(notePopup, 14)), (std::vector<int>{196, 195}));
    EXPECT_EQ(IdsOf(GetSubMenu(notePopup, 15)), (std::vector<int>{176, sep, 177, 179, sep, 180}));

    const struct {
        HMENU submenu;
        int placeholder;
    } filled[] = {
        {GetSubMenu(mainPopup, 8), IDM_NOTES_PLACEHOLDER},
        {GetSubMenu(settings, 2), IDM_LANGUAGES_PLACEHOLDER},
        {GetSubMenu(settings, 4), IDM_SKINS_PLACEHOLDER},
        {GetSubMenu(settings, 5), IDM_COLOR_THEMES_PLACEHOLDER},
        {GetSubMenu(notePopup, 17), IDM_LINKS_PLACEHOLDER},
    };
    for (const auto& f : filled) EXPECT_EQ(IdsOf(f.submenu), std::vector<int>{f.placeholder});
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
