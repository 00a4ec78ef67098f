#pragma once
// The base of every window object of the program.
//
// A Window object is bound to its window handle in one of three ways:
// - a window of a class whose procedure is SharedWindowProc: the creating code
//   passes the object as the lpParam of CreateWindowExW, and SharedWindowProc
//   binds it at WM_NCCREATE, so every message from then on reaches the object;
// - a dialog (DialogWindow): the object is the lParam of CreateDialogParamW,
//   and SharedDialogProc binds it at WM_INITDIALOG;
// - an existing window of another class (a system control): Subclass.
// Binding stores the handle in the object and points GWLP_USERDATA at the
// object; WindowFromHandle reads it back. At WM_NCDESTROY the base
// HandleMessage undoes all of it.
//
// Derived handlers handle their own messages first and then hand every message
// on to their base class's HandleMessage; they never consume WM_NCDESTROY,
// WM_COMMAND or WM_INITMENUPOPUP.

#include <windows.h>

#include <memory>
#include <string>

class Window {
public:
    Window();
    // Destroys the window when it still exists. Messages sent during that
    // destruction reach only the base HandleMessage (the derived parts are gone).
    virtual ~Window();

    Window(const Window&) = delete;
    Window& operator=(const Window&) = delete;

    // The message handler; the base routes WM_COMMAND, WM_INITMENUPOPUP and
    // WM_NCDESTROY and gives everything else default processing.
    virtual LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // Returns true when the command was handled (the message then answers 0),
    // false to hand it on to default processing.
    virtual bool OnCommand(WORD notification, WORD id, HWND control);
    virtual void OnInitMenuPopup(HMENU menu, UINT index, bool isSystemMenu);
    // Asked by the message loop before a keyboard message for this window or
    // one of its descendants is translated and dispatched (PreTranslateKeyMessage);
    // false consumes the message.
    virtual bool PreTranslate(MSG& message);

    // Binds an existing window of this thread to this object: its procedure is
    // replaced by SharedWindowProc and becomes the default processing of this
    // object. Fails when this object is bound already, or the window is of
    // another thread, bound already or keeps something of its own in
    // GWLP_USERDATA.
    bool Subclass(HWND window);

    // --- thin operations on the bound window ---
    HWND Handle() const { return hwnd; }
    bool Destroy();
    RECT ClientRect() const;
    RECT WindowRect() const;
    bool Resize(int width, int height, bool redraw = true);
    bool Move(int x, int y, bool redraw = true);
    bool SetRect(const RECT& rect, bool redraw = true);
    bool Post(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;
    bool SetTopmost(bool on);
    bool IsTopmost() const;
    bool RaiseUnlessTopmost();
    bool BringToForeground(bool force);
    void GetText(std::wstring& text) const;
    // A message box owned by this window; a null caption uses the product name.
    int ShowMessage(const wchar_t* text, const wchar_t* caption = nullptr, UINT type = MB_OK) const;

    // Tracks a popup menu at the cursor (Menu_win.cpp). A second call while a
    // popup of this window is open does nothing. From the tray the menu opens
    // above and left of the cursor, with the extra steps a notification-area
    // menu needs to close properly.
    void ShowPopupMenu(HMENU menu, bool fromTray);
    // True while ShowPopupMenu is tracking a menu of this window.
    bool InPopupMenu() const { return inPopupMenu; }

protected:
    // The default processing of a message: the replaced procedure of a
    // subclassed window, otherwise DefWindowProcW.
    LRESULT DefaultProcessing(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    bool IsSubclassed() const { return previousProc != nullptr; }

private:
    friend LRESULT CALLBACK SharedWindowProc(HWND, UINT, WPARAM, LPARAM);
    // Binds a window of a class of ours at its WM_NCCREATE.
    void Bind(HWND window);
    void Unbind(HWND window);

    HWND hwnd = nullptr;
    WNDPROC previousProc = nullptr;
    bool inPopupMenu = false;
};

// The window procedure of every window class of the program. At WM_NCCREATE it
// binds the Window object given as CreateWindowExW's lpParam, if any.
LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog procedure of every DialogWindow.
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The object bound to a window of this thread, or null (a window of another
// thread or process, a destroyed window, one that is not ours).
Window* WindowFromHandle(HWND window);

// Registers a window class of this module whose procedure is SharedWindowProc;
// true when it exists afterwards (registered now or before). cursor and icon
// may be null.
bool RegisterSharedClass(const wchar_t* name, UINT style, HCURSOR cursor, HICON icon);

// The message loop's step before translating and dispatching: a keyboard
// message is offered to the bound windows from its own window up through its
// parents to the top-level window, until one consumes it. False when consumed;
// other messages are never offered to anyone.
bool PreTranslateKeyMessage(MSG& message);

// MessageBoxW; a null caption uses the product name.
int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption = nullptr,
                UINT type = MB_OK);

// The bounding rectangle of all monitors; its left and top are negative when
// a monitor lies left of or above the primary one.
RECT VirtualScreenRect();
