#include "skin/SkinTint.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

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
