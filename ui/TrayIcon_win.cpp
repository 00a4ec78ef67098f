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
