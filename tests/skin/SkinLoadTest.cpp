#include "skin/Skin_win.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "FakeValueStore.h"
#include "skin/SkinTint.h"
#include "TestPaths.h"

namespace {

// Reads an INI file into a FakeValueStore by "/Section/Key".
FakeValueStore ReadIni(const std::wstring& path) {
    FakeValueStore store;
    FILE* file = _wfopen(path.c_str(), L"rb");
    if (!file) return store;
    char buffer[512];
    std::string section;
    while (fgets(buffer, sizeof(buffer), file)) {
        std::string line = buffer;
        while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
        if (line.size() > 2 && line[0] == '[') {
            section = line.substr(1, line.size() - 2);
        } else if (auto eq = line.find('='); eq != std::string::npos) {
            store.Set(TestPaths::Widen(("/" + section + "/" + line.substr(0, eq)).c_str()),
                      TestPaths::Widen(line.substr(eq + 1).c_str()));
        }
    }
    fclose(file);
    return store;
}

std::wstring SkinDir(const wchar_t* name) {
    return TestPaths::SourceDir() + L"\\skins\\" + name + L"\\";
}

TEST(SkinLoad, DefaultSkinLoadsWholeAndResizable) {
    const std::wstring folder = SkinDir(L"Default");
    FakeValueStore ini = ReadIni(folder + L"Skin.ini");
    ASSERT_FALSE(ini.values.empty());
    FakeValueStore settings;
    settings.Set(L"/SkinColorThemeIndex", 1);
    const size_t listedBefore = SkinBitmapList::Items().size();
    {
        Skin skin;
        uint32_t themeIndex = 99;
        LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, true}, themeIndex);
        EXPECT_EQ(1u, themeIndex);
        EXPECT_EQ(L"Default", skin.name);
        EXPECT_FALSE(skin.fixedSize);
        EXPECT_GE(skin.colorThemes.size(), 5u);
        ASSERT_NE(nullptr, skin.background);
        EXPECT_EQ(skin.background->Width(), skin.backgroundWidth);
        EXPECT_EQ(skin.background->Height(), skin.backgroundHeight);
        ASSERT_NE(nullptr, skin.mask);
        EXPECT_EQ(skin.backgroundWidth, skin.mask->Width());
        EXPECT_NE(nullptr, skin.moreTextBitmap);
        EXPECT_NE(nullptr, skin.priorityBitmaps[0]);
        EXPECT_NE(nullptr, skin.mainWindowBackground);
        for (const ButtonBitmaps* set :
             {&skin.menuButton.bitmaps, &skin.deleteButton.bitmaps, &skin.mainWindowButton}) {
            EXPECT_TRUE(set->normal && set->hover && set->down && set->disabled);
        }
        EXPECT_TRUE(skin.menuButton.visible);
        EXPECT_NE(nullptr, skin.noteFont);
        EXPECT_NE(nullptr, skin.textBackgroundBrush);
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
    const std::wstring folder = SkinDir(L"Classic");
    FakeValueStore ini = ReadIni(folder + L"Skin.ini");
    FakeValueStore settings;
    settings.Set(L"/SkinColorThemeIndex", 7);  // beyond its themes
    Skin skin;
    uint32_t themeIndex = 99;
    LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, false}, themeIndex);
    EXPECT_EQ(0u, themeIndex);
    EXPECT_TRUE(skin.fixedSize);
    EXPECT_EQ(nullptr, skin.mask);  // not loaded without layered windows
    EXPECT_NE(nullptr, skin.background);

    EXPECT_EQ(L"Classic", SkinDisplayName(folder + L"Skin.ini"));
    EXPECT_EQ(L"Default", SkinDisplayName(SkinDir(L"Default") + L"Skin.ini"));
    EXPECT_EQ(L"(((Name)))", SkinDisplayName(SkinDir(L"Missing") + L"Skin.ini"));
}

TEST(SkinLoad, MissingFolderKeepsDefaultsAndAnInvisibleButtonLoadsNothing) {
    const std::wstring folder = TestPaths::MakeScratchDir();
    FakeValueStore ini;
    ini.Set(L"/MenuButton/Visible", 0);
    FakeValueStore settings;
    Skin skin;
    uint32_t themeIndex = 5;
    LoadSkin(skin, ini, settings, SkinLoadOptions{folder, nullptr, true}, themeIndex);
    EXPECT_EQ(0u, themeIndex);
    EXPECT_EQ(kDefaultBackgroundWidth, skin.backgroundWidth);
    EXPECT_EQ(kDefaultBackgroundHeight, skin.backgroundHeight);
    EXPECT_EQ(nullptr, skin.background);
    EXPECT_EQ(nullptr, skin.menuButton.bitmaps.normal);
    ASSERT_EQ(1u, skin.colorThemes.size());
    EXPECT_EQ(0, lstrcmpW(L"Arial", skin.noteLogFont.lfFaceName));
}

TEST(SkinLoad, LogFontFollowsTheSkinFont) {
    SkinFontInfo info;
    info.face = std::wstring(31, L'f');
    info.pointSize = 12;
    info.bold = true;
    info.italic = true;
    const LOGFONTW font = MakeNoteLogFont(info, 96);
    EXPECT_EQ(-16, font.lfHeight);
    EXPECT_EQ(FW_BOLD, font.lfWeight);
    EXPECT_EQ(1, font.lfItalic);
    EXPECT_EQ(DEFAULT_CHARSET, font.lfCharSet);
    EXPECT_EQ(ANTIALIASED_QUALITY, font.lfQuality);
    EXPECT_EQ(info.face, std::wstring(font.lfFaceName));

    info.pointSize = 0;
    EXPECT_EQ(0, MakeNoteLogFont(info, 96).lfHeight);
}

}  // namespace
