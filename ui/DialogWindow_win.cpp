#include "ui/DialogWindow_win.h"

bool DialogWindow::Create(HWND parent, int templateId) {
    AttachScope attach(this, true);
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                       &SharedDialogProc, 0);
    return Handle() != nullptr;
}

bool DialogWindow::CreateIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate) {
    AttachScope attach(this, true);
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, parent, &SharedDialogProc,
                               0);
    return Handle() != nullptr;
}

bool DialogWindow::PreTranslate(MSG& message) {
    HWND dialog = Handle();
    if (dialog && IsDialogMessageW(dialog, &message)) return false;
    return Window::PreTranslate(message);
}

INT_PTR DialogWindow::DialogProc(HWND, UINT, WPARAM, LPARAM) {
    return 0;
}

INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    // Only DialogWindow::Create hands this procedure to the system, so a bound
    // object here is always a DialogWindow.
    auto* object = reinterpret_cast<Window*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (!object) return 0;
    return static_cast<DialogWindow*>(object)->DialogProc(window, message, wParam, lParam);
}
