#pragma once
// A window object of a plain registered class for the framework tests; it
// records what reaches it.

#include <windows.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "lang/LanguageTable.h"
#include "ui/Window_win.h"

inline bool RegisterTestClass(const wchar_t* name, WNDPROC proc) {
    WNDCLASSW windowClass{};
    windowClass.lpfnWndProc = proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = name;
    return RegisterClassW(&windowClass) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
}

inline HWND CreatePopup(const wchar_t* className) {
    return CreateWindowExW(0, className, L"", WS_POPUP, 0, 0, 50, 50, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
}

class RecordingWindow : public Window {
public:
    static constexpr const wchar_t* kClassName = L"VnTest RecordingWindow";

    // A top-level overlapped window (it gets WM_GETMINMAXINFO before
    // WM_NCCREATE), or a child of parent.
    bool Create(HWND parent = nullptr) {
        RegisterSharedClass(kClassName, 0, nullptr, nullptr);
        DWORD style = parent ? WS_CHILD | WS_VISIBLE : WS_OVERLAPPEDWINDOW;
        created = CreateWindowExW(0, kClassName, L"", style, 10, 10, 200, 100, parent, nullptr,
                                  GetModuleHandleW(nullptr), this);
        return created != nullptr;
    }

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        messages.push_back(message);
        if (message == WM_NCCREATE) handleAtNcCreate = Handle();
        return Window::HandleMessage(window, message, wParam, lParam);
    }
    bool OnCommand(WORD notification, WORD id, HWND control) override {
        commands.emplace_back(id, notification, control);
        return commandResult;
    }
    bool PreTranslate(MSG& message) override {
        ++preTranslateCalls;
        preTranslated.push_back(message.message);
        return preTranslateResult;
    }
    bool Saw(UINT message) const {
        return std::find(messages.begin(), messages.end(), message) != messages.end();
    }

    HWND created = nullptr;
    HWND handleAtNcCreate = nullptr;
    std::vector<UINT> messages;
    std::vector<std::tuple<WORD, WORD, HWND>> commands;  // id, notification, control
    bool commandResult = false;
    int preTranslateCalls = 0;
    std::vector<UINT> preTranslated;
    bool preTranslateResult = true;
};
