#pragma once
// The copies that draw a skin bitmap over a note: either once at its own size,
// or cut into nine parts by its borders, corners and edges placed at the
// rectangle's corners and edges and the rest repeated in whole tiles.

#include <cstdint>
#include <vector>

#include "arrange/Rect.h"

namespace NoteGeometry {

// One copy of a width-by-height part of the bitmap from (srcX, srcY) to
// (dstX, dstY). Width and height are always at least 1.
struct Blit {
    int32_t srcX = 0;
    int32_t srcY = 0;
    int32_t width = 0;
    int32_t height = 0;
    int32_t dstX = 0;
    int32_t dstY = 0;

    friend bool operator==(const Blit& a, const Blit& b) {
        return a.srcX == b.srcX && a.srcY == b.srcY && a.width == b.width && a.height == b.height &&
               a.dstX == b.dstX && a.dstY == b.dstY;
    }
};

// The copies in drawing order: top row, middle rows, bottom row, each left to
// right. `fixed` draws the whole bitmap once at (0, 0), not at dest's corner.
// Tiles are never cut: the last of a row or column may reach under the right or
// bottom border, which is drawn after it. Borders that leave no centre (or are
// negative) draw no centre tiles rather than looping without end.
std::vector<Blit> NineSliceBlits(const Rect& dest, int32_t bitmapWidth, int32_t bitmapHeight,
                                 const Insets& borders, bool fixed);

}  // namespace NoteGeometry
