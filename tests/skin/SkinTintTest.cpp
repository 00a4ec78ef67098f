#include "skin/SkinTint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SkinTint, MultiplyIsPerChannelRoundedDownAndWhiteIsNeutral) {
    const struct {
        SkinColor a, b, product;
    } cases[] = {
        {kWhite, MakeSkinColor(255, 128, 0), MakeSkinColor(255, 128, 0)},
        {MakeSkinColor(12, 34, 56), kWhite, MakeSkinColor(12, 34, 56)},
        {MakeSkinColor(1, 1, 1), MakeSkinColor(254, 254, 254), 0},
        {MakeSkinColor(200, 200, 200), MakeSkinColor(255, 128, 0), MakeSkinColor(200, 100, 0)},
        {MakeSkinColor(10, 20, 30), MakeSkinColor(128, 64, 255), MakeSkinColor(5, 5, 30)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(c.product, Multiply(c.a, c.b)) << std::hex << c.a << " " << c.b;
        EXPECT_EQ(c.product, Multiply(c.b, c.a)) << std::hex << c.a << " " << c.b;
    }
}

TEST(SkinTint, PixelsAreMultipliedExceptTheTwoReservedColours) {
    // Blue, green, red, and a fourth byte that is no colour.
    std::vector<uint8_t> px = {
        255, 255, 255, 77,  // white
        255, 0,   255, 77,  // magenta, the windows' colour key
        255, 255, 0,   77,  // cyan, the bitmaps' transparent colour
        200, 200, 200, 77,  // grey
        254, 0,   255, 77,  // almost magenta: an ordinary colour
    };
    ASSERT_TRUE(TintPixels(px.data(), px.size(), 5, 1, 4, 20, MakeSkinColor(255, 128, 0)));
    // clang-format off
    EXPECT_EQ((std::vector<uint8_t>{
        0,   128, 255, 77,
        255, 0,   255, 77,
        255, 255, 0,   77,
        0,   100, 200, 77,
        0,   0,   255, 77,
    }), px);
    // clang-format on

    // 24-bit lines padded to whole 32-bit words: the padding is no pixel.
    std::vector<uint8_t> padded = {255, 255, 255, 9, 100, 50, 10, 9};
    ASSERT_TRUE(TintPixels(padded.data(), padded.size(), 1, 2, 3, 4, MakeSkinColor(0, 255, 51)));
    EXPECT_EQ((std::vector<uint8_t>{51, 255, 0, 9, 20, 50, 0, 9}), padded);

    // White changes nothing, not even the darkest grey.
    std::vector<uint8_t> same = {1, 2, 3, 254, 253, 252};
    ASSERT_TRUE(TintPixels(same.data(), same.size(), 2, 1, 3, 6, kWhite));
    EXPECT_EQ((std::vector<uint8_t>{1, 2, 3, 254, 253, 252}), same);
}

TEST(SkinTint, GeometryThatOverrunsTheBufferIsRefused) {
    std::vector<uint8_t> px(16 * 2, 200);
    const auto before = px;
    const SkinColor black = 0;
    EXPECT_FALSE(TintPixels(px.data(), px.size(), 5, 3, 3, 16, black));  // a third line
    EXPECT_FALSE(TintPixels(nullptr, px.size(), 4, 1, 4, 16, black));
    EXPECT_FALSE(TintPixels(px.data(), px.size(), 6, 1, 3, 12, black));  // stride below a line
    EXPECT_FALSE(TintPixels(px.data(), px.size(), 4, 1, 2, 8, black));   // 16-bit unsupported
    EXPECT_FALSE(TintPixels(px.data(), px.size(), -1, 1, 3, 12, black));
    EXPECT_EQ(before, px);
    // Exactly fitting: the last line needs no padding after it.
    EXPECT_TRUE(TintPixels(px.data(), 16 + 15, 5, 2, 3, 16, black));
    EXPECT_EQ(0, px[16 + 14]);
    EXPECT_EQ(200, px[16 + 15]);
    // No pixels at all, of no width or no height, need no buffer.
    EXPECT_TRUE(TintPixels(nullptr, 0, 0, 5, 4, 0, black));
    EXPECT_TRUE(TintPixels(nullptr, 0, 3, 0, 4, 12, black));
}

}  // namespace
