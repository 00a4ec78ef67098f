#include "skin/Skin_win.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "skin/SkinTint.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"

namespace {

std::wstring SkinDir(const wchar_t* name) {
    return TestPaths::SourceDir() + L"\\skins\\" + name + L"\\";
}

// Loads a skin folder with the stored theme index; returns the index in use.
uint32_t Load(Skin& skin, const std::wstring& folder, const char* storedTheme, bool layered) {
    SettingsStore ini(folder + L"Skin.ini");
    const std::wstring settingsPath = TestPaths::MakeScratchDir() + L"Settings.ini";
    FileIo::WriteFileAtomically(settingsPath,
                                std::string("[Root]\nSkinColorThemeIndex=") + storedTheme);
    SettingsStore settings(settingsPath);
    uint32_t themeIndex = 99;
    LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, layered}, themeIndex);
    return themeIndex;
}

TEST(SkinLoad, DefaultSkinLoadsWholeAndReleasesEverything) {
    const size_t listedBefore = SkinBitmapList::Items().size();
    {
        Skin skin;
        EXPECT_EQ(1u, Load(skin, SkinDir(L"Default"), "1", true));
        ASSERT_TRUE(skin.background && skin.mask);
        EXPECT_EQ(skin.background->Width(), skin.mask->Width());
        EXPECT_TRUE(skin.moreTextBitmap && skin.priorityBitmaps[0] && skin.mainWindowBackground);
        for (const ButtonBitmaps* set :
             {&skin.menuButton.bitmaps, &skin.deleteButton.bitmaps, &skin.mainWindowButton})
            EXPECT_TRUE(set->normal && set->hover && set->down && set->disabled);
        EXPECT_TRUE(skin.noteFont && skin.textBackgroundBrush);
        EXPECT_EQ(Multiply(skin.textBackgroundColor, skin.colorThemes[1].color),
                  skin.themedTextBackgroundColor);
    }
    EXPECT_EQ(listedBefore, SkinBitmapList::Items().size());
}

TEST(SkinLoad, ClassicIsFixedAndEveryShippedSkinHasADisplayName) {
    Skin skin;
    EXPECT_EQ(0u, Load(skin, SkinDir(L"Classic"), "7", false));  // beyond its themes
    EXPECT_TRUE(skin.fixedSize);
    EXPECT_EQ(nullptr, skin.mask);  // not loaded without layered windows
    EXPECT_EQ(L"Classic", SkinDisplayName(SkinDir(L"Classic") + L"Skin.ini"));
    EXPECT_EQ(L"Default", SkinDisplayName(SkinDir(L"Default") + L"Skin.ini"));
    EXPECT_EQ(L"(((Name)))", SkinDisplayName(SkinDir(L"Missing") + L"Skin.ini"));
}

}  // namespace
