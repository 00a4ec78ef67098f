// A colour theme the user has not chosen follows Windows' light or dark apps,
// at start and live when Windows says its colours changed; a chosen theme
// stays whatever Windows does, and "Like Windows" gives the choice back.

#include <windows.h>

#include "ApplicationFixture.h"
#include "main/MenuLists.h"
#include "notes/NoteWindow_win.h"

namespace {

constexpr const wchar_t* kPersonalize =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Themes\\Personalize";

class ColorModeTest : public ApplicationFixture {
protected:
    void SetUp() override {
        // Other programs of the test prefix may start meanwhile: the value is
        // put back as it was.
        DWORD size = sizeof(savedValue);
        hadValue = RegGetValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme",
                                RRF_RT_REG_DWORD, nullptr, &savedValue, &size) == ERROR_SUCCESS;
    }
    void TearDown() override {
        if (hadValue)
            SetAppsLight(savedValue != 0);
        else
            RegDeleteKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme");
        ApplicationFixture::TearDown();
    }
    static void SetAppsLight(bool light) {
        const DWORD value = light ? 1 : 0;
        ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, kPersonalize, L"AppsUseLightTheme", REG_DWORD,
                                  &value, sizeof(value)),
                  ERROR_SUCCESS);
    }
    // What Windows broadcasts to every top-level window.
    void ColoursChanged(const wchar_t* what = L"ImmersiveColorSet") {
        app->Send(WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(what));
        PumpMessages();
    }
    Application& Restarted() {
        EXPECT_TRUE(restart);
        app.reset();
        PumpMessages();
        restart = false;
        return Start();
    }
    bool Dark(const Application& a) const {
        return a.NoteSkin().colorThemes[a.ColorThemeIndex()].dark;
    }

    DWORD savedValue = 1;
    bool hadValue = false;
};

TEST_F(ColorModeTest, AThemeNobodyChoseFollowsWindowsAtStartAndLive) {
    SeedNotes({Record({100, 100, 300, 250}, L"note")});
    SetAppsLight(false);
    Application& a = Start();
    EXPECT_FALSE(a.ColorThemeChosen());
    ASSERT_TRUE(Dark(a));
    const ColorTheme& theme = a.NoteSkin().colorThemes[a.ColorThemeIndex()];
    EXPECT_EQ(a.NoteSkin().themedTextColor, theme.textColor);

    // Other settings, and colours that did not change, restart nothing.
    ColoursChanged(L"Environment");
    ColoursChanged();
    EXPECT_FALSE(restart);

    SetAppsLight(true);
    ColoursChanged();
    Application& b = Restarted();
    EXPECT_FALSE(Dark(b));
    EXPECT_EQ(b.ColorThemeIndex(), 0u);
    EXPECT_EQ(ReadSetting(L"/SkinColorThemeIndex"), L"");  // still nobody's choice

    // While a note is edited the change waits, then comes once the edit ends.
    b.Notes()[0]->BeginEdit(false);
    SetAppsLight(false);
    ColoursChanged();
    PumpFor(300);
    EXPECT_FALSE(restart);
    b.Notes()[0]->EndEdit(false, true);
    ASSERT_TRUE(PumpUntil([&] { return restart; }, 5000));
    EXPECT_TRUE(Dark(Restarted()));
}

TEST_F(ColorModeTest, AChosenThemeStaysAndLikeWindowsGivesTheChoiceBack) {
    // As a settings file of an earlier version that chose the second theme.
    SettingsStore(SettingsPath()).WriteUInt32(L"/SkinColorThemeIndex", 1);
    SetAppsLight(false);
    Application& a = Start();
    EXPECT_TRUE(a.ColorThemeChosen());
    EXPECT_EQ(a.ColorThemeIndex(), 1u);
    ColoursChanged();
    SetAppsLight(true);
    ColoursChanged();
    EXPECT_FALSE(restart);
    EXPECT_EQ(a.ColorThemeIndex(), 1u);

    // "Like Windows", the item after the themes.
    const UINT likeWindows =
        MenuLists::kFirstColorThemeId + static_cast<UINT>(a.NoteSkin().colorThemes.size());
    SetAppsLight(false);
    a.Send(WM_COMMAND, likeWindows, 0);
    Application& b = Restarted();
    EXPECT_FALSE(b.ColorThemeChosen());
    EXPECT_TRUE(Dark(b));

    // Choosing the theme Windows gave makes it the user's own.
    const UINT current = MenuLists::kFirstColorThemeId + b.ColorThemeIndex();
    b.Send(WM_COMMAND, current, 0);
    Application& c = Restarted();
    EXPECT_TRUE(c.ColorThemeChosen());
    SetAppsLight(true);
    ColoursChanged();
    EXPECT_FALSE(restart);
    EXPECT_TRUE(Dark(c));
}

}  // namespace
