#include "ui/TrayIcon_win.h"

#include <algorithm>
#include <iterator>

bool TrayIcon::Add(HWND owner, UINT id, UINT callbackMessage, HICON icon, const std::wstring& tip) {
    Remove();
    data = {};
    data.cbSize = sizeof(data);
    data.hWnd = owner;
    data.uID = id;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = callbackMessage;
    data.hIcon = icon;
    const size_t length = std::min(tip.size(), std::size(data.szTip) - 1);
    std::copy_n(tip.begin(), length, data.szTip);
    data.szTip[length] = 0;
    return Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

bool TrayIcon::Notify(const std::wstring& title, const std::wstring& text) {
    if (!Shown()) return false;
    notification = data;
    notification.uFlags = NIF_INFO;
    const auto copy = [](const std::wstring& from, wchar_t* to, size_t room) {
        const size_t length = std::min(from.size(), room - 1);
        std::copy_n(from.begin(), length, to);
        to[length] = 0;
    };
    copy(title, notification.szInfoTitle, std::size(notification.szInfoTitle));
    copy(text, notification.szInfo, std::size(notification.szInfo));
    notification.dwInfoFlags = NIIF_INFO;
    return Shell_NotifyIconW(NIM_MODIFY, &notification) != FALSE;
}

bool TrayIcon::Restore() {
    return Shown() && Shell_NotifyIconW(NIM_ADD, &data) != FALSE;
}

void TrayIcon::Remove() {
    if (!Shown()) return;
    Shell_NotifyIconW(NIM_DELETE, &data);
    data.hWnd = nullptr;
}

UINT TaskbarCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarCreated");
    return message;
}
