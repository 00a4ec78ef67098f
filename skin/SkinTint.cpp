#include "skin/SkinTint.h"

SkinColor Multiply(SkinColor a, SkinColor b) {
    return MakeSkinColor(RedOf(a) * RedOf(b) / 255, GreenOf(a) * GreenOf(b) / 255,
                         BlueOf(a) * BlueOf(b) / 255);
}

bool TintPixels(uint8_t* pixels, size_t size, int32_t width, int32_t height, int32_t bytesPerPixel,
                size_t stride, SkinColor tint) {
    if (width < 0 || height < 0 || (bytesPerPixel != 3 && bytesPerPixel != 4)) return false;
    const size_t lineBytes = static_cast<size_t>(width) * static_cast<size_t>(bytesPerPixel);
    if (stride < lineBytes) return false;
    if (lineBytes == 0 || height == 0) return true;
    // The last line needs only its pixels, not the stride's padding.
    const size_t rows = static_cast<size_t>(height);
    if (!pixels || lineBytes > size || (rows - 1) > (size - lineBytes) / stride) return false;
    if (tint == kWhite) return true;

    const uint32_t tr = RedOf(tint), tg = GreenOf(tint), tb = BlueOf(tint);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* p = pixels + static_cast<size_t>(y) * stride;
        for (int32_t x = 0; x < width; ++x, p += bytesPerPixel) {
            const SkinColor c = MakeSkinColor(p[2], p[1], p[0]);
            if (c == kMagenta || c == kCyan) continue;
            p[0] = static_cast<uint8_t>(p[0] * tb / 255);
            p[1] = static_cast<uint8_t>(p[1] * tg / 255);
            p[2] = static_cast<uint8_t>(p[2] * tr / 255);
        }
    }
    return true;
}
