#pragma once
// The tray icon and the global hot keys of a run: it shows the icon, raises
// its notifications, registers the hot keys from the settings, and tells the
// owner what the user asked for with them. A single click on the icon is told
// from a double click by a timer as long as the system's double-click time.
//
// The messages come through the main window, which the owner forwards here.

#include <windows.h>

#include <string>

#include "app/HotKeys_win.h"
#include "store/AppSettings.h"
#include "ui/TrayIcon_win.h"

class TrayAndKeys {
public:
    static constexpr UINT kTrayIconId = 1;

    // What the user asked for from the tray icon or with a hot key.
    enum class Request {
        NewNoteAtTray,         // double click on the icon: a new note near the tray
        MainMenuAtTray,        // right click on the icon
        NotesToTop,            // single click on the icon: the notes come up, not active
        AlarmNote,             // click on the alarm notification
        NewNote,               // hot key
        ToggleNotes,           // hot key: show or hide the notes
        NotesToTopActivated,   // hot key: the notes come up and are activated
        NewNoteFromClipboard,  // hot key
        FindNotes,             // hot key
    };

    // Carries out what the user asked for.
    class Owner {
    public:
        virtual void OnTrayOrKeyRequest(Request request) = 0;

    protected:
        ~Owner() = default;
    };

    // Registers `keys` for `window` and shows the icon with `toolTip`; the
    // icon's messages and the hot keys go to `window`, which outlives this.
    TrayAndKeys(Owner& owner, HWND window, const HotKeySetting (&keys)[kHotKeyCount],
                const std::wstring& toolTip);
    TrayAndKeys(const TrayAndKeys&) = delete;
    TrayAndKeys& operator=(const TrayAndKeys&) = delete;

    // Returns the hot keys that could not be registered, bit i for hot key i.
    unsigned RegisterHotKeys(const HotKeySetting (&keys)[kHotKeyCount]);
    void UnregisterHotKeys();

    // The taskbar was made anew (Explorer restarted): the icon comes back.
    void RestoreIcon() { tray.Restore(); }
    void RemoveIcon() { tray.Remove(); }
    // A balloon from the icon; a click on it comes back as Request::AlarmNote.
    void Notify(const std::wstring& title, const std::wstring& text) { tray.Notify(title, text); }

    // The icon's callback message (lParam: the mouse message), WM_HOTKEY's
    // wParam, and the click timer (kTrayClickTimer) running out.
    void OnTrayMessage(LPARAM mouseMessage);
    void OnHotKey(WPARAM id);
    void OnClickTimer();

    const TrayIcon& Tray() const { return tray; }
    // A single click waits for the double-click time to pass.
    bool ClickPending() const { return clickPending; }

private:
    Owner& owner;
    HWND window;
    TrayIcon tray;
    HotKeys hotKeys;
    bool clickPending = false;
    bool doubleClickSeen = false;
};
