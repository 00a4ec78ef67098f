#include "ui/MessageWindow_win.h"

#include <utility>

MessageWindow::MessageWindow(Handler h) : handler(std::move(h)) {
    AttachScope attach(this, true);
    CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                    GetModuleHandleW(nullptr), nullptr);
}

LRESULT MessageWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // WM_NCDESTROY and the rest of the window's life go to the base.
    if (message != WM_NCDESTROY && handler && handler(message, wParam, lParam)) return 0;
    return Window::HandleMessage(window, message, wParam, lParam);
}
