#include "lang/Translate_win.h"

#include <gtest/gtest.h>

#include "LangTestUtil.h"
#include "lang/LanguageTable.h"

namespace {

std::wstring ItemString(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    MENUITEMINFOW info = {sizeof(info), MIIM_STRING};
    info.dwTypeData = buffer;
    info.cch = 256;
    return GetMenuItemInfoW(menu, position, TRUE, &info) ? buffer : L"<failed>";
}

MENUITEMINFOW ItemInfo(HMENU menu, UINT position) {
    MENUITEMINFOW info = {sizeof(info)};
    info.fMask = MIIM_ID | MIIM_STATE | MIIM_FTYPE | MIIM_SUBMENU | MIIM_DATA | MIIM_BITMAP;
    GetMenuItemInfoW(menu, position, TRUE, &info);
    return info;
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

class TranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_.Load(LangTest::WriteIni(
            TestPaths::MakeScratchDir(), L"Lang.ini",
            L"[Text]\nMainMenu_Exit=E&xit\nMainMenu_Settings=S&ettings\n"
            L"MainMenu_SelectLanguage=&Language\nMainMenu_ShowNotes=&Show Notes\n"
            L"Settings_Title=Preferences\nSettings_Translucency=&Opacity:\n"
            L"Settings_OK=OK\nSettings_Apply=&Apply\n"));
        // Shaped like the main menu resource: a bar item whose popup holds items, a
        // separator, a placeholder and a submenu inside a submenu.
        AppendMenuW(languages_, MF_STRING, 161, L"0");
        AppendMenuW(settings_, MF_STRING, 142, L"MainMenu_General");
        AppendMenuW(settings_, MF_POPUP, reinterpret_cast<UINT_PTR>(languages_),
                    L"MainMenu_SelectLanguage");
        AppendMenuW(popup_, MF_STRING | MF_CHECKED | MF_GRAYED, 137, L"MainMenu_ShowNotes");
        AppendMenuW(popup_, MF_SEPARATOR, 0, nullptr);
        AppendMenuW(popup_, MF_POPUP, reinterpret_cast<UINT_PTR>(settings_), L"MainMenu_Settings");
        AppendMenuW(popup_, MF_STRING, 148, L"MainMenu_Exit");
        AppendMenuW(popup_, MF_STRING, 500, L"Exit now");
        AppendMenuW(bar_, MF_POPUP, reinterpret_cast<UINT_PTR>(popup_), L"&MainWindow");
    }
    void TearDown() override { DestroyMenu(bar_); }

    LanguageTable table_;
    HMENU bar_ = CreateMenu();
    HMENU popup_ = CreatePopupMenu();
    HMENU settings_ = CreatePopupMenu();
    HMENU languages_ = CreatePopupMenu();
};

TEST_F(TranslateTest, MenuKeysBecomeTextsAtEveryLevelAndNothingElseChanges) {
    MENUITEMINFOW extra = {sizeof(extra), MIIM_DATA | MIIM_BITMAP};
    extra.dwItemData = 0x5EED;
    extra.hbmpItem = HBMMENU_CALLBACK;
    SetMenuItemInfoW(popup_, 3, TRUE, &extra);
    const ULONG_PTR ownerData = 0xC0FFEE;
    AppendMenuW(popup_, MF_OWNERDRAW, 600, reinterpret_cast<const wchar_t*>(ownerData));
    const MENUITEMINFOW before = ItemInfo(popup_, 0);

    TranslateMenu(bar_, table_);

    EXPECT_EQ(ItemString(bar_, 0), L"(&MainWindow)");
    EXPECT_EQ(ItemString(popup_, 0), L"&Show Notes");
    EXPECT_EQ(ItemString(popup_, 2), L"S&ettings");
    EXPECT_EQ(ItemString(popup_, 3), L"E&xit");
    EXPECT_EQ(ItemString(popup_, 4), L"(Exit now)");
    EXPECT_EQ(ItemString(settings_, 0), L"(((MainMenu_General)))");
    EXPECT_EQ(ItemString(settings_, 1), L"&Language");
    EXPECT_EQ(ItemString(languages_, 0), L"(0)");

    const MENUITEMINFOW shown = ItemInfo(popup_, 0);
    EXPECT_EQ(shown.wID, 137u);
    EXPECT_EQ(shown.fState & (MFS_CHECKED | MFS_GRAYED),
              before.fState & (MFS_CHECKED | MFS_GRAYED));
    EXPECT_TRUE(ItemInfo(popup_, 1).fType & MFT_SEPARATOR);
    EXPECT_EQ(ItemInfo(popup_, 2).hSubMenu, settings_);
    EXPECT_EQ(ItemInfo(settings_, 1).hSubMenu, languages_);
    const MENUITEMINFOW exit = ItemInfo(popup_, 3);
    EXPECT_EQ(exit.dwItemData, 0x5EEDu);
    EXPECT_EQ(exit.hbmpItem, HBMMENU_CALLBACK);
    const MENUITEMINFOW owner = ItemInfo(popup_, 5);
    EXPECT_TRUE(owner.fType & MFT_OWNERDRAW);
    EXPECT_EQ(owner.dwItemData, ownerData);
    EXPECT_EQ(GetMenuItemCount(popup_), 6);
}

TEST_F(TranslateTest, ProcessWideTableIsTheDefault) {
    LoadLanguage(LangTest::WriteIni(TestPaths::MakeScratchDir(), L"Shared.ini",
                                    L"[Text]\nMainMenu_Exit=Quit"));
    TranslateMenu(bar_);
    EXPECT_EQ(ItemString(popup_, 3), L"Quit");
    EXPECT_EQ(ItemString(popup_, 0), L"(((MainMenu_ShowNotes)))");
}

TEST_F(TranslateTest, DialogCaptionAndChildKeysAreTranslatedOtherTextsStay) {
    for (const wchar_t* caption : {L"Settings_Title", L"Alarm"}) {
        HWND dialog = CreateWindowExW(0, L"STATIC", caption, WS_POPUP, 0, 0, 200, 120, nullptr,
                                      nullptr, GetModuleHandleW(nullptr), nullptr);
        ASSERT_TRUE(dialog);
        auto add = [&](HWND parent, const wchar_t* cls, const wchar_t* text) {
            return CreateWindowExW(0, cls, text, WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                                   GetModuleHandleW(nullptr), nullptr);
        };
        const struct {
            HWND child;
            const wchar_t* expected;
        } children[] = {
            {add(dialog, L"STATIC", L"Settings_Translucency"), L"&Opacity:"},
            {add(dialog, L"BUTTON", L"50%"), L"50%"},
            {add(dialog, L"EDIT", L""), L""},
            {add(dialog, L"BUTTON", L"Settings_OK"), L"OK"},
            {add(dialog, L"BUTTON", L"Settings_Apply"), L"&Apply"},
            // A key the language lacks shows as the key; a near miss is no key at all.
            {add(dialog, L"BUTTON", L"Settings_Cancel"), L"(((Settings_Cancel)))"},
            {add(dialog, L"STATIC", L"settings_ok"), L"settings_ok"},
        };
        // Only direct children are the dialog's controls.
        HWND grandchild = add(children[0].child, L"STATIC", L"Settings_Apply");

        TranslateDialog(dialog, table_);

        EXPECT_EQ(Text(dialog), caption[0] == L'S' ? L"Preferences" : L"Alarm");
        for (const auto& c : children) EXPECT_EQ(Text(c.child), c.expected);
        EXPECT_EQ(Text(grandchild), L"Settings_Apply");
        DestroyWindow(dialog);
    }
}

}  // namespace
