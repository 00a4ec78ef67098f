#include "lang/Translate_win.h"

#include <gtest/gtest.h>

#include "support/LanguageFiles.h"
#include "lang/LanguageTable.h"

namespace {

std::wstring ItemString(HMENU menu, UINT position) {
    wchar_t buffer[256] = {};
    GetMenuStringW(menu, position, buffer, 256, MF_BYPOSITION);
    return buffer;
}

std::wstring Text(HWND window) {
    wchar_t buffer[256] = {};
    GetWindowTextW(window, buffer, 256);
    return buffer;
}

class TranslateTest : public ::testing::Test {
protected:
    void SetUp() override {
        table_.Load(
            LangTest::WriteIni(TestPaths::MakeScratchDir(), L"Lang.ini",
                               L"[Text]\nMainMenu_Exit=E&xit\nMainMenu_Settings=S&ettings\n"
                               L"MainMenu_ShowNotes=&Show Notes\n"
                               L"Settings_Title=Preferences\nSettings_Translucency=&Opacity:\n"
                               L"Settings_OK=OK\nSettings_Apply=&Apply\n"));
        // Shaped like the main menu resource: a bar item whose popup holds items, a
        // separator, a submenu and a placeholder.
        AppendMenuW(settings_, MF_STRING, 142, L"MainMenu_General");
        AppendMenuW(settings_, MF_STRING, 161, L"0");
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
};

TEST_F(TranslateTest, MenuKeysBecomeTextsAtEveryLevelAndNothingElseChanges) {
    AppendMenuW(popup_, MF_OWNERDRAW, 600, reinterpret_cast<const wchar_t*>(0xC0FFEE));

    TranslateMenu(bar_, table_);

    EXPECT_EQ(ItemString(bar_, 0), L"(&MainWindow)");
    EXPECT_EQ(ItemString(popup_, 0), L"&Show Notes");
    EXPECT_EQ(ItemString(popup_, 2), L"S&ettings");
    EXPECT_EQ(ItemString(popup_, 3), L"E&xit");
    EXPECT_EQ(ItemString(popup_, 4), L"(Exit now)");
    EXPECT_EQ(ItemString(settings_, 0), L"(((MainMenu_General)))");
    EXPECT_EQ(ItemString(settings_, 1), L"(0)");

    EXPECT_EQ(GetMenuState(popup_, 0, MF_BYPOSITION) & (MF_CHECKED | MF_GRAYED),
              UINT(MF_CHECKED | MF_GRAYED));
    EXPECT_EQ(GetSubMenu(popup_, 2), settings_);
    // An owner-drawn item has no text to translate; its data is no string.
    EXPECT_TRUE(GetMenuState(popup_, 5, MF_BYPOSITION) & MF_OWNERDRAW);
    EXPECT_EQ(GetMenuItemCount(popup_), 6);
}

TEST_F(TranslateTest, DialogCaptionAndChildKeysAreTranslatedOtherTextsStay) {
    HWND dialog = CreateWindowExW(0, L"STATIC", L"Settings_Title", WS_POPUP, 0, 0, 200, 120,
                                  nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(dialog);
    auto add = [&](HWND parent, const wchar_t* text) {
        return CreateWindowExW(0, L"BUTTON", text, WS_CHILD, 0, 0, 10, 10, parent, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    };
    const struct {
        HWND child;
        const wchar_t* expected;
    } children[] = {
        {add(dialog, L"Settings_Translucency"), L"&Opacity:"},
        {add(dialog, L"50%"), L"50%"},
        // A key the language lacks shows as the key; a near miss is no key at all.
        {add(dialog, L"Settings_Cancel"), L"(((Settings_Cancel)))"},
        {add(dialog, L"settings_ok"), L"settings_ok"},
    };
    // Only direct children are the dialog's controls.
    HWND grandchild = add(children[0].child, L"Settings_Apply");

    TranslateDialog(dialog, table_);

    EXPECT_EQ(Text(dialog), L"Preferences");
    for (const auto& c : children) EXPECT_EQ(Text(c.child), c.expected);
    EXPECT_EQ(Text(grandchild), L"Settings_Apply");
    DestroyWindow(dialog);
}

}  // namespace
