// The menus, icons and menu bitmaps among the program's resources, and the
// language keys that the menus and dialogs carry as their texts.

#include <windows.h>

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "DialogTemplateReader.h"
#include "lang/LanguageKeys.h"
#include "res/resource.h"

namespace {

constexpr int kSeparator = 0;
constexpr int kSubmenu = -1;

std::vector<int> IdsOf(HMENU menu) {
    std::vector<int> ids;
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        if (GetSubMenu(menu, i))
            ids.push_back(kSubmenu);
        else
            ids.push_back(GetMenuState(menu, i, MF_BYPOSITION) & MF_SEPARATOR
                              ? kSeparator
                              : static_cast<int>(GetMenuItemID(menu, i)));
    }
    return ids;
}

// The texts of every level of a menu.
void MenuKeys(HMENU menu, std::multiset<std::wstring>& out) {
    for (int i = 0; i < GetMenuItemCount(menu); ++i) {
        wchar_t text[256] = {};
        if (GetMenuStringW(menu, i, text, 256, MF_BYPOSITION) > 0) out.insert(text);
        if (HMENU sub = GetSubMenu(menu, i)) MenuKeys(sub, out);
    }
}

struct Menus {
    HMENU main = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_MAIN_MENU));
    HMENU note = LoadMenuW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDR_NOTE_MENU));
    ~Menus() { DestroyMenu(main), DestroyMenu(note); }
};

}  // namespace

// The menu code reaches items by identifier and the submenus it fills by
// position; each of those holds a single placeholder in the resource.
TEST(MenuResources, LayoutOfBothMenus) {
    Menus menus;
    ASSERT_TRUE(menus.main && menus.note);
    ASSERT_EQ(GetMenuItemCount(menus.main), 1);
    ASSERT_EQ(GetMenuItemCount(menus.note), 1);
    HMENU mainPopup = GetSubMenu(menus.main, 0), notePopup = GetSubMenu(menus.note, 0);
    HMENU settings = GetSubMenu(mainPopup, 12);
    const int sub = kSubmenu, sep = kSeparator;
    const struct {
        HMENU menu;
        std::vector<int> ids;
    } layouts[] = {
        {mainPopup,
         {132, sub, sep, 137, 169, 138, 201, 32774, sub, sep, sub, sep, sub, sep, 144, 145, sep,
          147, 148}},
        {GetSubMenu(mainPopup, 1), {134, 135, sep, 136}},
        {GetSubMenu(mainPopup, 10), {140, 141}},
        {settings, {142, sep, sub, sep, sub, sub, sep, 164, 182}},
        {notePopup, {181, 32777, 32778, 150, 151, 198, sep, 158, 157, sep, 156, sep,
                     sub, sub,   sub,   sub, sep, sub, sep, 152, 153, sep, 154, 155}},
        {GetSubMenu(notePopup, 12), {188, 189, 190, 191, 192}},
        {GetSubMenu(notePopup, 13), {204, 205}},
        {GetSubMenu(notePopup, 14), {196, 195}},
        {GetSubMenu(notePopup, 15), {176, sep, 177, 179, sep, 180}},
        {GetSubMenu(mainPopup, 8), {IDM_NOTES_PLACEHOLDER}},
        {GetSubMenu(settings, 2), {IDM_LANGUAGES_PLACEHOLDER}},
        {GetSubMenu(settings, 4), {IDM_SKINS_PLACEHOLDER}},
        {GetSubMenu(settings, 5), {IDM_COLOR_THEMES_PLACEHOLDER}},
        {GetSubMenu(notePopup, 17), {IDM_LINKS_PLACEHOLDER}},
    };
    for (size_t i = 0; i < std::size(layouts); ++i)
        EXPECT_EQ(IdsOf(layouts[i].menu), layouts[i].ids) << i;
}

// Each resource uses exactly its own range of language keys, each key once.
TEST(MenuResources, TextsAreTheLanguageKeys) {
    Menus menus;
    ASSERT_TRUE(menus.main && menus.note);
    auto range = [](int first, int end) {
        return std::multiset<std::wstring>(kLanguageKeys + first, kLanguageKeys + end);
    };
    const std::set<std::wstring> notKeys = {L"&MainWindow", L"&Note", L"0", L"0%", L"50%", L"100%"};
    auto withoutNonKeys = [&](std::multiset<std::wstring> texts) {
        for (const auto& t : notKeys) texts.erase(t);
        return texts;
    };
    auto dialogKeys = [&](int id) {
        DialogData d;
        EXPECT_TRUE(DialogTemplateReader::Read(id, d)) << id;
        std::multiset<std::wstring> texts = {d.caption};
        for (const auto& item : d.items)
            if (!item.text.empty()) texts.insert(item.text);
        return withoutNonKeys(texts);
    };
    std::multiset<std::wstring> noteTexts, mainTexts;
    MenuKeys(menus.note, noteTexts);
    MenuKeys(menus.main, mainTexts);
    EXPECT_EQ(withoutNonKeys(noteTexts), range(kFirstNoteMenuKey, kFirstMainMenuKey));
    EXPECT_EQ(withoutNonKeys(mainTexts), range(kFirstMainMenuKey, kFirstSettingsKey));
    EXPECT_EQ(dialogKeys(IDD_SETTINGS), range(kFirstSettingsKey, kFirstAlarmKey));
    EXPECT_EQ(dialogKeys(IDD_ALARM), range(kFirstAlarmKey, kFirstNoteTitleKey));
    EXPECT_EQ(dialogKeys(IDD_NOTE_TITLE), range(kFirstNoteTitleKey, kEmailHeader));
}

// Menu icons are drawn 16 x 16 into the item's bitmap slot; a missing one would
// silently show nothing, and a command without an icon must not find one.
TEST(MenuResources, IconsAndMenuBitmaps) {
    HINSTANCE module = GetModuleHandleW(nullptr);
    for (int id : {IDM_NEW_NOTE, IDM_NEW_NOTE_FROM_CLIPBOARD, IDM_NEW_NOTE_FROM_FILE,
                   IDM_NEW_NOTE_FROM_ZEPHYN2, IDM_RECYCLE_BIN_OPEN, IDM_NOTE_DELETE,
                   IDM_NOTE_SAVE_AS, IDM_NOTE_EMAIL_TO, IDM_NOTE_COPY, IDM_NOTE_PASTE,
                   IDM_EXPORT_NOTES, IDM_NOTE_UNDO, IDM_NOTE_REDO}) {
        HBITMAP bitmap = LoadBitmapW(module, MAKEINTRESOURCEW(id));
        BITMAP info = {};
        EXPECT_TRUE(bitmap && GetObjectW(bitmap, sizeof(info), &info) && info.bmWidth == 16 &&
                    info.bmHeight == 16)
            << id;
        DeleteObject(bitmap);
    }
    for (int id : {IDM_NOTE_EDIT, IDM_EXIT, IDM_RECYCLE_BIN_EMPTY})
        EXPECT_EQ(FindResourceW(module, MAKEINTRESOURCEW(id), RT_BITMAP), nullptr) << id;
    for (int id : {IDI_APP, IDI_TRAY}) {
        HICON icon = static_cast<HICON>(LoadImageW(module, MAKEINTRESOURCEW(id), IMAGE_ICON,
                                                   GetSystemMetrics(SM_CXSMICON),
                                                   GetSystemMetrics(SM_CYSMICON), 0));
        EXPECT_NE(icon, nullptr) << id;
        DestroyIcon(icon);
    }
}
