#include "skin/Skin_win.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <vector>

#include "support/Bitmaps_win.h"
#include "support/TestPaths.h"
#include "skin/SkinTint.h"

namespace {

std::wstring SkinDir(const wchar_t* name) {
    return TestPaths::SourceDir() + L"\\skins\\" + name + L"\\";
}

TEST(SkinLoad, DefaultSkinLoadsWholeAndReleasesEverything) {
    std::vector<std::weak_ptr<SkinBitmap>> loaded;
    {
        Skin skin;
        EXPECT_EQ(1u, LoadShippedSkin(skin, L"Default", 1, true));
        ASSERT_TRUE(skin.background && skin.mask);
        EXPECT_EQ(skin.background->Width(), skin.mask->Width());
        EXPECT_TRUE(skin.moreTextBitmap && skin.priorityBitmaps[0] && skin.mainWindowBackground);
        for (const ButtonBitmaps* set :
             {&skin.menuButton.bitmaps, &skin.deleteButton.bitmaps, &skin.mainWindowButton})
            EXPECT_TRUE(set->normal && set->hover && set->down && set->disabled);
        EXPECT_TRUE(skin.noteFont && skin.textBackgroundBrush);
        EXPECT_EQ(Multiply(skin.textBackgroundColor, skin.colorThemes[1].color),
                  skin.themedTextBackgroundColor);
        // Every bitmap loaded is listed, once.
        std::vector<SkinBitmap*> held;
        auto hold = [&held](const SkinBitmapRef& b) {
            if (b) held.push_back(b.get());
        };
        for (const SkinBitmapRef* b :
             {&skin.background, &skin.mask, &skin.moreTextBitmap, &skin.mainWindowBackground})
            hold(*b);
        for (const SkinBitmapRef& b : skin.priorityBitmaps) hold(b);
        for (const ButtonBitmaps* set :
             {&skin.menuButton.bitmaps, &skin.deleteButton.bitmaps, &skin.mainWindowButton})
            for (const SkinBitmapRef* b : {&set->normal, &set->hover, &set->down, &set->disabled})
                hold(*b);
        std::vector<SkinBitmap*> listed = skin.Bitmaps();
        std::sort(held.begin(), held.end());
        std::sort(listed.begin(), listed.end());
        EXPECT_EQ(held, listed);
        for (const SkinBitmapRef* bitmap :
             {&skin.background, &skin.mask, &skin.moreTextBitmap, &skin.mainWindowBackground})
            loaded.push_back(*bitmap);
    }
    for (const auto& bitmap : loaded) EXPECT_TRUE(bitmap.expired());
}

// A test process (or a restart) may hold two skins at once: a new theme tints
// the bitmaps of its own skin and no other's, shared holders included.
TEST(SkinLoad, TwoSkinsLoadedAtOnceKeepTheirOwnBitmaps) {
    Skin first, second;
    LoadShippedSkin(first, L"Default", 0, true);
    LoadShippedSkin(second, L"Default", 0, true);
    ASSERT_TRUE(first.background && second.background);
    const int32_t width = first.background->Width(), height = first.background->Height();
    const auto before = ReadPixels(second.background->Handle(), width, height);
    const SkinBitmapRef shared = first.background;  // as a note window holds it
    const auto firstBefore = ReadPixels(shared->Handle(), width, height);

    HDC dc = CreateCompatibleDC(nullptr);
    first.TintBitmaps(dc, MakeSkinColor(0, 0, 255));
    DeleteDC(dc);
    EXPECT_EQ(before, ReadPixels(second.background->Handle(), width, height));
    EXPECT_NE(firstBefore, ReadPixels(shared->Handle(), width, height));
    for (SkinBitmap* bitmap : first.Bitmaps()) {
        for (SkinBitmap* other : second.Bitmaps()) EXPECT_NE(bitmap, other);
    }
    // A skin that let go of its bitmaps tints nothing of the other.
    first.Clear();
    EXPECT_TRUE(first.Bitmaps().empty());
    EXPECT_EQ(before, ReadPixels(second.background->Handle(), width, height));
}

TEST(SkinLoad, ClassicIsFixedAndEveryShippedSkinHasADisplayName) {
    Skin skin;
    EXPECT_EQ(0u, LoadShippedSkin(skin, L"Classic", 7, false));  // beyond its themes
    EXPECT_TRUE(skin.fixedSize);
    EXPECT_EQ(nullptr, skin.mask);  // not loaded without layered windows
    EXPECT_EQ(L"Classic", SkinDisplayName(SkinDir(L"Classic") + L"Skin.ini"));
    EXPECT_EQ(L"Default", SkinDisplayName(SkinDir(L"Default") + L"Skin.ini"));
    EXPECT_EQ(L"(((Name)))", SkinDisplayName(SkinDir(L"Missing") + L"Skin.ini"));
}

}  // namespace
