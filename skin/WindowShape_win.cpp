#include "skin/WindowShape_win.h"

#include <cstring>

#include "arrange/Rect_win.h"
#include "skin/PixelImage.h"

OwnedRegion RegionOfRects(const std::vector<Rect>& rects) {
    if (rects.empty()) return {};
    std::vector<char> buffer(sizeof(RGNDATAHEADER) + rects.size() * sizeof(RECT));
    auto* data = reinterpret_cast<RGNDATA*>(buffer.data());
    data->rdh.dwSize = sizeof(RGNDATAHEADER);
    data->rdh.iType = RDH_RECTANGLES;
    data->rdh.nCount = static_cast<DWORD>(rects.size());
    data->rdh.nRgnSize = static_cast<DWORD>(rects.size() * sizeof(RECT));
    RECT bounds = ToWin32(rects[0]);
    auto* out = reinterpret_cast<RECT*>(data->Buffer);
    for (size_t i = 0; i < rects.size(); ++i) {
        const Rect& r = rects[i];
        out[i] = ToWin32(r);
        if (r.left < bounds.left) bounds.left = r.left;
        if (r.top < bounds.top) bounds.top = r.top;
        if (r.right > bounds.right) bounds.right = r.right;
        if (r.bottom > bounds.bottom) bounds.bottom = r.bottom;
    }
    data->rdh.rcBound = bounds;
    return OwnedRegion(ExtCreateRegion(nullptr, static_cast<DWORD>(buffer.size()), data));
}

OwnedRegion ShapeRegion(const PixelImage& image) {
    return RegionOfRects(ShapeRects(image, PixelOf(kMagenta)));
}

bool ApplyWindowShape(HWND window, HRGN shape, bool redraw) {
    if (!window) return false;
    if (!shape) return SetWindowRgn(window, nullptr, redraw) != 0;
    OwnedRegion copy(CreateRectRgn(0, 0, 0, 0));
    if (!copy || CombineRgn(copy.Get(), shape, nullptr, RGN_COPY) == ERROR) return false;
    if (!SetWindowRgn(window, copy.Get(), redraw)) return false;
    copy.Release();  // the window's now
    return true;
}
