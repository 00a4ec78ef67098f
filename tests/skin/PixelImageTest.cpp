#include "skin/PixelImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "../arrange/RectPrinting.h"

namespace {

constexpr uint32_t kKey = 0x00FFFF;

// A 4 x 3 source: pixel (x, y) holds 0x100 * y + x + 1; (1, 1) is the key.
PixelImage Source() {
    PixelImage image(4, 3, 0);
    for (int y = 0; y < 3; ++y)
        for (int x = 0; x < 4; ++x)
            image.pixels[static_cast<size_t>(y * 4 + x)] = 0x100u * y + x + 1;
    image.pixels[5] = kKey | 0xAB000000u;  // the top byte does not count
    return image;
}

// The target as rows of hex digits' last two places, '.' for the untouched fill.
std::string Rows(const PixelImage& image) {
    std::string out;
    for (int y = 0; y < image.height; ++y) {
        for (int x = 0; x < image.width; ++x) {
            const uint32_t p = image.At(x, y);
            out += p == 0xEEEEEE ? std::string("..")
                                 : std::to_string(p >> 8) + std::to_string(p & 0xFF);
            out += ' ';
        }
        out += '|';
    }
    return out;
}

TEST(PixelImage, KeyedCopyLeavesKeyedPixelsOutAndClipsToBothImages) {
    const struct {
        int x, y, sx, sy, w, h;
        const char* rows;
    } cases[] = {
        // Whole, with the keyed pixel left out.
        {0, 0, 0, 0, 4, 3, "01 02 03 04 .. |11 .. 13 14 .. |21 22 23 24 .. |.. .. .. .. .. |"},
        // Partly off the target on the left and top.
        {-2, -1, 0, 0, 4, 3, "13 14 .. .. .. |23 24 .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        // Off the target's right and bottom edges.
        {3, 2, 0, 0, 4, 3, ".. .. .. .. .. |.. .. .. .. .. |.. .. .. 01 02 |.. .. .. 11 .. |"},
        // A block reaching past the source's edges copies what the source holds.
        {1, 1, 2, 1, 5, 5, ".. .. .. .. .. |.. 13 14 .. .. |.. 23 24 .. .. |.. .. .. .. .. |"},
        {0, 0, -1, -1, 2, 2, ".. .. .. .. .. |.. 01 .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        // Nothing at all.
        {0, 0, 0, 0, 0, 3, ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        {5, 0, 0, 0, 4, 3, ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        {0, 0, 4, 0, 4, 3, ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        // Numbers from a damaged skin file must not overflow.
        {INT32_MAX, INT32_MAX, INT32_MIN, 0, INT32_MAX, INT32_MAX,
         ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
        {INT32_MIN, INT32_MIN, 0, 0, INT32_MAX, INT32_MAX,
         ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |"},
    };
    const PixelImage source = Source();
    for (const auto& c : cases) {
        PixelImage target(5, 4, 0xEEEEEE);
        CopyKeyed(target, c.x, c.y, source, c.sx, c.sy, c.w, c.h, kKey);
        EXPECT_EQ(Rows(target), c.rows)
            << c.x << "," << c.y << " from " << c.sx << "," << c.sy << " " << c.w << "x" << c.h;
    }
    // The last column and row of the target, from the last column and row of the source.
    PixelImage corner(5, 4, 0xEEEEEE);
    CopyKeyed(corner, 4, 3, source, 3, 2, 1, 1, kKey);
    EXPECT_EQ(Rows(corner), ".. .. .. .. .. |.. .. .. .. .. |.. .. .. .. .. |.. .. .. .. 24 |");
    // Top bytes count neither in the key nor in what is copied.
    PixelImage marked = Source();
    marked.pixels[0] |= 0x7F000000u;
    PixelImage target2(4, 3, 0xEEEEEE);
    CopyKeyed(target2, 0, 0, marked, 0, 0, 4, 2, kKey | 0xFF000000u);
    EXPECT_EQ(Rows(target2), "01 02 03 04 |11 .. 13 14 |.. .. .. .. |");
    EXPECT_EQ(target2.At(0, 0), 0x000001u);
    PixelImage empty(0, 5, 1);
    EXPECT_TRUE(empty.Empty() && empty.pixels.empty());
    EXPECT_EQ(0, PixelImage().width);
    const PixelImage flat(5, 0, 1);
    EXPECT_TRUE(flat.Empty() && flat.pixels.empty() && flat.width == 0 && flat.height == 0);
    CopyKeyed(empty, 0, 0, source, 0, 0, 4, 3, kKey);
    PixelImage target(2, 2, 0xEEEEEE);
    CopyKeyed(target, 0, 0, empty, 0, 0, 4, 3, kKey);
    EXPECT_EQ(Rows(target), ".. .. |.. .. |");
    EXPECT_EQ(PixelOf(kCyan), 0x00FFFFu);
    EXPECT_EQ(PixelOf(MakeSkinColor(1, 2, 3)), 0x010203u);
}

// Rounded corners of a 6 x 5 window drawn over the key colour (with a blend
// of it in the top line, which is not the key and stays): equal lines merge,
// a hole in a line splits it, and the key in the top byte is ignored.
TEST(PixelImage, ShapeRectsCutTheKeyColourOut) {
    const uint32_t k = 0xFF00FF, o = 0x123456, b = 0xF010F0;
    PixelImage image(6, 5, o);
    const uint32_t rows[5][6] = {
        {k, b, o, o, k, k}, {k, o, o, o, o, k}, {o, o, o, o, o, o},
        {o, o, o, o, o, o}, {o, o, k, k, o, o},
    };
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 6; ++x) image.pixels[static_cast<size_t>(y * 6 + x)] = rows[y][x];
    image.pixels[4] = 0xAAFF00FF;  // the key, whatever the top byte holds
    const std::vector<Rect> expected = {
        {1, 0, 4, 1}, {1, 1, 5, 2}, {0, 2, 6, 4}, {0, 4, 2, 5}, {4, 4, 6, 5},
    };
    EXPECT_EQ(expected, ShapeRects(image, 0x77FF00FF));

    EXPECT_TRUE(ShapeRects(PixelImage(7, 3, k), k).empty());
    EXPECT_EQ((std::vector<Rect>{{0, 0, 7, 3}}), ShapeRects(PixelImage(7, 3, o), k));
    EXPECT_TRUE(ShapeRects(PixelImage(0, 3, o), k).empty());
}

}  // namespace
