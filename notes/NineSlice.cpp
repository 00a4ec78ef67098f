#include "notes/NineSlice.h"

#include <algorithm>

namespace NoteGeometry {

namespace {

int32_t ClampBorder(int32_t border, int32_t extent) {
    return std::clamp(border, 0, extent);
}

struct Slicer {
    int32_t bw, bh, l, t, r, b, cw, ch;
    const Rect& dest;
    std::vector<Blit>& out;

    // One row of the frame: left part, repeated centre tiles, right part, all
    // taken from the bitmap rows srcY to srcY + height.
    void Row(int32_t srcY, int32_t height, int32_t dstY) const {
        if (l > 0) out.push_back({0, srcY, l, height, dest.left, dstY});
        if (cw > 0) {
            for (int64_t x = int64_t{dest.left} + l; x < int64_t{dest.right} - r; x += cw)
                out.push_back({l, srcY, cw, height, static_cast<int32_t>(x), dstY});
        }
        if (r > 0) out.push_back({bw - r, srcY, r, height, dest.right - r, dstY});
    }
};

}  // namespace

std::vector<Blit> NineSliceBlits(const Rect& dest, int32_t bitmapWidth, int32_t bitmapHeight,
                                 const Insets& borders, bool fixed) {
    std::vector<Blit> out;
    if (bitmapWidth <= 0 || bitmapHeight <= 0) return out;
    if (fixed) {
        out.push_back({0, 0, bitmapWidth, bitmapHeight, 0, 0});
        return out;
    }

    const int32_t l = ClampBorder(borders.left, bitmapWidth);
    const int32_t r = ClampBorder(borders.right, bitmapWidth);
    const int32_t t = ClampBorder(borders.top, bitmapHeight);
    const int32_t b = ClampBorder(borders.bottom, bitmapHeight);
    const Slicer slicer{bitmapWidth,         bitmapHeight,         l,    t,  r, b,
                        bitmapWidth - l - r, bitmapHeight - t - b, dest, out};

    if (t > 0) slicer.Row(0, t, dest.top);
    if (slicer.ch > 0) {
        for (int64_t y = int64_t{dest.top} + t; y < int64_t{dest.bottom} - b; y += slicer.ch)
            slicer.Row(t, slicer.ch, static_cast<int32_t>(y));
    }
    if (b > 0) slicer.Row(bitmapHeight - b, b, dest.bottom - b);
    return out;
}

}  // namespace NoteGeometry
