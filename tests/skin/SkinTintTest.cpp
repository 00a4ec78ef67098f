#include "skin/SkinTint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

TEST(SkinTint, MultiplyRoundsDownPerChannel) {
    const SkinColor c = MakeSkinColor(12, 34, 56);
    EXPECT_EQ(c, Multiply(kWhite, c));
    EXPECT_EQ(c, Multiply(c, kWhite));
    EXPECT_EQ(0u, Multiply(MakeSkinColor(1, 1, 1), MakeSkinColor(254, 254, 254)));
    EXPECT_EQ(MakeSkinColor(200, 100, 0),
              Multiply(MakeSkinColor(200, 200, 200), MakeSkinColor(255, 128, 0)));
}

// Lines of `width` BGR pixels padded to whole 32-bit words, as 24-bit DIBs are.
struct Image24 {
    int32_t width, height;
    size_t stride;
    std::vector<uint8_t> bytes;
    Image24(int32_t w, int32_t h)
        : width(w), height(h), stride((w * 3 + 3) & ~3), bytes(stride * h, 0xAB) {}
    void Set(int32_t x, int32_t y, SkinColor c) {
        uint8_t* p = &bytes[y * stride + x * 3];
        p[0] = BlueOf(c), p[1] = GreenOf(c), p[2] = RedOf(c);
    }
    SkinColor Get(int32_t x, int32_t y) const {
        const uint8_t* p = &bytes[y * stride + x * 3];
        return MakeSkinColor(p[2], p[1], p[0]);
    }
};

TEST(SkinTint, PaddedOddWidthLinesKeepReservedColoursAndPadding) {
    const SkinColor orange = MakeSkinColor(255, 128, 0);
    Image24 img(13, 4);
    for (int32_t y = 0; y < img.height; ++y)
        for (int32_t x = 0; x < img.width; ++x) img.Set(x, y, kWhite);
    img.Set(0, 0, kMagenta);  // a reserved first pixel does not stop the walk
    img.Set(12, 1, kCyan);
    img.Set(5, 2, MakeSkinColor(200, 200, 200));
    img.Set(0, 3, kMagenta);

    ASSERT_TRUE(TintPixels(img.bytes.data(), img.bytes.size(), img.width, img.height, 3, img.stride,
                           orange));
    EXPECT_EQ(kMagenta, img.Get(0, 0));
    EXPECT_EQ(kCyan, img.Get(12, 1));
    EXPECT_EQ(kMagenta, img.Get(0, 3));
    EXPECT_EQ(MakeSkinColor(200, 100, 0), img.Get(5, 2));
    for (int32_t y = 0; y < img.height; ++y) {
        for (int32_t x = 0; x < img.width; ++x) {
            if ((x == 0 && (y == 0 || y == 3)) || (x == 12 && y == 1) || (x == 5 && y == 2))
                continue;
            EXPECT_EQ(orange, img.Get(x, y)) << x << "," << y;
        }
        // The filler bytes at each line's end are not pixels.
        EXPECT_EQ(0xAB, img.bytes[y * img.stride + 39]);
    }
}

TEST(SkinTint, FourBytePixelsLeaveTheFourthByte) {
    std::vector<uint8_t> px = {100, 100, 100, 77, 255, 0, 255, 66};
    ASSERT_TRUE(TintPixels(px.data(), px.size(), 2, 1, 4, 8, MakeSkinColor(0, 255, 51)));
    EXPECT_EQ((std::vector<uint8_t>{20, 100, 0, 77, 255, 0, 255, 66}), px);
}

TEST(SkinTint, WhiteTouchesNothing) {
    std::vector<uint8_t> px = {1, 2, 3, 4, 5, 6};
    const auto before = px;
    EXPECT_TRUE(TintPixels(px.data(), px.size(), 2, 1, 3, 6, kWhite));
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
