#include "skin/SkinDefinition.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"

namespace {

// Reads a skin INI of the given UTF-8 lines into def.
void Read(const std::string& lines, SkinDefinition& def) {
    const std::wstring path = TestPaths::MakeScratchDir() + L"Skin.ini";
    ASSERT_TRUE(FileIo::WriteFileAtomically(path, "\xEF\xBB\xBF" + lines));
    SettingsStore store(path);
    ReadSkinDefinition(store, def);
}

SkinDefinition Load(const std::string& lines) {
    SkinDefinition def;
    Read(lines, def);
    return def;
}

TEST(SkinDefinition, FolderUnderSkinsBesideTheProgramDefaultWhenUnnamed) {
    EXPECT_EQ(L"C:\\Prog\\Skins\\Glass\\", SkinFolderPath(L"C:\\Prog\\", L"Glass"));
    EXPECT_EQ(L"C:\\Prog\\Skins\\Default\\", SkinFolderPath(L"C:\\Prog\\", L""));
}

TEST(SkinDefinition, EmptyIniResetsAUsedRecordToDefaults) {
    SkinDefinition def;
    Read(
        "[NoteBackground]\nFixedSize=0\nLeftBorder=3\n[ColorThemes]\nCount=4\n[DeleteButton]"
        "\nVisible=1\nX=9\n",
        def);
    Read("", def);
    EXPECT_TRUE(def.fixedSize);
    EXPECT_EQ(MakeSkinColor(0, 0, 0), def.textColor);
    // Without a background bitmap a note is 40 x 50 at the least.
    EXPECT_EQ(40, def.backgroundWidth);
    EXPECT_EQ(50, def.backgroundHeight);
    EXPECT_EQ(SkinRect{}, def.backgroundBorders);
    EXPECT_FALSE(def.menuButton.visible || def.deleteButton.visible);
    EXPECT_EQ(0, def.deleteButton.x);
    // Without themes there is exactly one, white, so nothing gets tinted.
    ASSERT_EQ(1u, def.colorThemes.size());
    EXPECT_EQ(kWhite, def.colorThemes[0].color);
    EXPECT_EQ(kWhite, ThemeColor(def, 1));  // an index beyond the themes
}

TEST(SkinDefinition, ReadsKeysIntoTheirPlaces) {
    const SkinDefinition def = Load(
        "[NoteBackground]\nFixedSize=0\nLeftBorder=1\nBottomBorder=4\n"
        "[TextColor]\nR=1\nG=2\nB=3\n"
        "[TextBackgroundColor]\nR=511\n"  // only the low 8 bits count
        "[DeleteButton]\nVisible=1\nX=-24\n"
        "[NoteResize]\nPositionX=-20\nPositionY=-18\nWidth=16\nHeight=14\n"
        // An invisible button keeps its position unread.
        "[MenuButton]\nVisible=0\nX=10\n");
    EXPECT_FALSE(def.fixedSize);
    EXPECT_EQ((SkinRect{1, 0, 0, 4}), def.backgroundBorders);
    EXPECT_EQ((SkinRect{-20, -18, -4, -4}), def.resizeRect);
    EXPECT_EQ(0x030201u, def.textColor);
    EXPECT_EQ(0xFFu, def.textBackgroundColor);
    EXPECT_EQ(-24, def.deleteButton.x);
    EXPECT_EQ(0, def.menuButton.x);

    // A hand-edited grip far beyond the 32-bit range ends at its limit.
    EXPECT_EQ((SkinRect{2147483600, -2147483600, 2147483647, -2147483648}),
              Load("[NoteResize]\nPositionX=2147483600\nPositionY=-2147483600\nWidth=100\n"
                   "Height=-100\n")
                  .resizeRect);
}

// Cut to 31 units; a surrogate pair straddling the limit is dropped whole, not
// halved (U+1F600, and the first and last pairs U+10000 and U+10FFFF); a pair
// just inside the limit stays.
TEST(SkinDefinition, FaceNamesAreCutToFitLogFont) {
    const struct {
        std::string face;
        std::wstring kept;
    } cases[] = {
        {std::string(200, 'x'), std::wstring(31, L'x')},
        {std::string(30, 'a') + "\xF0\x9F\x98\x80tail", std::wstring(30, L'a')},
        {std::string(30, 'a') + "\xF0\x90\x80\x80tail", std::wstring(30, L'a')},
        {std::string(30, 'a') + "\xF4\x8F\xBF\xBFtail", std::wstring(30, L'a')},
        {std::string(29, 'a') + "\xF4\x8F\xBF\xBFtail", std::wstring(29, L'a') + L"\xDBFF\xDFFF"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.kept, Load("[NoteFont]\nFace=" + c.face + "\n").font.face) << c.face.size();
}

TEST(SkinDefinition, ThemesTakeTheSkinNameWhenUnnamedAndTheirCountIsBounded) {
    const SkinDefinition def = Load(
        "[Skin]\nName=Glass\n[ColorThemes]\nCount=3\n"
        "[ColorTheme0]\nR=255\nG=128\nName=Orange\n[ColorTheme1]\nB=200\n[ColorTheme2]\nName=\n");
    EXPECT_EQ(L"Glass", def.name);
    ASSERT_EQ(3u, def.colorThemes.size());
    EXPECT_EQ(MakeSkinColor(255, 128, 0), def.colorThemes[0].color);
    EXPECT_EQ(L"Orange", def.colorThemes[0].name);
    EXPECT_EQ(MakeSkinColor(0, 0, 200), def.colorThemes[1].color);
    EXPECT_EQ(L"Glass", def.colorThemes[1].name);
    EXPECT_EQ(L"Glass", def.colorThemes[2].name);

    EXPECT_EQ(1000u, Load("[ColorThemes]\nCount=4294967295\n").colorThemes.size());
}

TEST(SkinDefinition, OnlyAStoredIndexBelowTheThemeCountIsKept) {
    const struct {
        uint32_t stored;
        size_t themes;
        uint32_t used;
    } cases[] = {
        {0, 1, 0}, {2, 3, 2}, {3, 3, 0}, {4, 3, 0}, {0xFFFFFFFF, 3, 0}, {0, 0, 0},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.used, ResolveThemeIndex(c.stored, c.themes)) << c.stored << " " << c.themes;
    }
    // The themed colours are the two skin colours tinted by the theme's colour.
    SkinDefinition def = Load(
        "[ColorThemes]\nCount=2\n[ColorTheme1]\nR=255\nG=128\n"
        "[TextColor]\nR=200\nG=200\nB=200\n[TextBackgroundColor]\nR=255\nG=255\nB=255\n");
    EXPECT_EQ(MakeSkinColor(255, 128, 0), ThemeColor(def, 1));
    EXPECT_EQ(kWhite, ThemeColor(def, 2));
    ApplyThemeToColors(def, ThemeColor(def, 1));
    EXPECT_EQ(MakeSkinColor(200, 100, 0), def.themedTextColor);
    EXPECT_EQ(MakeSkinColor(255, 128, 0), def.themedTextBackgroundColor);
}

}  // namespace
