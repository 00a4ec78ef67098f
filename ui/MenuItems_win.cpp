#include "ui/MenuItems_win.h"

#include <algorithm>
#include <climits>
#include <cstring>
#include <map>
#include <memory>
#include <set>
#include <vector>

#include "base/Handles_win.h"
#include "ui/MenuIcons_win.h"

namespace {

// Between the icon column and the text, and between the text and a shortcut
// after a tab.
constexpr int kTextGap = 4;
constexpr int kShortcutGap = 16;

struct Looks {
    std::map<HMENU, std::vector<std::unique_ptr<MenuItemLook>>> byMenu;
    std::set<const MenuItemLook*> all;
};

Looks& TheLooks() {
    static Looks looks;
    return looks;
}

void Forget(Looks& looks, std::vector<std::unique_ptr<MenuItemLook>>& items) {
    for (const auto& item : items) looks.all.erase(item.get());
    items.clear();
}

// The menu font of the system, bold for the default item; made again when the
// system's choice changes.
HFONT MenuFont(bool bold) {
    static LOGFONTW made[2] = {};
    static OwnedFont fonts[2];
    NONCLIENTMETRICSW metrics = {};
    metrics.cbSize = sizeof(metrics);
    LOGFONTW wanted = {};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0))
        wanted = metrics.lfMenuFont;
    else
        GetObjectW(GetStockObject(DEFAULT_GUI_FONT), sizeof(wanted), &wanted);
    if (bold) wanted.lfWeight = FW_BOLD;
    const int i = bold ? 1 : 0;
    if (!fonts[i] || memcmp(&made[i], &wanted, sizeof(wanted)) != 0) {
        fonts[i] = OwnedFont(CreateFontIndirectW(&wanted));
        made[i] = wanted;
    }
    return fonts[i] ? fonts[i].Get() : static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
}

// The column for the icon or the check mark, at the left of every item.
int ColumnWidth() {
    return std::max(kMenuIconSize, GetSystemMetrics(SM_CXMENUCHECK)) + 2 * kMenuIconPadding;
}

// The text before a tab, and the shortcut after it.
std::pair<std::wstring, std::wstring> SplitAtTab(const std::wstring& text) {
    const size_t tab = text.find(L'\t');
    if (tab == std::wstring::npos) return {text, std::wstring()};
    return {text.substr(0, tab), text.substr(tab + 1)};
}

// The width of the text as shown, from the same measure that places its letters.
int TextWidth(HDC dc, const std::wstring& shown) {
    SIZE size = {};
    if (!shown.empty())
        GetTextExtentPoint32W(dc, shown.c_str(), static_cast<int>(shown.size()), &size);
    return size.cx;
}

// Draws the text left in the rectangle, centred in its height, each letter where
// GetTextExtentExPointW puts it, and the underline, when wanted, from the start
// of the marked letter to the start of the next. (Wine draws a plain TextOutW
// narrower than it measures the text; DrawTextW places its underline by the
// measure, so it stood one letter or more right of the letter drawn.)
void DrawMenuText(HDC dc, const std::wstring& text, const RECT& rect, bool underline) {
    std::wstring shown;
    int marked = -1;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) {
            ++i;
            if (text[i] != L'&' && marked < 0) marked = static_cast<int>(shown.size());
        }
        shown += text[i];
    }
    if (shown.empty()) return;
    const int count = static_cast<int>(shown.size());
    std::vector<int> ends(shown.size()), advances(shown.size());
    int fitted = 0;
    SIZE size = {};
    if (!GetTextExtentExPointW(dc, shown.c_str(), count, INT_MAX, &fitted, ends.data(), &size))
        return;
    for (int i = 0; i < count; ++i) advances[i] = ends[i] - (i ? ends[i - 1] : 0);
    TEXTMETRICW metrics = {};
    GetTextMetricsW(dc, &metrics);
    const int x = rect.left;
    const int y = rect.top + (rect.bottom - rect.top - metrics.tmHeight) / 2;
    ExtTextOutW(dc, x, y, ETO_CLIPPED, &rect, shown.c_str(), static_cast<UINT>(count),
                advances.data());
    if (!underline || marked < 0) return;
    const int left = x + (marked ? ends[marked - 1] : 0);
    const int right = x + ends[marked] - 1;  // the next letter's first column left out
    const int line = y + metrics.tmAscent + 1;
    if (line >= rect.bottom) return;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, GetTextColor(dc)));
    SelectedObject selection(dc, pen.Get());
    MoveToEx(dc, left, line, nullptr);
    LineTo(dc, std::min<int>(right, rect.right), line);
}

void DrawCheckMark(HDC dc, const RECT& column, COLORREF colour) {
    const int cx = (column.left + column.right) / 2, cy = (column.top + column.bottom) / 2;
    GdiObject<HPEN> pen(CreatePen(PS_SOLID, 1, colour));
    SelectedObject selection(dc, pen.Get());
    // A tick three pixels thick: down-right from the left, then up to the right.
    for (int t = 0; t < 3; ++t) {
        const POINT tick[] = {{cx - 3, cy - 1 + t}, {cx - 1, cy + 1 + t}, {cx + 4, cy - 4 + t}};
        Polyline(dc, tick, 3);
    }
}

}  // namespace

void PrepareMenuItems(HMENU menu, bool (*hasIcon)(UINT id)) {
    Looks& looks = TheLooks();
    for (auto it = looks.byMenu.begin(); it != looks.byMenu.end();) {
        if (it->first == menu || !IsMenu(it->first)) {
            Forget(looks, it->second);
            it = looks.byMenu.erase(it);
        } else {
            ++it;
        }
    }
    const int count = GetMenuItemCount(menu);
    if (count <= 0) return;
    const UINT defaultItem = GetMenuDefaultItem(menu, TRUE, 0);
    auto& items = looks.byMenu[menu];
    for (int i = 0; i < count; ++i) {
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_SUBMENU | MIIM_FTYPE;
        if (!GetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &info)) continue;
        if (info.fType & MFT_SEPARATOR) continue;
        auto look = std::make_unique<MenuItemLook>();
        wchar_t text[512] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        look->text = text;
        look->icon = !info.hSubMenu && hasIcon && hasIcon(info.wID) ? info.wID : 0;
        look->isDefault = defaultItem == static_cast<UINT>(i);
        MENUITEMINFOW owner = {};
        owner.cbSize = sizeof(owner);
        owner.fMask = MIIM_FTYPE | MIIM_DATA | MIIM_BITMAP;
        owner.fType = (info.fType & ~static_cast<UINT>(MFT_BITMAP)) | MFT_OWNERDRAW;
        owner.hbmpItem = nullptr;
        owner.dwItemData = reinterpret_cast<ULONG_PTR>(look.get());
        SetMenuItemInfoW(menu, static_cast<UINT>(i), TRUE, &owner);
        looks.all.insert(look.get());
        items.push_back(std::move(look));
    }
}

const MenuItemLook* LookOfMenuItem(ULONG_PTR itemData) {
    const auto* look = reinterpret_cast<const MenuItemLook*>(itemData);
    return TheLooks().all.count(look) ? look : nullptr;
}

std::wstring WithoutMenuPrefixes(const std::wstring& text) {
    std::wstring shown;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'&' && i + 1 < text.size()) ++i;
        shown += text[i];
    }
    return shown;
}

wchar_t MenuMnemonic(const std::wstring& text) {
    for (size_t i = 0; i + 1 < text.size(); ++i) {
        if (text[i] != L'&') continue;
        if (text[i + 1] != L'&') return text[i + 1];
        ++i;
    }
    return 0;
}

bool MeasureMenuItem(MEASUREITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return false;
    const MenuItemLook* look = LookOfMenuItem(item.itemData);
    if (!look) return false;
    WindowDc screen(nullptr);
    if (!screen.Get()) return false;
    SelectedObject font(screen.Get(), MenuFont(look->isDefault));
    const auto parts = SplitAtTab(look->text);
    const int text = TextWidth(screen.Get(), WithoutMenuPrefixes(parts.first));
    TEXTMETRICW metrics = {};
    GetTextMetricsW(screen.Get(), &metrics);
    int width = ColumnWidth() + kTextGap + text;
    if (!parts.second.empty()) width += kShortcutGap + TextWidth(screen.Get(), parts.second);
    const int height = std::max({kMenuIconSize + 2, static_cast<int>(metrics.tmHeight) + 4,
                                 GetSystemMetrics(SM_CYMENU) - 1});
    item.itemWidth = static_cast<UINT>(width);
    item.itemHeight = static_cast<UINT>(height);
    return true;
}

bool DrawMenuItem(const DRAWITEMSTRUCT& item) {
    if (item.CtlType != ODT_MENU) return false;
    const MenuItemLook* look = LookOfMenuItem(item.itemData);
    if (!look) return false;
    HDC dc = item.hDC;
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    const bool greyed = (item.itemState & (ODS_GRAYED | ODS_DISABLED)) != 0;
    FillRect(dc, &item.rcItem, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_MENU));
    const COLORREF ink = greyed     ? GetSysColor(COLOR_GRAYTEXT)
                         : selected ? GetSysColor(COLOR_HIGHLIGHTTEXT)
                                    : GetSysColor(COLOR_MENUTEXT);

    RECT column = item.rcItem;
    column.right = column.left + ColumnWidth();
    if (look->icon) {
        if (item.itemState & ODS_CHECKED) {
            // A checked item with an icon shows the icon framed.
            RECT frame = {column.left + kMenuIconPadding - 2, column.top + 1,
                          column.right - kMenuIconPadding + 2, column.bottom - 1};
            FrameRect(dc, &frame, GetSysColorBrush(COLOR_BTNSHADOW));
        }
        DrawMenuIcon(dc, column, look->icon, item.itemState);
    } else if (item.itemState & ODS_CHECKED) {
        DrawCheckMark(dc, column, ink);
    }

    SelectedObject font(dc, MenuFont(look->isDefault));
    const int oldMode = SetBkMode(dc, TRANSPARENT);
    const COLORREF oldInk = SetTextColor(dc, ink);
    RECT textRect = item.rcItem;
    textRect.left = column.right + kTextGap;
    const auto parts = SplitAtTab(look->text);
    DrawMenuText(dc, parts.first, textRect, (item.itemState & ODS_NOACCEL) == 0);
    if (!parts.second.empty()) {
        RECT shortcut = textRect;
        shortcut.right -= GetSystemMetrics(SM_CXMENUCHECK);
        DrawTextW(dc, parts.second.c_str(), static_cast<int>(parts.second.size()), &shortcut,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
    }
    SetTextColor(dc, oldInk);
    SetBkMode(dc, oldMode);
    return true;
}

LRESULT MenuCharAnswer(HMENU menu, wchar_t key) {
    const int count = GetMenuItemCount(menu);
    std::vector<int> matches;
    int highlighted = -1;
    const auto upper = [](wchar_t c) {
        return static_cast<wchar_t>(reinterpret_cast<ULONG_PTR>(
            CharUpperW(reinterpret_cast<LPWSTR>(static_cast<ULONG_PTR>(c)))));
    };
    for (int i = 0; i < count; ++i) {
        UINT state = GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION);
        // A submenu's item count fills the high byte, over the flag bits.
        if (GetSubMenu(menu, i)) state &= 0xFF;
        if (state & MF_HILITE) highlighted = i;
        if (state & MF_SEPARATOR) continue;
        wchar_t text[512] = {};
        GetMenuStringW(menu, static_cast<UINT>(i), text, 512, MF_BYPOSITION);
        const wchar_t letter = MenuMnemonic(text);
        if (letter && upper(letter) == upper(key)) matches.push_back(i);
    }
    if (matches.empty()) return MAKELRESULT(0, MNC_IGNORE);
    if (matches.size() == 1) return MAKELRESULT(matches[0], MNC_EXECUTE);
    const auto next = std::upper_bound(matches.begin(), matches.end(), highlighted);
    return MAKELRESULT(next == matches.end() ? matches[0] : *next, MNC_SELECT);
}
