#include "skin/SkinBitmap_win.h"

#include <gtest/gtest.h>

#include "support/TestPaths.h"
#include "support/Bitmaps_win.h"

namespace {

// A width of 13 gives 24-bit lines of 39 bytes padded to 40.
class SkinBitmapFiles : public ::testing::TestWithParam<int> {};

TEST_P(SkinBitmapFiles, TintLeavesReservedColoursAndEveryLineRight) {
    const int width = 13, height = 5;
    // Magenta at both left corners, cyan at a line's end, one grey pixel.
    auto image = [&](SkinColor white, SkinColor grey) {
        std::vector<SkinColor> pixels(width * height, white);
        pixels[0] = pixels[(height - 1) * width] = kMagenta;
        pixels[2 * width - 1] = kCyan;
        pixels[2 * width + 5] = grey;
        return pixels;
    };
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"t.bmp", width, height, GetParam(),
                         image(kWhite, MakeSkinColor(200, 200, 200))));

    const SkinColor orange = MakeSkinColor(255, 128, 0);
    SkinBitmapRef bitmap = LoadSkinBitmap(dir, L"t.bmp", orange);
    ASSERT_NE(nullptr, bitmap);
    EXPECT_EQ(image(orange, MakeSkinColor(200, 100, 0)),
              ReadPixels(bitmap->Handle(), width, height));
}

INSTANTIATE_TEST_SUITE_P(Formats, SkinBitmapFiles, ::testing::Values(24, 32));

TEST(SkinBitmap, DamagedFilesAreRefusedBeforeTheSystemReadsThem) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    ASSERT_TRUE(WriteBmp(dir + L"whole.bmp", 8, 6, 24, std::vector<SkinColor>(48, kWhite)));
    std::string bytes;
    ASSERT_TRUE(FileIo::ReadFile(dir + L"whole.bmp", bytes));
    // The last line's pixels are missing.
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"cut.bmp", bytes.substr(0, bytes.size() - 24)));
    // The headers claim 30000 x 30000 pixels (2.7 GB) that the file does not hold.
    std::string huge = bytes;
    for (size_t at : {size_t{18}, size_t{22}}) {
        huge[at] = static_cast<char>(30000 & 0xFF);
        huge[at + 1] = static_cast<char>(30000 >> 8);
    }
    ASSERT_TRUE(FileIo::WriteFileAtomically(dir + L"huge.bmp", huge));

    SkinBitmapRef whole = LoadSkinBitmap(dir, L"whole.bmp", kWhite);
    ASSERT_NE(nullptr, whole);
    EXPECT_EQ(8, whole->Width());
    EXPECT_EQ(6, whole->Height());
    whole.reset();
    EXPECT_EQ(nullptr, LoadSkinBitmap(dir, L"cut.bmp", kWhite));
    EXPECT_EQ(nullptr, LoadSkinBitmap(dir, L"huge.bmp", kWhite));
}

TEST(SkinBitmap, ButtonSetsShareBitmapsUntilTheLastHolderGoes) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    EXPECT_EQ(nullptr, LoadSkinBitmap(dir, L"none.bmp", kWhite));

    ASSERT_TRUE(WriteBmp(dir + L"a.bmp", 2, 1, 24, {kWhite, kWhite}));
    ButtonBitmaps first, second;
    first.normal = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    first.hover = LoadSkinBitmap(dir, L"a.bmp", kWhite);
    ASSERT_TRUE(first.normal && first.hover);
    second = first;
    // Copying a set over one that holds the same bitmaps keeps them alive.
    second = first;
    EXPECT_EQ(2, first.normal.use_count());
    std::weak_ptr<SkinBitmap> hover = first.hover;
    first.Clear();
    EXPECT_EQ(1, second.normal.use_count());
    second.hover.reset();
    EXPECT_TRUE(hover.expired());
}

TEST(SkinBitmap, DrawTransparentLeavesCyanOutAndClampsTheSize) {
    const std::wstring dir = TestPaths::MakeScratchDir();
    const SkinColor red = MakeSkinColor(255, 0, 0), g = MakeSkinColor(0, 128, 0);
    ASSERT_TRUE(WriteBmp(dir + L"d.bmp", 2, 1, 24, {red, kCyan}));
    SkinBitmapRef bitmap = LoadSkinBitmap(dir, L"d.bmp", kWhite);
    ASSERT_NE(nullptr, bitmap);
    Canvas canvas(3, 1, g);
    HDC memoryDc = CreateCompatibleDC(canvas.Dc());
    bitmap->Select(memoryDc);
    EXPECT_TRUE(bitmap->DrawTransparent(canvas.Dc(), 1, 0, 0, 0, 0, 99));
    bitmap->Deselect();
    DeleteDC(memoryDc);
    EXPECT_EQ((std::vector<SkinColor>{g, red, g}),
              (std::vector<SkinColor>{canvas.At(0, 0), canvas.At(1, 0), canvas.At(2, 0)}));
}

}  // namespace
