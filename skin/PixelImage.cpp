#include "skin/PixelImage.h"

#include <algorithm>

PixelImage::PixelImage(int32_t w, int32_t h, uint32_t fill) {
    if (w <= 0 || h <= 0) return;
    width = w;
    height = h;
    pixels.assign(static_cast<size_t>(w) * static_cast<size_t>(h), fill);
}

void CopyKeyed(PixelImage& target, int32_t x, int32_t y, const PixelImage& source, int32_t sourceX,
               int32_t sourceY, int32_t width, int32_t height, uint32_t key) {
    if (target.Empty() || source.Empty()) return;
    // Clip in 64 bits: the skin's numbers come from a file.
    int64_t left = 0, top = 0, right = width, bottom = height;
    left = std::max<int64_t>({left, -static_cast<int64_t>(x), -static_cast<int64_t>(sourceX)});
    top = std::max<int64_t>({top, -static_cast<int64_t>(y), -static_cast<int64_t>(sourceY)});
    right = std::min<int64_t>({right, static_cast<int64_t>(target.width) - x,
                               static_cast<int64_t>(source.width) - sourceX});
    bottom = std::min<int64_t>({bottom, static_cast<int64_t>(target.height) - y,
                                static_cast<int64_t>(source.height) - sourceY});
    if (left >= right || top >= bottom) return;
    key &= 0xFFFFFF;
    for (int64_t row = top; row < bottom; ++row) {
        const uint32_t* from =
            &source.pixels[static_cast<size_t>((sourceY + row) * source.width + sourceX + left)];
        uint32_t* to = &target.pixels[static_cast<size_t>((y + row) * target.width + x + left)];
        for (int64_t i = 0; i < right - left; ++i) {
            if ((from[i] & 0xFFFFFF) != key) to[i] = from[i] & 0xFFFFFF;
        }
    }
}

std::vector<Rect> ShapeRects(const PixelImage& image, uint32_t key) {
    std::vector<Rect> done;
    if (image.Empty()) return done;
    key &= 0xFFFFFF;
    // The rectangles still growing downwards: the runs of the line above.
    std::vector<Rect> open;
    std::vector<Rect> runs;
    for (int32_t y = 0; y < image.height; ++y) {
        runs.clear();
        for (int32_t x = 0; x < image.width;) {
            while (x < image.width && (image.At(x, y) & 0xFFFFFF) == key) ++x;
            const int32_t start = x;
            while (x < image.width && (image.At(x, y) & 0xFFFFFF) != key) ++x;
            if (x > start) runs.push_back({start, y, x, y + 1});
        }
        const bool same =
            runs.size() == open.size() &&
            std::equal(runs.begin(), runs.end(), open.begin(), [](const Rect& a, const Rect& b) {
                return a.left == b.left && a.right == b.right;
            });
        if (same) {
            for (Rect& r : open) r.bottom = y + 1;
            continue;
        }
        done.insert(done.end(), open.begin(), open.end());
        open = runs;
    }
    done.insert(done.end(), open.begin(), open.end());
    return done;
}
