#include "skin/SkinTint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SkinTint, MultiplyRoundsDownPerChannel) {
    const SkinColor c = MakeSkinColor(12, 34, 56);
    EXPECT_EQ(c, Multiply(kWhite, c));
    EXPECT_EQ(0u, Multiply(MakeSkinColor(1, 1, 1), MakeSkinColor(254, 254, 254)));
    EXPECT_EQ(MakeSkinColor(200, 100, 0),
              Multiply(MakeSkinColor(200, 200, 200), MakeSkinColor(255, 128, 0)));
}

// Lines of 13 BGR pixels, 39 bytes padded to 40 as in 24-bit DIBs; the filler is 0xAB.
TEST(SkinTint, PaddedOddWidthLinesKeepReservedColoursAndPadding) {
    const int32_t width = 13, height = 4, stride = 40;
    std::vector<uint8_t> bytes(stride * height, 0xAB);
    auto at = [&](int32_t x, int32_t y) { return &bytes[y * stride + x * 3]; };
    auto set = [&](int32_t x, int32_t y, SkinColor c) {
        uint8_t* p = at(x, y);
        p[0] = BlueOf(c), p[1] = GreenOf(c), p[2] = RedOf(c);
    };
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x) set(x, y, kWhite);
    set(0, 0, kMagenta);  // a reserved first pixel does not stop the walk
    set(12, 1, kCyan);
    set(5, 2, MakeSkinColor(200, 200, 200));
    set(0, 3, kMagenta);

    const SkinColor orange = MakeSkinColor(255, 128, 0);
    ASSERT_TRUE(TintPixels(bytes.data(), bytes.size(), width, height, 3, stride, orange));
    for (int32_t y = 0; y < height; ++y) {
        for (int32_t x = 0; x < width; ++x) {
            SkinColor expected = orange;
            if (x == 0 && (y == 0 || y == 3)) expected = kMagenta;
            if (x == 12 && y == 1) expected = kCyan;
            if (x == 5 && y == 2) expected = MakeSkinColor(200, 100, 0);
            const uint8_t* p = at(x, y);
            EXPECT_EQ(expected, MakeSkinColor(p[2], p[1], p[0])) << x << "," << y;
        }
        EXPECT_EQ(0xAB, bytes[y * stride + 39]);  // filler bytes are not pixels
    }
}

TEST(SkinTint, FourBytePixelsLeaveTheFourthByteAndWhiteTouchesNothing) {
    std::vector<uint8_t> px = {100, 100, 100, 77, 255, 0, 255, 66};
    ASSERT_TRUE(TintPixels(px.data(), px.size(), 2, 1, 4, 8, MakeSkinColor(0, 255, 51)));
    EXPECT_EQ((std::vector<uint8_t>{20, 100, 0, 77, 255, 0, 255, 66}), px);
    const auto before = px;
    EXPECT_TRUE(TintPixels(px.data(), px.size(), 2, 1, 4, 8, kWhite));
    EXPECT_EQ(before, px);
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
}

}  // namespace
