#include "ui/DialogWindow_win.h"

bool DialogWindow::Create(HWND parent, int templateId) {
    if (Handle()) return false;
    CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId), parent,
                       &SharedDialogProc, reinterpret_cast<LPARAM>(this));
    return Handle() != nullptr;
}

bool DialogWindow::CreateIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate) {
    if (Handle()) return false;
    CreateDialogIndirectParamW(GetModuleHandleW(nullptr), dialogTemplate, parent, &SharedDialogProc,
                               reinterpret_cast<LPARAM>(this));
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
    // Only DialogWindow::Create hands this procedure to the system, with the
    // object as the parameter that WM_INITDIALOG carries. The dialog is
    // subclassed then, so from there on its messages pass HandleMessage first.
    if (message == WM_INITDIALOG && lParam) {
        auto* object = reinterpret_cast<DialogWindow*>(lParam);
        if (!object->Subclass(window)) return 0;
        return object->DialogProc(window, message, wParam, lParam);
    }
    Window* object = WindowFromHandle(window);
    if (!object) return 0;
    return static_cast<DialogWindow*>(object)->DialogProc(window, message, wParam, lParam);
}
