#include "skin/SkinDefinition.h"

#include <gtest/gtest.h>

#include "FakeValueStore.h"

namespace {

SkinDefinition Load(FakeValueStore store) {
    SkinDefinition def;
    ReadSkinDefinition(store, def);
    return def;
}

TEST(SkinDefinition, EmptyIniGivesDefaultsAndOneWhiteTheme) {
    const SkinDefinition def = Load({});
    EXPECT_TRUE(def.fixedSize);
    EXPECT_EQ(SkinRect{}, def.backgroundBorders);
    EXPECT_EQ(L"Arial", def.font.face);
    EXPECT_EQ(10, def.font.pointSize);
    EXPECT_FALSE(def.menuButton.visible || def.deleteButton.visible);
    EXPECT_EQ(kDefaultBackgroundWidth, def.backgroundWidth);
    EXPECT_EQ(kDefaultBackgroundHeight, def.backgroundHeight);
    // Without themes there is exactly one, white, so nothing gets tinted.
    ASSERT_EQ(1u, def.colorThemes.size());
    EXPECT_EQ(kWhite, def.colorThemes[0].color);
}

TEST(SkinDefinition, ReadsKeysIntoTheirPlaces) {
    const SkinDefinition def = Load({
        {L"/Skin/Name", L"Paper"},
        {L"/NoteBackground/FixedSize", L"0"},
        {L"/NoteBackground/LeftBorder", L"1"},
        {L"/NoteBackground/TopBorder", L"2"},
        {L"/NoteBackground/RightBorder", L"3"},
        {L"/NoteBackground/BottomBorder", L"4"},
        {L"/NoteMask/LeftBorder", L"5"},
        {L"/NoteEdit/TopBorder", L"30"},
        {L"/NoteFont/Face", L"Tahoma"},
        {L"/NoteFont/PointSize", L"12"},
        {L"/NoteFont/Bold", L"1"},
        {L"/MoreText/PositionX", L"-30"},
        {L"/TextColor/R", L"1"},
        {L"/TextColor/G", L"2"},
        {L"/TextColor/B", L"3"},
        {L"/TextBackgroundColor/R", L"511"},  // only the low 8 bits count
        {L"/NotePriority/X", L"-40"},
        {L"/MainWindow/ButtonY", L"5"},
        {L"/DeleteButton/Visible", L"1"},
        {L"/DeleteButton/X", L"-24"},
        {L"/NoteResize/PositionX", L"-20"},
        {L"/NoteResize/PositionY", L"-18"},
        {L"/NoteResize/Width", L"16"},
        {L"/NoteResize/Height", L"14"},
        // An invisible button keeps its position unread.
        {L"/MenuButton/Visible", L"0"},
        {L"/MenuButton/X", L"10"},
    });
    EXPECT_EQ(L"Paper", def.name);
    EXPECT_FALSE(def.fixedSize);
    EXPECT_EQ((SkinRect{1, 2, 3, 4}), def.backgroundBorders);
    EXPECT_EQ((SkinRect{5, 0, 0, 0}), def.maskInsets);
    EXPECT_EQ((SkinRect{0, 30, 0, 0}), def.editInsets);
    EXPECT_EQ((SkinRect{-20, -18, -4, -4}), def.resizeRect);
    EXPECT_EQ(L"Tahoma", def.font.face);
    EXPECT_EQ(12, def.font.pointSize);
    EXPECT_TRUE(def.font.bold);
    EXPECT_FALSE(def.font.italic);
    EXPECT_EQ(-30, def.moreTextPos.x);
    EXPECT_EQ(0x030201u, def.textColor);
    EXPECT_EQ(0xFFu, def.textBackgroundColor);
    EXPECT_EQ(-40, def.priorityPos.x);
    EXPECT_EQ(5, def.mainButtonPos.y);
    EXPECT_TRUE(def.deleteButton.visible);
    EXPECT_EQ(-24, def.deleteButton.x);
    EXPECT_EQ(0, def.menuButton.x);
}

TEST(SkinDefinition, FaceNamesAreKeptWhenEmptyAndCutToFitLogFont) {
    EXPECT_EQ(L"", Load({{L"/NoteFont/Face", L""}}).font.face);
    EXPECT_EQ(std::wstring(31, L'x'),
              Load({{L"/NoteFont/Face", std::wstring(200, L'x')}}).font.face);
    // A surrogate pair straddling the limit is dropped whole, not halved.
    EXPECT_EQ(std::wstring(30, L'a'),
              Load({{L"/NoteFont/Face", std::wstring(30, L'a') + L"\xD83D\xDE00tail"}}).font.face);
}

TEST(SkinDefinition, ThemesTakeTheSkinNameWhenUnnamedAndTheirCountIsBounded) {
    const SkinDefinition def = Load({{L"/Skin/Name", L"Glass"},
                                     {L"/ColorThemes/Count", L"3"},
                                     {L"/ColorTheme0/R", L"255"},
                                     {L"/ColorTheme0/G", L"128"},
                                     {L"/ColorTheme0/Name", L"Orange"},
                                     {L"/ColorTheme1/B", L"200"},
                                     {L"/ColorTheme2/Name", L""}});
    ASSERT_EQ(3u, def.colorThemes.size());
    EXPECT_EQ(MakeSkinColor(255, 128, 0), def.colorThemes[0].color);
    EXPECT_EQ(L"Orange", def.colorThemes[0].name);
    EXPECT_EQ(MakeSkinColor(0, 0, 200), def.colorThemes[1].color);
    EXPECT_EQ(L"Glass", def.colorThemes[1].name);
    EXPECT_EQ(L"Glass", def.colorThemes[2].name);

    EXPECT_EQ(kMaxColorThemes, Load({{L"/ColorThemes/Count", L"4294967295"}}).colorThemes.size());
}

TEST(SkinDefinition, ReloadingIntoAUsedRecordStartsFromDefaults) {
    FakeValueStore first = {{L"/NoteBackground/FixedSize", L"0"},
                            {L"/ColorThemes/Count", L"4"},
                            {L"/DeleteButton/Visible", L"1"},
                            {L"/DeleteButton/X", L"9"}};
    FakeValueStore empty;
    SkinDefinition def;
    ReadSkinDefinition(first, def);
    ReadSkinDefinition(empty, def);
    EXPECT_TRUE(def.fixedSize);
    EXPECT_EQ(1u, def.colorThemes.size());
    EXPECT_FALSE(def.deleteButton.visible);
    EXPECT_EQ(0, def.deleteButton.x);
}

TEST(SkinDefinition, ThemeIndexOutOfRangeFallsBackToTheFirst) {
    EXPECT_EQ(2u, ResolveThemeIndex(2, 3));
    EXPECT_EQ(0u, ResolveThemeIndex(3, 3));
    EXPECT_EQ(0u, ResolveThemeIndex(4294967295u, 3));

    SkinDefinition def;
    def.colorThemes = {ColorTheme{MakeSkinColor(10, 20, 30), L"a"}};
    EXPECT_EQ(MakeSkinColor(10, 20, 30), ThemeColor(def, 0));
    EXPECT_EQ(kWhite, ThemeColor(def, 1));

    def.textColor = MakeSkinColor(200, 200, 200);
    def.textBackgroundColor = kWhite;
    ApplyThemeToColors(def, MakeSkinColor(255, 128, 0));
    EXPECT_EQ(MakeSkinColor(200, 100, 0), def.themedTextColor);
    EXPECT_EQ(MakeSkinColor(255, 128, 0), def.themedTextBackgroundColor);
}

TEST(SkinDefinition, FolderPathDefaultsToDefault) {
    EXPECT_EQ(L"C:\\P\\Skins\\Default\\", SkinFolderPath(L"C:\\P\\", L""));
    EXPECT_EQ(L"C:\\P\\Skins\\Classic\\", SkinFolderPath(L"C:\\P\\", L"Classic"));
}

}  // namespace
