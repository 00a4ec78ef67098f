#pragma once
// A modeless dialog box bound to a Window object at its WM_INITDIALOG. Its
// window procedure is subclassed then, so later messages pass HandleMessage
// first and then the dialog class's own procedure, which calls DialogProc
// through SharedDialogProc. What comes before WM_INITDIALOG (WM_SETFONT) gets
// the dialog's default processing only.

#include "ui/Window_win.h"

class DialogWindow : public Window {
public:
    // Creates the dialog from a template among the executable's resources.
    bool Create(HWND parent, int templateId);
    // Creates the dialog from a template in memory.
    bool CreateIndirect(HWND parent, const DLGTEMPLATE* dialogTemplate);

    // Gives the dialog its keyboard navigation (Tab, Enter, Escape).
    bool PreTranslate(MSG& message) override;

    // The dialog procedure: nonzero when the message was handled.
    virtual INT_PTR DialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};
