#include "skin/Skin_win.h"

#include <gtest/gtest.h>

#include "FakeValueStore.h"
#include "TestPaths.h"
#include "skin/SkinTint.h"
#include "store/SettingsStore.h"

namespace {

std::wstring SkinDir(const wchar_t* name) {
    return TestPaths::SourceDir() + L"\\skins\\" + name + L"\\";
}

// Loads a skin folder with the stored theme index; returns the index in use.
uint32_t Load(Skin& skin, const std::wstring& folder, const wchar_t* storedTheme, bool layered) {
    SettingsStore ini(folder + L"Skin.ini");
    FakeValueStore settings = {{L"/SkinColorThemeIndex", storedTheme}};
    uint32_t themeIndex = 99;
    LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, layered}, themeIndex);
    return themeIndex;
}

TEST(SkinLoad, DefaultSkinLoadsWholeAndReleasesEverything) {
    const size_t listedBefore = SkinBitmapList::Items().size();
    {
        Skin skin;
        EXPECT_EQ(1u, Load(skin, SkinDir(L"Default"), L"1", true));
        EXPECT_EQ(L"Default", skin.name);
        EXPECT_FALSE(skin.fixedSize);
        EXPECT_GE(skin.colorThemes.size(), 5u);
        ASSERT_TRUE(skin.background && skin.mask);
        EXPECT_EQ(skin.background->Width(), skin.backgroundWidth);
        EXPECT_EQ(skin.background->Height(), skin.backgroundHeight);
        EXPECT_EQ(skin.backgroundWidth, skin.mask->Width());
        EXPECT_TRUE(skin.moreTextBitmap && skin.priorityBitmaps[0] && skin.mainWindowBackground);
        for (const ButtonBitmaps* set :
             {&skin.menuButton.bitmaps, &skin.deleteButton.bitmaps, &skin.mainWindowButton})
            EXPECT_TRUE(set->normal && set->hover && set->down && set->disabled);
        EXPECT_TRUE(skin.noteFont && skin.textBackgroundBrush);
        EXPECT_LT(skin.noteLogFont.lfHeight, 0);
        EXPECT_EQ(Multiply(skin.textBackgroundColor, skin.colorThemes[1].color),
                  skin.themedTextBackgroundColor);
        // The slices must fit inside the background for tiling to make sense.
        EXPECT_LT(skin.backgroundBorders.left + skin.backgroundBorders.right, skin.backgroundWidth);
        EXPECT_LT(skin.backgroundBorders.top + skin.backgroundBorders.bottom,
                  skin.backgroundHeight);
    }
    EXPECT_EQ(listedBefore, SkinBitmapList::Items().size());
}

TEST(SkinLoad, ClassicIsFixedAndEveryShippedSkinHasADisplayName) {
    Skin skin;
    EXPECT_EQ(0u, Load(skin, SkinDir(L"Classic"), L"7", false));  // beyond its themes
    EXPECT_TRUE(skin.fixedSize);
    EXPECT_EQ(nullptr, skin.mask);  // not loaded without layered windows
    EXPECT_NE(nullptr, skin.background);
    EXPECT_EQ(L"Classic", SkinDisplayName(SkinDir(L"Classic") + L"Skin.ini"));
    EXPECT_EQ(L"Default", SkinDisplayName(SkinDir(L"Default") + L"Skin.ini"));
    EXPECT_EQ(L"(((Name)))", SkinDisplayName(SkinDir(L"Missing") + L"Skin.ini"));
}

TEST(SkinLoad, EmptyFolderKeepsDefaults) {
    Skin skin;
    EXPECT_EQ(0u, Load(skin, TestPaths::MakeScratchDir(), L"5", true));
    EXPECT_EQ(kDefaultBackgroundWidth, skin.backgroundWidth);
    EXPECT_EQ(nullptr, skin.background);
    EXPECT_EQ(nullptr, skin.menuButton.bitmaps.normal);
    ASSERT_EQ(1u, skin.colorThemes.size());
    EXPECT_EQ(0, lstrcmpW(L"Arial", skin.noteLogFont.lfFaceName));
}

TEST(SkinLoad, LogFontFollowsTheSkinFont) {
    SkinFontInfo info{std::wstring(31, L'f'), 12, true, true};
    const LOGFONTW font = MakeNoteLogFont(info, 96);
    EXPECT_EQ(-16, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(info.face, std::wstring(font.lfFaceName));
    info.pointSize = 0;
    EXPECT_EQ(0, MakeNoteLogFont(info, 96).lfHeight);
}

}  // namespace
