#include "ui/MenuIcons_win.h"

#include <algorithm>
#include <map>
#include <utility>

#include "base/Handles_win.h"
#include "base/MemoryDc_win.h"

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kShadow = RGB(0x7F, 0x7F, 0x7F);

struct MenuIcon {
    OwnedBitmap colour;
    OwnedBitmap grey;
    OwnedBitmap disabled;
    int width = 0;
    int height = 0;
};

// Transparent pixels stay; every other pixel becomes `recolour(pixel)`.
template <typename Recolour>
OwnedBitmap Recoloured(HBITMAP colour, const BITMAP& info, Recolour recolour) {
    OwnedBitmap grey(
        CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, nullptr));
    if (!grey) return grey;
    MemoryDc source(nullptr);
    MemoryDc target(nullptr);
    if (!source.Get() || !target.Get()) return OwnedBitmap();
    SelectedObject sourceSelection(source.Get(), colour);
    SelectedObject targetSelection(target.Get(), grey.Get());
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            COLORREF pixel = GetPixel(source.Get(), x, y);
            SetPixel(target.Get(), x, y, pixel == kTransparent ? kTransparent : recolour(pixel));
        }
    }
    return grey;
}

OwnedBitmap MakeShadow(HBITMAP colour, const BITMAP& info) {
    return Recoloured(colour, info, [](COLORREF) { return kShadow; });
}

// As the shell greys the icon of an item that cannot be chosen: its lightness
// kept, its colour gone, and faded towards the menu's light background.
OwnedBitmap MakeDisabled(HBITMAP colour, const BITMAP& info) {
    return Recoloured(colour, info, [](COLORREF pixel) {
        const int luma =
            (GetRValue(pixel) * 30 + GetGValue(pixel) * 59 + GetBValue(pixel) * 11) / 100;
        const int grey = 128 + luma / 2;
        // Never the transparent colour (no grey can be) and never pure white.
        return RGB(std::min(grey, 240), std::min(grey, 240), std::min(grey, 240));
    });
}

// Loaded on first use; an identifier without a resource is remembered as
// having no icon and never looked up again.
const MenuIcon& IconFor(WORD id) {
    static std::map<WORD, MenuIcon> cache;
    auto found = cache.find(id);
    if (found != cache.end()) return found->second;
    MenuIcon icon;
    OwnedBitmap colour(LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id)));
    BITMAP info = {};
    if (colour && GetObjectW(colour.Get(), sizeof(info), &info)) {
        icon.grey = MakeShadow(colour.Get(), info);
        icon.disabled = MakeDisabled(colour.Get(), info);
        icon.colour = std::move(colour);
        icon.width = info.bmWidth;
        icon.height = info.bmHeight;
    }
    return cache.emplace(id, std::move(icon)).first->second;
}

void DrawTransparent(HDC target, int x, int y, HBITMAP bitmap, int width, int height) {
    MemoryDc memory(target);
    if (!memory.Get()) return;
    SelectedObject selection(memory.Get(), bitmap);
    TransparentBlt(target, x, y, width, height, memory.Get(), 0, 0, width, height, kTransparent);
}

}  // namespace

bool HasMenuIcon(UINT id) {
    return id <= 0xFFFF && IconFor(static_cast<WORD>(id)).colour.Get() != nullptr;
}

void DrawMenuIcon(HDC dc, const RECT& column, UINT id, UINT state) {
    if (id == 0 || id > 0xFFFF) return;
    const MenuIcon& icon = IconFor(static_cast<WORD>(id));
    if (!icon.colour.Get()) return;
    const int x = column.left + kMenuIconPadding;
    const int y =
        column.top + std::max(0, static_cast<int>(column.bottom - column.top) - icon.height) / 2;
    const bool selected = (state & ODS_SELECTED) != 0;
    const bool greyed = (state & (ODS_GRAYED | ODS_DISABLED)) != 0;
    if (greyed && icon.disabled.Get()) {
        DrawTransparent(dc, x, y, icon.disabled.Get(), icon.width, icon.height);
        return;
    }
    if (selected && icon.grey.Get())
        DrawTransparent(dc, x, y, icon.grey.Get(), icon.width, icon.height);
    const int lift = selected && !greyed ? 1 : 0;
    DrawTransparent(dc, x - lift, y - lift, icon.colour.Get(), icon.width, icon.height);
}
