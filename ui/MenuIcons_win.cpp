#include "ui/MenuIcons_win.h"

#include <algorithm>
#include <map>

#include "base/MemoryDc_win.h"

namespace {

constexpr COLORREF kTransparent = RGB(255, 0, 255);
constexpr COLORREF kShadow = RGB(0x7F, 0x7F, 0x7F);
constexpr int kIconSize = 16;

class OwnedBitmap {
public:
    OwnedBitmap() = default;
    explicit OwnedBitmap(HBITMAP bitmap) : bitmap(bitmap) {}
    ~OwnedBitmap() {
        if (bitmap) DeleteObject(bitmap);
    }
    OwnedBitmap(OwnedBitmap&& other) noexcept : bitmap(other.bitmap) { other.bitmap = nullptr; }
    OwnedBitmap& operator=(OwnedBitmap&& other) noexcept {
        std::swap(bitmap, other.bitmap);
        return *this;
    }
    OwnedBitmap(const OwnedBitmap&) = delete;
    OwnedBitmap& operator=(const OwnedBitmap&) = delete;
    HBITMAP Get() const { return bitmap; }

private:
    HBITMAP bitmap = nullptr;
};

class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc(dc), previous(dc ? SelectObject(dc, object) : nullptr) {}
    ~Selection() {
        if (dc && previous) SelectObject(dc, previous);
    }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc;
    HGDIOBJ previous;
};

struct MenuIcon {
    OwnedBitmap colour;
    OwnedBitmap grey;
    int width = 0;
    int height = 0;
};

// Transparent pixels stay, every other pixel becomes the shadow grey.
HBITMAP MakeShadow(HBITMAP colour, const BITMAP& info) {
    HBITMAP grey =
        CreateBitmap(info.bmWidth, info.bmHeight, info.bmPlanes, info.bmBitsPixel, nullptr);
    if (!grey) return nullptr;
    MemoryDc source(nullptr);
    MemoryDc target(nullptr);
    if (!source.Get() || !target.Get()) {
        DeleteObject(grey);
        return nullptr;
    }
    Selection sourceSelection(source.Get(), colour);
    Selection targetSelection(target.Get(), grey);
    for (int y = 0; y < info.bmHeight; ++y) {
        for (int x = 0; x < info.bmWidth; ++x) {
            COLORREF pixel = GetPixel(source.Get(), x, y);
            SetPixel(target.Get(), x, y, pixel == kTransparent ? kTransparent : kShadow);
        }
    }
    return grey;
}

// Loaded on first use; an identifier without a resource is remembered as
// having no icon and never looked up again.
const MenuIcon& IconFor(WORD id) {
    static std::map<WORD, MenuIcon> cache;
    auto found = cache.find(id);
    if (found != cache.end()) return found->second;
    MenuIcon icon;
    HBITMAP colour = LoadBitmapW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id));
    BITMAP info = {};
    if (colour && GetObjectW(colour, sizeof(info), &info)) {
        icon.colour = OwnedBitmap(colour);
        icon.grey = OwnedBitmap(MakeShadow(colour, info));
        icon.width = info.bmWidth;
        icon.height = info.bmHeight;
    } else if (colour) {
        DeleteObject(colour);
    }
    return cache.emplace(id, std::move(icon)).first->second;
}

void DrawTransparent(HDC target, int x, int y, HBITMAP bitmap, int width, int height) {
    MemoryDc memory(target);
    if (!memory.Get()) return;
    Selection selection(memory.Get(), bitmap);
    TransparentBlt(target, x, y, width, height, memory.Get(), 0, 0, width, height, kTransparent);
}

}  // namespace

bool HasMenuIcon(UINT id) {
    return id <= 0xFFFF && IconFor(static_cast<WORD>(id)).colour.Get() != nullptr;
}

void MeasureMenuIcon(MEASUREITEMSTRUCT& item) {
    // The text follows right at the column's end: the padding keeps it off
    // the icon.
    UINT width = static_cast<UINT>(kIconSize + 2 * kMenuIconPadding);
    UINT height = static_cast<UINT>(std::max(kIconSize, GetSystemMetrics(SM_CYMENUCHECK)));
    item.itemWidth = std::max(item.itemWidth, width);
    item.itemHeight = std::max(item.itemHeight, height);
}

void DrawMenuIcon(const DRAWITEMSTRUCT& item) {
    if (item.itemData == 0 || item.itemData > 0xFFFF) return;
    const MenuIcon& icon = IconFor(static_cast<WORD>(item.itemData));
    if (!icon.colour.Get()) return;
    const int x = item.rcItem.left + kMenuIconPadding;
    const int y =
        item.rcItem.top +
        std::max(0, static_cast<int>(item.rcItem.bottom - item.rcItem.top) - icon.height) / 2;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool greyed = (item.itemState & ODS_GRAYED) != 0;
    if (selected && icon.grey.Get())
        DrawTransparent(item.hDC, x, y, icon.grey.Get(), icon.width, icon.height);
    const int lift = selected && !greyed ? 1 : 0;
    DrawTransparent(item.hDC, x - lift, y - lift, icon.colour.Get(), icon.width, icon.height);
}
