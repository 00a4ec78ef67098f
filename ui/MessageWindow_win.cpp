#include "ui/MessageWindow_win.h"

#include <utility>

namespace {

constexpr const wchar_t* kClassName = L"Zephyn3 MessageWindow";

}  // namespace

MessageWindow::MessageWindow(Handler h) : handler(std::move(h)) {
    if (!RegisterSharedClass(kClassName, 0, nullptr, nullptr)) return;
    CreateWindowExW(0, kClassName, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                    GetModuleHandleW(nullptr), this);
}

LRESULT MessageWindow::HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // WM_NCDESTROY and the rest of the window's life go to the base.
    if (message != WM_NCDESTROY && handler && handler(message, wParam, lParam)) return 0;
    return Window::HandleMessage(window, message, wParam, lParam);
}
