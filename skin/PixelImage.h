#pragma once
// Pixels held in memory, 32 bits each as 0x00RRGGBB, the top line first: the
// form in which a skin bitmap is read once and the frames of notes are then
// composed without a blit per tile.

#include <cstdint>
#include <vector>

#include "skin/SkinDefinition.h"

struct PixelImage {
    int32_t width = 0;
    int32_t height = 0;
    std::vector<uint32_t> pixels;  // width * height

    PixelImage() = default;
    // Every pixel `fill`; an image of no pixels when either side is not positive.
    PixelImage(int32_t width, int32_t height, uint32_t fill);

    bool Empty() const { return width <= 0 || height <= 0; }
    uint32_t At(int32_t x, int32_t y) const {
        return pixels[static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x)];
    }
};

// The pixel of a colour, and the colour of a pixel (the top byte is ignored).
constexpr uint32_t PixelOf(SkinColor color) {
    return (RedOf(color) << 16) | (GreenOf(color) << 8) | BlueOf(color);
}

// Copies the width x height block at (sourceX, sourceY) of source to (x, y) of
// target, leaving out every pixel whose colour is `key`, as a transparent blit
// does. What lies outside either image is left out, as it would be by a blit
// clipped to both bitmaps.
void CopyKeyed(PixelImage& target, int32_t x, int32_t y, const PixelImage& source, int32_t sourceX,
               int32_t sourceY, int32_t width, int32_t height, uint32_t key);

// The pixels of `image` that are not of colour `key`, as rectangles in image
// coordinates: the runs of each line, equal runs of consecutive lines merged
// into one taller rectangle (a window's rounded corners then cost a few
// rectangles, not one per line). A window region made of them cuts the key
// colour out of a window that is not layered.
std::vector<Rect> ShapeRects(const PixelImage& image, uint32_t key);
