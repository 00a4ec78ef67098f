#pragma once
// An icon in the notification area, owned: it leaves the area with its owner
// object or its window.

#include <windows.h>
#include <shellapi.h>

#include <string>

class TrayIcon {
public:
    TrayIcon() = default;
    ~TrayIcon() { Remove(); }
    TrayIcon(const TrayIcon&) = delete;
    TrayIcon& operator=(const TrayIcon&) = delete;

    // Shows the icon for `owner`, whose mouse events arrive there as
    // `callbackMessage` (wParam the id, lParam the mouse message). The tip
    // holds 127 units; a longer one is cut rather than overrunning the record.
    bool Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip);
    // Shows the icon again after the taskbar was made anew (Explorer
    // restarted: TaskbarCreatedMessage), which forgets every icon.
    bool Restore();
    // Takes the icon out of the area; do it before the owner window goes.
    void Remove();

    // A notification from the icon (its title and text cut to what the record
    // holds); a click on it arrives as NIN_BALLOONUSERCLICK.
    bool Notify(const std::wstring& title, const std::wstring& text);

    bool Shown() const { return data.hWnd != nullptr; }
    const NOTIFYICONDATAW& Data() const { return data; }
    // The record of the last notification, as it was handed to the shell.
    const NOTIFYICONDATAW& LastNotification() const { return notification; }

private:
    NOTIFYICONDATAW data = {};
    NOTIFYICONDATAW notification = {};
};

// The message the taskbar broadcasts when it is made anew; 0 when it could not
// be registered. Registered at the first call.
UINT TaskbarCreatedMessage();
