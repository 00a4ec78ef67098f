// Every colour theme of every shipped skin keeps its text readable: the text
// colour against the paper it is drawn on (the text background and every
// colour of the background bitmap under the text area, as the theme tints
// them) reaches the contrast ratio of 4.5:1 that WCAG asks of body text.

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <set>
#include <string>

#include "skin/SkinDefinition.h"
#include "skin/SkinTint.h"
#include "store/FileIo.h"
#include "store/SettingsStore.h"
#include "support/TestPaths.h"

namespace {

double Linear(uint32_t channel) {
    const double c = channel / 255.0;
    return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
}

double Luminance(SkinColor c) {
    return 0.2126 * Linear(RedOf(c)) + 0.7152 * Linear(GreenOf(c)) + 0.0722 * Linear(BlueOf(c));
}

double Contrast(SkinColor a, SkinColor b) {
    const double la = Luminance(a), lb = Luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The colours of an uncompressed 24- or 32-bit BMP inside a rectangle given by
// its insets from the edges; empty when the file is no such BMP.
std::set<SkinColor> ColoursInside(const std::wstring& path, const SkinRect& insets, int32_t& width,
                                  int32_t& height) {
    std::set<SkinColor> colours;
    std::string bytes;
    if (!FileIo::ReadFile(path, bytes) || bytes.size() < 54 || bytes.compare(0, 2, "BM") != 0)
        return colours;
    const auto u32 = [&](size_t at) {
        return static_cast<uint32_t>(static_cast<uint8_t>(bytes[at])) |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 1])) << 8 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 2])) << 16 |
               static_cast<uint32_t>(static_cast<uint8_t>(bytes[at + 3])) << 24;
    };
    const uint32_t offset = u32(10);
    width = static_cast<int32_t>(u32(18));
    const int32_t rawHeight = static_cast<int32_t>(u32(22));
    height = std::abs(rawHeight);
    const int bits = static_cast<uint8_t>(bytes[28]);
    if ((bits != 24 && bits != 32) || u32(30) != 0) return colours;
    const size_t stride = (static_cast<size_t>(width) * bits + 31) / 32 * 4;
    for (int32_t y = insets.top; y < height - insets.bottom; ++y) {
        const size_t row = rawHeight > 0 ? static_cast<size_t>(height - 1 - y) : y;
        for (int32_t x = insets.left; x < width - insets.right; ++x) {
            const size_t at = offset + row * stride + static_cast<size_t>(x) * (bits / 8);
            if (at + 2 >= bytes.size()) return {};
            const SkinColor c =
                MakeSkinColor(static_cast<uint8_t>(bytes[at + 2]),
                              static_cast<uint8_t>(bytes[at + 1]), static_cast<uint8_t>(bytes[at]));
            if (c != kMagenta && c != kCyan) colours.insert(c);
        }
    }
    return colours;
}

TEST(ThemeContrast, EveryThemeOfEveryShippedSkinKeepsTextReadable) {
    const std::filesystem::path skins = std::filesystem::path(TestPaths::SourceDir()) / "skins";
    int skinCount = 0;
    for (const auto& entry : std::filesystem::directory_iterator(skins)) {
        if (!entry.is_directory()) continue;
        ++skinCount;
        const std::wstring folder = entry.path().wstring() + L"/";
        SettingsStore store(folder + L"Skin.ini");
        SkinDefinition def;
        ReadSkinDefinition(store, def);
        int32_t width = 0, height = 0;
        const std::set<SkinColor> paper =
            ColoursInside(folder + L"Note/Background.bmp", def.editInsets, width, height);
        SCOPED_TRACE(TestPaths::Narrow(def.name));
        ASSERT_FALSE(paper.empty()) << "the background bitmap is read";

        bool light = false, dark = false;
        for (uint32_t i = 0; i < def.colorThemes.size(); ++i) {
            const ColorTheme& theme = def.colorThemes[i];
            SCOPED_TRACE(TestPaths::Narrow(theme.name));
            (theme.dark ? dark : light) = true;
            ApplyThemeColors(def, i);
            EXPECT_GE(Contrast(def.themedTextColor, def.themedTextBackgroundColor), 4.5);
            double worst = 100;
            for (SkinColor p : paper)
                worst = std::min(worst, Contrast(def.themedTextColor, Multiply(p, theme.color)));
            EXPECT_GE(worst, 4.5);
            // A dark theme is dark paper with light text.
            if (theme.dark) {
                EXPECT_LT(Luminance(def.themedTextBackgroundColor), Luminance(def.themedTextColor));
            }
        }
        EXPECT_TRUE(light && dark) << "a light and a dark theme";
        EXPECT_TRUE(def.colorThemes[SystemThemeIndex(def, true)].dark);
        EXPECT_EQ(SystemThemeIndex(def, false), 0u);
    }
    EXPECT_GE(skinCount, 2);
}

// The keys a dark theme adds, as a skin maker may write them, and the choice
// of a theme for a user who has chosen none.
TEST(ThemeContrast, DarkThemesReadTheirOwnTextColourAndAreFoundForDarkApps) {
    const std::wstring path = TestPaths::MakeScratchDir() + L"Skin.ini";
    ASSERT_TRUE(FileIo::WriteFileAtomically(
        path,
        "[Skin]\nName=S\n[TextColor]\nR=10\nG=20\nB=30\n[TextBackgroundColor]\nR=200\nG=200\nB="
        "200\n"
        "[ColorThemes]\nCount=4\n[ColorTheme0]\nR=255\nG=255\nB=255\n"
        "[ColorTheme1]\nDark=1\nR=100\nG=50\nB=255\nTextR=240\nTextB=7\n"
        "[ColorTheme2]\nDark=0\nR=128\nG=128\nB=128\n"
        "[ColorTheme3]\nDark=1\nTextG=300\n"));
    SettingsStore store(path);
    SkinDefinition def;
    ReadSkinDefinition(store, def);
    ASSERT_EQ(def.colorThemes.size(), 4u);
    EXPECT_FALSE(def.colorThemes[0].dark || def.colorThemes[0].ownTextColor);
    EXPECT_TRUE(def.colorThemes[1].dark && def.colorThemes[1].ownTextColor);
    EXPECT_EQ(def.colorThemes[1].textColor, MakeSkinColor(240, 0, 7));  // a missing channel is 0
    EXPECT_EQ(def.colorThemes[3].textColor, MakeSkinColor(0, 44, 0));   // low 8 bits, as colours

    ApplyThemeColors(def, 1);
    EXPECT_EQ(def.themedTextColor, MakeSkinColor(240, 0, 7));  // not tinted
    EXPECT_EQ(def.themedTextBackgroundColor, MakeSkinColor(78, 39, 200));
    ApplyThemeColors(def, 2);
    EXPECT_EQ(def.themedTextColor, MakeSkinColor(5, 10, 15));
    ApplyThemeColors(def, 7);  // out of range: untinted
    EXPECT_EQ(def.themedTextColor, MakeSkinColor(10, 20, 30));

    EXPECT_EQ(SystemThemeIndex(def, true), 1u);
    EXPECT_EQ(SystemThemeIndex(def, false), 0u);
    def.colorThemes[0].dark = true;
    EXPECT_EQ(SystemThemeIndex(def, false), 2u);  // the first light one
    def.colorThemes.resize(1);
    EXPECT_EQ(SystemThemeIndex(def, false), 0u);  // none light: the first
}

}  // namespace
