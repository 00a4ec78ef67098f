#include "lang/Translate_win.h"

#include <optional>
#include <string>

#include "lang/LanguageTable.h"

namespace {

// Menus cannot contain themselves, but a bound keeps a damaged menu from taking the
// stack with it.
constexpr int kMaxMenuDepth = 32;

bool ReadItemString(HMENU menu, UINT position, std::wstring& text) {
    MENUITEMINFOW info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING;
    // With no buffer the call reports the length without the terminator.
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return false;
    std::wstring buffer(static_cast<size_t>(info.cch) + 1, L'\0');
    info.dwTypeData = &buffer[0];
    info.cch = static_cast<UINT>(buffer.size());
    if (!GetMenuItemInfoW(menu, position, TRUE, &info)) return false;
    buffer.resize(info.cch < buffer.size() ? info.cch : buffer.size() - 1);
    text = buffer;
    return true;
}

void TranslateMenuLevel(HMENU menu, const LanguageTable& table, int depth) {
    if (!menu || depth > kMaxMenuDepth) return;
    int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        UINT position = static_cast<UINT>(i);
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_FTYPE | MIIM_SUBMENU;
        if (!GetMenuItemInfoW(menu, position, TRUE, &info)) continue;

        // Setting a string on a separator or an owner-drawn item would change what
        // it is on some versions of Windows.
        bool hasText = !(info.fType & (MFT_SEPARATOR | MFT_OWNERDRAW | MFT_BITMAP));
        std::wstring text;
        if (hasText && ReadItemString(menu, position, text)) {
            std::wstring translated = table.Translate(text);
            MENUITEMINFOW update = {};
            update.cbSize = sizeof(update);
            update.fMask = MIIM_STRING;
            update.dwTypeData = &translated[0];
            SetMenuItemInfoW(menu, position, TRUE, &update);
        }
        if (info.hSubMenu) TranslateMenuLevel(info.hSubMenu, table, depth + 1);
    }
}

std::wstring WindowText(HWND window) {
    int length = GetWindowTextLengthW(window);
    if (length <= 0) return std::wstring();
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    int got = GetWindowTextW(window, &text[0], length + 1);
    text.resize(got > 0 ? static_cast<size_t>(got) : 0);
    return text;
}

void TranslateWindowText(HWND window, const LanguageTable& table) {
    std::wstring text = WindowText(window);
    if (text.empty()) return;
    std::optional<int> number = table.FindKey(text);
    if (number) SetWindowTextW(window, table.TextOf(*number).c_str());
}

}  // namespace

void TranslateMenu(HMENU menu, const LanguageTable& table) {
    TranslateMenuLevel(menu, table, 0);
}

void TranslateDialog(HWND dialog, const LanguageTable& table) {
    if (!dialog) return;
    TranslateWindowText(dialog, table);
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        TranslateWindowText(child, table);
    }
}
