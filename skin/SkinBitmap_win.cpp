#include "skin/SkinBitmap_win.h"

#include <algorithm>

#include "base/MemoryDc_win.h"
#include "skin/BmpCheck.h"
#include "skin/SkinTint.h"
#include "store/FileIo.h"

SkinBitmap::~SkinBitmap() {
    if (selected) Deselect();
}

BITMAPINFO TopDown32(int32_t width, int32_t height) {
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = width;
    format.bmiHeader.biHeight = -height;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    return format;
}

bool SkinBitmap::LoadFile(const std::wstring& path) {
    if (selected) Deselect();
    pixels.reset();
    info = BITMAP{};
    bitmap.Reset();
    // The loader trusts the headers; a damaged file must not reach it.
    std::string head;
    uint64_t fileSize = 0;
    if (!FileIo::ReadFilePrefix(path, kBmpHeadBytes, head, fileSize) ||
        CheckBmp(head, fileSize) != BmpVerdict::Ok) {
        return false;
    }
    bitmap.Reset(static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE)));
    if (!bitmap) return false;
    return GetObjectW(bitmap.Get(), sizeof(info), &info) != 0;
}

void SkinBitmap::Tint(HDC dc, SkinColor color) {
    if (color == kWhite || !bitmap || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    pixels.reset();
    BITMAPINFO format = TopDown32(info.bmWidth, info.bmHeight);
    const size_t stride = static_cast<size_t>(info.bmWidth) * 4;
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(info.bmHeight));
    const UINT lines = static_cast<UINT>(info.bmHeight);
    if (GetDIBits(dc, bitmap.Get(), 0, lines, pixels.data(), &format, DIB_RGB_COLORS) !=
        static_cast<int>(lines))
        return;
    if (!TintPixels(pixels.data(), pixels.size(), info.bmWidth, info.bmHeight, 4, stride, color))
        return;
    SetDIBits(dc, bitmap.Get(), 0, lines, pixels.data(), &format, DIB_RGB_COLORS);
}

void SkinBitmap::Select(HDC memoryDc) {
    if (selected) Deselect();
    previousObject = SelectObject(memoryDc, bitmap.Get());
    dc = memoryDc;
    selected = true;
}

void SkinBitmap::Deselect() {
    if (selected && dc) SelectObject(dc, previousObject);
    previousObject = nullptr;
    dc = nullptr;
    selected = false;
}

void SkinBitmap::ClampSize(int& width, int& height) const {
    if (width == 0 || width > info.bmWidth) width = info.bmWidth;
    if (height == 0 || height > info.bmHeight) height = info.bmHeight;
}

bool SkinBitmap::Draw(HDC target, int x, int y, int sourceX, int sourceY, int width,
                      int height) const {
    if (!selected) return false;
    ClampSize(width, height);
    return BitBlt(target, x, y, width, height, dc, sourceX, sourceY, SRCCOPY) != FALSE;
}

bool SkinBitmap::DrawTransparent(HDC target, int x, int y, int sourceX, int sourceY, int width,
                                 int height) const {
    if (!selected) return false;
    ClampSize(width, height);
    if (width <= 0 || height <= 0) return false;
    return TransparentBlt(target, x, y, width, height, dc, sourceX, sourceY, width, height,
                          RGB(0, 255, 255)) != FALSE;
}

const PixelImage* SkinBitmap::Pixels() const {
    if (pixels) return pixels.get();
    if (!bitmap || selected || info.bmWidth <= 0 || info.bmHeight <= 0) return nullptr;
    auto read = std::make_unique<PixelImage>(info.bmWidth, info.bmHeight, 0);
    BITMAPINFO format = TopDown32(info.bmWidth, info.bmHeight);
    MemoryDc dc(nullptr);
    const int lines = info.bmHeight;
    if (!dc.Get() || read->Empty() ||
        GetDIBits(dc.Get(), bitmap.Get(), 0, static_cast<UINT>(lines), read->pixels.data(), &format,
                  DIB_RGB_COLORS) != lines)
        return nullptr;
    pixels = std::move(read);
    return pixels.get();
}

SkinBitmapRef LoadSkinBitmap(const std::wstring& folder, const std::wstring& relativeName,
                             SkinColor tint) {
    auto item = std::make_shared<SkinBitmap>();
    if (!item->LoadFile(folder + relativeName)) return nullptr;
    MemoryDc dc(nullptr);
    if (dc.Get()) item->Tint(dc.Get(), tint);
    return item;
}
