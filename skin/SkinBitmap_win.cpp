#include "skin/SkinBitmap_win.h"

#include <algorithm>

#include "base/MemoryDc_win.h"
#include "skin/SkinTint.h"

std::vector<SkinBitmap*>& SkinBitmapList::List() {
    static std::vector<SkinBitmap*> list;
    return list;
}

const std::vector<SkinBitmap*>& SkinBitmapList::Items() {
    return List();
}

void SkinBitmapList::TintAll(HDC dc, SkinColor color) {
    for (SkinBitmap* item : List()) {
        if (item->Handle()) item->Tint(dc, color);
    }
}

SkinBitmap::SkinBitmap() {
    SkinBitmapList::List().push_back(this);
}

SkinBitmap::~SkinBitmap() {
    if (selected) Deselect();
    if (bitmap) DeleteObject(bitmap);
    auto& list = SkinBitmapList::List();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
}

void SkinBitmap::Release() {
    if (--refCount == 0) delete this;
}

bool SkinBitmap::LoadFile(const std::wstring& path) {
    if (selected) Deselect();
    if (bitmap) DeleteObject(bitmap);
    info = BITMAP{};
    bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE));
    if (!bitmap) return false;
    return GetObjectW(bitmap, sizeof(info), &info) != 0;
}

void SkinBitmap::Tint(HDC dc, SkinColor color) {
    if (color == kWhite || !bitmap || info.bmWidth <= 0 || info.bmHeight <= 0) return;
    // Asking for top-down 32-bit pixels makes every line a whole number of
    // pixels, whatever the bitmap's own format is.
    BITMAPINFO format = {};
    format.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    format.bmiHeader.biWidth = info.bmWidth;
    format.bmiHeader.biHeight = -info.bmHeight;
    format.bmiHeader.biPlanes = 1;
    format.bmiHeader.biBitCount = 32;
    format.bmiHeader.biCompression = BI_RGB;
    const size_t stride = static_cast<size_t>(info.bmWidth) * 4;
    std::vector<uint8_t> pixels(stride * static_cast<size_t>(info.bmHeight));
    const UINT lines = static_cast<UINT>(info.bmHeight);
    if (GetDIBits(dc, bitmap, 0, lines, pixels.data(), &format, DIB_RGB_COLORS) !=
        static_cast<int>(lines))
        return;
    if (!TintPixels(pixels.data(), pixels.size(), info.bmWidth, info.bmHeight, 4, stride, color))
        return;
    SetDIBits(dc, bitmap, 0, lines, pixels.data(), &format, DIB_RGB_COLORS);
}

void SkinBitmap::Select(HDC memoryDc) {
    if (selected) Deselect();
    previousObject = SelectObject(memoryDc, bitmap);
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

SkinBitmap* LoadSkinBitmap(const std::wstring& folder, const std::wstring& relativeName,
                           SkinColor tint) {
    SkinBitmap* item = new SkinBitmap();
    if (!item->LoadFile(folder + relativeName)) {
        item->Release();
        return nullptr;
    }
    MemoryDc dc(nullptr);
    if (dc.Get()) item->Tint(dc.Get(), tint);
    return item;
}

void ButtonBitmaps::CopyFrom(const ButtonBitmaps& other) {
    if (&other == this) return;
    // Take the new references first, so a member shared by both sets survives.
    for (SkinBitmap* item : {other.normal, other.hover, other.down, other.disabled}) {
        if (item) item->AddRef();
    }
    Clear();
    normal = other.normal;
    hover = other.hover;
    down = other.down;
    disabled = other.disabled;
}

void ButtonBitmaps::Clear() {
    ReleaseSkinBitmap(normal);
    ReleaseSkinBitmap(hover);
    ReleaseSkinBitmap(down);
    ReleaseSkinBitmap(disabled);
}
