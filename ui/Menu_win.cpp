#include "ui/Menu_win.h"

#include "lang/LanguageTable.h"
#include "ui/Window_win.h"

void Window::ShowPopupMenu(HMENU menu, bool fromTray) {
    if (inPopupMenu || !hwnd) return;
    inPopupMenu = true;
    // TrackPopupMenu runs a modal loop that dispatches other messages. None
    // of them deletes this object: the windows with popup menus (the main
    // window, the notes) are destroyed only once their handlers have returned.
    HWND window = hwnd;
    POINT cursor = {};
    GetCursorPos(&cursor);
    UINT flags = TPM_RIGHTBUTTON;
    if (fromTray) {
        // A notification-area menu only closes on a click elsewhere when its
        // owner is the foreground window, and only after the owner's queue saw
        // one more message once the menu is gone.
        SetForegroundWindow(window);
        flags |= TPM_BOTTOMALIGN | TPM_RIGHTALIGN;
    }
    TrackPopupMenu(menu, flags, cursor.x, cursor.y, 0, window, nullptr);
    if (fromTray) PostMessageW(window, WM_NULL, 0, 0);
    inPopupMenu = false;
}

void FillSubmenu(const LanguageTable& language, HMENU submenu,
                 const std::vector<std::wstring>& texts, UINT firstId) {
    const bool empty = texts.empty();
    const std::vector<std::wstring> placeholder = {empty ? language.TextOf(kEmptySubMenu)
                                                         : std::wstring()};
    const std::vector<std::wstring>& items = empty ? placeholder : texts;

    int count = GetMenuItemCount(submenu);
    if (count < 0) return;
    while (count > static_cast<int>(items.size())) {
        if (!DeleteMenu(submenu, 0, MF_BYPOSITION)) return;
        --count;
    }
    for (size_t i = 0; i < items.size(); ++i) {
        std::wstring text = items[i];
        MENUITEMINFOW info = {};
        info.cbSize = sizeof(info);
        info.fMask = MIIM_ID | MIIM_STRING;
        info.wID = firstId + static_cast<UINT>(i);
        info.dwTypeData = &text[0];
        if (static_cast<int>(i) < count)
            SetMenuItemInfoW(submenu, static_cast<UINT>(i), TRUE, &info);
        else
            InsertMenuItemW(submenu, static_cast<UINT>(i), TRUE, &info);
    }
    EnableMenuItem(submenu, 0, MF_BYPOSITION | (empty ? MF_GRAYED : MF_ENABLED));
}
