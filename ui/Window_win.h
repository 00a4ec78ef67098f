#pragma once
// The base of every window object of the program.
//
// A Window object is bound to its window handle while the window is created:
// the creating code calls BeginAttach, creates the window (CreateWindowExW or
// CreateDialogParamW) and calls EndAttach (or uses AttachScope for both). A
// thread-local WH_CALLWNDPROC hook catches the window's WM_NCCREATE, stores the
// handle in the object, points GWLP_USERDATA at the object and adds it to
// WindowList. From then on SharedWindowProc forwards every message to
// HandleMessage. At WM_NCDESTROY the base HandleMessage undoes all of it.
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
    // Asked by the message loop before each message is translated and
    // dispatched; false consumes the message.
    virtual bool PreTranslate(MSG& message);

    // Creation protocol. BeginAttach fails (and leaves nothing pending) when
    // another attach is still open or the hook cannot be set; the window can
    // still be created, it just stays unbound. With subclass true the window's
    // own procedure is replaced by SharedWindowProc and becomes the default
    // processing of this object.
    static bool BeginAttach(Window* object, bool subclass);
    static void EndAttach();

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
    // A message box owned by this window; a null caption uses the application title.
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
    static LRESULT CALLBACK AttachHookProc(int code, WPARAM wParam, LPARAM lParam);
    void Unbind(HWND window);

    HWND hwnd = nullptr;
    WNDPROC previousProc = nullptr;
    bool inPopupMenu = false;
};

// Opens an attach in its constructor and closes it in its destructor, so that
// every return path of a creation function removes the hook.
class AttachScope {
public:
    AttachScope(Window* object, bool subclass) : ok(Window::BeginAttach(object, subclass)) {}
    ~AttachScope() {
        if (ok) Window::EndAttach();
    }
    AttachScope(const AttachScope&) = delete;
    AttachScope& operator=(const AttachScope&) = delete;
    bool Ok() const { return ok; }

private:
    bool ok;
};

// The window procedure of every window class of the program.
LRESULT CALLBACK SharedWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
// The dialog procedure of every DialogWindow.
INT_PTR CALLBACK SharedDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The object bound to a window of this thread, or null.
Window* WindowFromHandle(HWND window);

// MessageBoxW; a null caption uses the application title.
int ShowMessage(HWND owner, const wchar_t* text, const wchar_t* caption = nullptr,
                UINT type = MB_OK);

// The bounding rectangle of all monitors; its left and top are negative when
// a monitor lies left of or above the primary one.
RECT VirtualScreenRect();
