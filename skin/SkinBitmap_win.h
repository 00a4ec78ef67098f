#pragma once
// A skin bitmap: a device-dependent bitmap loaded from a BMP file, shared
// (SkinBitmapRef) between the skin and the windows that show it. The skin
// that loaded a bitmap lists it (Skin::Bitmaps) for a new colour theme.

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "base/Handles_win.h"
#include "skin/PixelImage.h"
#include "skin/SkinDefinition.h"

class SkinBitmap {
public:
    // No bitmap.
    SkinBitmap() = default;
    ~SkinBitmap();
    SkinBitmap(const SkinBitmap&) = delete;
    SkinBitmap& operator=(const SkinBitmap&) = delete;

    // Replaces any bitmap held with the file's; false leaves no bitmap.
    bool LoadFile(const std::wstring& path);
    // Multiplies every pixel but magenta and cyan with color. The pixels are
    // fetched as 32-bit whatever the bitmap's format, so padded 24-bit lines
    // and palette bitmaps are tinted right too. The bitmap must not be selected.
    void Tint(HDC dc, SkinColor color);

    HBITMAP Handle() const { return bitmap.Get(); }
    int32_t Width() const { return info.bmWidth; }
    int32_t Height() const { return info.bmHeight; }
    bool Selected() const { return selected; }

    // Selects the bitmap into a memory device context for Draw and
    // DrawTransparent; Deselect puts back what it replaced.
    void Select(HDC memoryDc);
    void Deselect();
    // Copies from the selected bitmap, source and destination of the same size.
    // A width or height of 0, or one beyond the bitmap, means the bitmap's own.
    bool Draw(HDC target, int x, int y, int sourceX = 0, int sourceY = 0, int width = 0,
              int height = 0) const;
    // As Draw, leaving the cyan pixels out.
    bool DrawTransparent(HDC target, int x, int y, int sourceX = 0, int sourceY = 0, int width = 0,
                         int height = 0) const;

    // The pixels, read from the bitmap at the first call and kept until it
    // changes (LoadFile, Tint); null without a bitmap, while it is selected, or
    // when they cannot be read.
    const PixelImage* Pixels() const;

private:
    void ClampSize(int& width, int& height) const;

    OwnedBitmap bitmap;
    BITMAP info = {};
    mutable std::unique_ptr<PixelImage> pixels;
    bool selected = false;
    HGDIOBJ previousObject = nullptr;
    HDC dc = nullptr;
};

// The format of top-down 32-bit pixels (0x00RRGGBB): every line a whole number
// of pixels, whatever a bitmap's own format is.
BITMAPINFO TopDown32(int32_t width, int32_t height);

// Loads folder + relativeName and tints it with the theme colour; empty when
// the file is missing or unreadable.
SkinBitmapRef LoadSkinBitmap(const std::wstring& folder, const std::wstring& relativeName,
                             SkinColor tint);
