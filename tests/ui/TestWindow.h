#pragma once
// A window object of a plain registered class for the framework tests; it
// records what reaches it.

#include <windows.h>

#include <vector>

#include "ui/Window_win.h"

class RecordingWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = L"VnTest RecordingWindow";

    // A top-level overlapped window (it gets WM_GETMINMAXINFO before
    // WM_NCCREATE), or a child of parent.
    bool Create(HWND parent = nullptr) {
        Register();
        AttachScope attach(this, false);
        DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        created = CreateWindowExW(0, kClassName, L"", style, 10, 10, 200, 100, parent, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
        return created != nullptr;
    }

    static void Register() {
        static bool done = false;
        if (done) return;
        WNDCLASSEXW windowClass = {};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = &SharedWindowProc;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kClassName;
        done = RegisterClassExW(&windowClass) != 0;
    }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == WM_NCCREATE) handleAtNcCreate = Handle();
        return Window::HandleMessage(window, message, wParam, lParam);
    }

    bool OnCommand(WORD notification, WORD id, HWND control) override {
        commands.push_back({notification, id, control});
        return commandResult;
    }

    void OnInitMenuPopup(HMENU menu, UINT index, bool isSystemMenu) override {
        popupMenu = menu;
        popupIndex = index;
        popupIsSystem = isSystemMenu;
    }

    bool PreTranslate(MSG& message) override {
        ++preTranslateCalls;
        return preTranslateResult;
    }

    bool Saw(UINT message) const {
        for (UINT m : messages)
            if (m == message) return true;
        return false;
    }

    struct Command {
        WORD notification;
        WORD id;
        HWND control;
    };

    HWND created = nullptr;
    HWND handleAtNcCreate = nullptr;
    std::vector<UINT> messages;
    std::vector<Command> commands;
    bool commandResult = true;
    HMENU popupMenu = nullptr;
    UINT popupIndex = 0;
    bool popupIsSystem = false;
    int preTranslateCalls = 0;
    bool preTranslateResult = true;
};
