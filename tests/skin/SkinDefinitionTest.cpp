#include "skin/SkinDefinition.h"

#include <gtest/gtest.h>

#include "FakeValueStore.h"

namespace {

SkinDefinition Load(FakeValueStore& store) {
    SkinDefinition def;
    ReadSkinDefinition(store, def);
    return def;
}

TEST(SkinDefinition, EmptyIniGivesEveryDefault) {
    FakeValueStore store;
    const SkinDefinition def = Load(store);
    EXPECT_EQ(L"", def.name);
    EXPECT_TRUE(def.fixedSize);
    EXPECT_EQ(SkinRect{}, def.backgroundBorders);
    EXPECT_EQ(SkinRect{}, def.maskInsets);
    EXPECT_EQ(SkinRect{}, def.editInsets);
    EXPECT_EQ(SkinRect{}, def.resizeRect);
    EXPECT_EQ(L"Arial", def.font.face);
    EXPECT_EQ(10, def.font.pointSize);
    EXPECT_FALSE(def.font.bold);
    EXPECT_FALSE(def.font.italic);
    EXPECT_EQ(0u, def.textColor);
    EXPECT_EQ(0u, def.textBackgroundColor);
    EXPECT_FALSE(def.menuButton.visible);
    EXPECT_FALSE(def.deleteButton.visible);
    EXPECT_EQ(kDefaultBackgroundWidth, def.backgroundWidth);
    EXPECT_EQ(kDefaultBackgroundHeight, def.backgroundHeight);
    // Without themes there is exactly one, white, so nothing gets tinted.
    ASSERT_EQ(1u, def.colorThemes.size());
    EXPECT_EQ(kWhite, def.colorThemes[0].color);
    EXPECT_EQ(L"", def.colorThemes[0].name);
}

TEST(SkinDefinition, ReadsEveryKey) {
    FakeValueStore s;
    s.Set(L"/Skin/Name", L"Paper");
    s.Set(L"/NoteBackground/FixedSize", 0);
    s.Set(L"/NoteBackground/LeftBorder", 1);
    s.Set(L"/NoteBackground/TopBorder", 2);
    s.Set(L"/NoteBackground/RightBorder", 3);
    s.Set(L"/NoteBackground/BottomBorder", 4);
    s.Set(L"/NoteMask/LeftBorder", 5);
    s.Set(L"/NoteMask/BottomBorder", 8);
    s.Set(L"/NoteEdit/TopBorder", 30);
    s.Set(L"/NoteFont/Face", L"Tahoma");
    s.Set(L"/NoteFont/PointSize", 12);
    s.Set(L"/NoteFont/Bold", 1);
    s.Set(L"/NoteFont/Italic", 1);
    s.Set(L"/MoreText/PositionX", -30);
    s.Set(L"/MoreText/PositionY", -12);
    s.Set(L"/TextColor/R", 1);
    s.Set(L"/TextColor/G", 2);
    s.Set(L"/TextColor/B", 3);
    s.Set(L"/TextBackgroundColor/R", 0x1FF);  // only the low 8 bits count
    s.Set(L"/NotePriority/X", -40);
    s.Set(L"/NotePriority/Y", 6);
    s.Set(L"/MainWindow/ButtonX", 70);
    s.Set(L"/MainWindow/ButtonY", 5);
    s.Set(L"/DeleteButton/Visible", 1);
    s.Set(L"/DeleteButton/X", -24);
    s.Set(L"/DeleteButton/Y", 4);

    const SkinDefinition def = Load(s);
    EXPECT_EQ(L"Paper", def.name);
    EXPECT_FALSE(def.fixedSize);
    EXPECT_EQ((SkinRect{1, 2, 3, 4}), def.backgroundBorders);
    EXPECT_EQ((SkinRect{5, 0, 0, 8}), def.maskInsets);
    EXPECT_EQ((SkinRect{0, 30, 0, 0}), def.editInsets);
    EXPECT_EQ(L"Tahoma", def.font.face);
    EXPECT_EQ(12, def.font.pointSize);
    EXPECT_TRUE(def.font.bold);
    EXPECT_TRUE(def.font.italic);
    EXPECT_EQ(-30, def.moreTextPos.x);
    EXPECT_EQ(-12, def.moreTextPos.y);
    EXPECT_EQ(0x030201u, def.textColor);
    EXPECT_EQ(0xFFu, def.textBackgroundColor);
    EXPECT_EQ(-40, def.priorityPos.x);
    EXPECT_EQ(6, def.priorityPos.y);
    EXPECT_EQ(70, def.mainButtonPos.x);
    EXPECT_EQ(5, def.mainButtonPos.y);
    EXPECT_TRUE(def.deleteButton.visible);
    EXPECT_EQ(-24, def.deleteButton.x);
    EXPECT_EQ(4, def.deleteButton.y);
}

TEST(SkinDefinition, ResizeGripFromPositionAndSize) {
    FakeValueStore s;
    s.Set(L"/NoteResize/PositionX", -20);
    s.Set(L"/NoteResize/PositionY", -18);
    s.Set(L"/NoteResize/Width", 16);
    s.Set(L"/NoteResize/Height", 14);
    EXPECT_EQ((SkinRect{-20, -18, -4, -4}), Load(s).resizeRect);
}

TEST(SkinDefinition, FontKeysPresentButEmptyOrZeroAreKept) {
    FakeValueStore s;
    s.Set(L"/NoteFont/Face", L"");
    s.Set(L"/NoteFont/PointSize", 0);
    const SkinDefinition def = Load(s);
    EXPECT_EQ(L"", def.font.face);
    EXPECT_EQ(0, def.font.pointSize);
}

TEST(SkinDefinition, OverlongFaceNameIsCutToFitLogFont) {
    FakeValueStore s;
    s.Set(L"/NoteFont/Face", std::wstring(200, L'x'));
    EXPECT_EQ(std::wstring(31, L'x'), Load(s).font.face);

    // A surrogate pair straddling the limit is dropped whole, not halved.
    std::wstring face(30, L'a');
    face += L"\xD83D\xDE00tail";
    s.Set(L"/NoteFont/Face", face);
    EXPECT_EQ(std::wstring(30, L'a'), Load(s).font.face);
}

TEST(SkinDefinition, InvisibleButtonKeepsItsPositionUnread) {
    FakeValueStore s;
    s.Set(L"/MenuButton/Visible", 0);
    s.Set(L"/MenuButton/X", 10);
    s.Set(L"/MenuButton/Y", 11);
    const SkinDefinition def = Load(s);
    EXPECT_FALSE(def.menuButton.visible);
    EXPECT_EQ(0, def.menuButton.x);
    EXPECT_EQ(0, def.menuButton.y);
}

TEST(SkinDefinition, ThemesTakeTheSkinNameWhenUnnamed) {
    FakeValueStore s;
    s.Set(L"/Skin/Name", L"Glass");
    s.Set(L"/ColorThemes/Count", 3);
    s.Set(L"/ColorTheme0/R", 255);
    s.Set(L"/ColorTheme0/G", 128);
    s.Set(L"/ColorTheme0/Name", L"Orange");
    s.Set(L"/ColorTheme1/B", 200);
    s.Set(L"/ColorTheme2/Name", L"");
    const SkinDefinition def = Load(s);
    ASSERT_EQ(3u, def.colorThemes.size());
    EXPECT_EQ(MakeSkinColor(255, 128, 0), def.colorThemes[0].color);
    EXPECT_EQ(L"Orange", def.colorThemes[0].name);
    EXPECT_EQ(MakeSkinColor(0, 0, 200), def.colorThemes[1].color);
    EXPECT_EQ(L"Glass", def.colorThemes[1].name);
    EXPECT_EQ(L"Glass", def.colorThemes[2].name);
}

TEST(SkinDefinition, HugeThemeCountIsBounded) {
    FakeValueStore s;
    s.Set(L"/ColorThemes/Count", 4294967295LL);
    EXPECT_EQ(kMaxColorThemes, Load(s).colorThemes.size());
}

TEST(SkinDefinition, ReloadingIntoAUsedRecordStartsFromDefaults) {
    FakeValueStore first;
    first.Set(L"/NoteBackground/FixedSize", 0);
    first.Set(L"/ColorThemes/Count", 4);
    first.Set(L"/DeleteButton/Visible", 1);
    first.Set(L"/DeleteButton/X", 9);
    SkinDefinition def;
    ReadSkinDefinition(first, def);

    FakeValueStore empty;
    ReadSkinDefinition(empty, def);
    EXPECT_TRUE(def.fixedSize);
    EXPECT_EQ(1u, def.colorThemes.size());
    EXPECT_FALSE(def.deleteButton.visible);
    EXPECT_EQ(0, def.deleteButton.x);
}

TEST(SkinDefinition, ThemeIndexFallsBackToZeroWhenOutOfRange) {
    EXPECT_EQ(2u, ResolveThemeIndex(2, 3));
    EXPECT_EQ(0u, ResolveThemeIndex(3, 3));
    EXPECT_EQ(0u, ResolveThemeIndex(4294967295u, 3));
    EXPECT_EQ(0u, ResolveThemeIndex(0, 1));

    SkinDefinition def;
    def.colorThemes = {ColorTheme{MakeSkinColor(10, 20, 30), L"a"}};
    EXPECT_EQ(MakeSkinColor(10, 20, 30), ThemeColor(def, 0));
    EXPECT_EQ(kWhite, ThemeColor(def, 1));
}

TEST(SkinDefinition, ThemedColoursAreTheColoursTimesTheTint) {
    SkinDefinition def;
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
