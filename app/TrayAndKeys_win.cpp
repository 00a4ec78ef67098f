// The tray icon and the global hot keys: the icon's clicks and the keys become
// requests to the owner.

#include "app/TrayAndKeys_win.h"

#include <shellapi.h>

#include "res/resource.h"
#include "ui/PrivateMessages_win.h"

TrayAndKeys::TrayAndKeys(Owner& owner, HWND window, const HotKeySetting (&keys)[kHotKeyCount],
                         const std::wstring& toolTip)
    : owner(owner), window(window) {
    hotKeys.Register(window, keys);
    tray.Add(window, kTrayIconId, kTrayMessage,
             LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDI_TRAY)), toolTip);
}

unsigned TrayAndKeys::RegisterHotKeys(const HotKeySetting (&keys)[kHotKeyCount]) {
    return hotKeys.Register(window, keys);
}

void TrayAndKeys::UnregisterHotKeys() {
    hotKeys.Unregister();
}

void TrayAndKeys::OnTrayMessage(LPARAM mouseMessage) {
    switch (static_cast<UINT>(mouseMessage)) {
        case WM_LBUTTONUP:
            // The button-up that ends a double click is not a click of its own.
            if (doubleClickSeen) {
                doubleClickSeen = false;
            } else if (!clickPending) {
                SetTimer(window, kTrayClickTimer, GetDoubleClickTime(), nullptr);
                clickPending = true;
            }
            break;
        case WM_LBUTTONDBLCLK:
            doubleClickSeen = true;
            if (clickPending) {
                KillTimer(window, kTrayClickTimer);
                clickPending = false;
            }
            owner.OnTrayOrKeyRequest(Request::NewNoteAtTray);
            break;
        case WM_RBUTTONUP:
            owner.OnTrayOrKeyRequest(Request::MainMenuAtTray);
            break;
        case NIN_BALLOONUSERCLICK:
            owner.OnTrayOrKeyRequest(Request::AlarmNote);
            break;
        default:
            break;
    }
}

void TrayAndKeys::OnClickTimer() {
    KillTimer(window, kTrayClickTimer);
    if (clickPending) owner.OnTrayOrKeyRequest(Request::NotesToTop);
    clickPending = false;
}

void TrayAndKeys::OnHotKey(WPARAM id) {
    switch (HotKeys::IndexOf(id)) {
        case kHotKeyNewNote:
            owner.OnTrayOrKeyRequest(Request::NewNote);
            break;
        case kHotKeyShowNotes:
            owner.OnTrayOrKeyRequest(Request::ToggleNotes);
            break;
        case kHotKeyBringNotesToTop:
            owner.OnTrayOrKeyRequest(Request::NotesToTopActivated);
            break;
        case kHotKeyNewNoteFromClipboard:
            owner.OnTrayOrKeyRequest(Request::NewNoteFromClipboard);
            break;
        case kHotKeyFindNotes:
            owner.OnTrayOrKeyRequest(Request::FindNotes);
            break;
        default:
            break;
    }
}
