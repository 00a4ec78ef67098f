#pragma once
// Answers the message boxes that the code under test shows on this thread: a
// WH_CBT hook sees each box as it is activated, records its text and posts the
// next queued answer to it. Dialogs that are not message boxes (they have no
// static text with the message box's identifier) are left alone.

#include <windows.h>

#include <deque>
#include <string>
#include <vector>

class MessageBoxAnswers {
public:
    MessageBoxAnswers() {
        current = this;
        hook = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~MessageBoxAnswers() {
        if (hook) UnhookWindowsHookEx(hook);
        current = nullptr;
    }
    MessageBoxAnswers(const MessageBoxAnswers&) = delete;
    MessageBoxAnswers& operator=(const MessageBoxAnswers&) = delete;

    // IDOK, IDYES, IDNO, IDCANCEL; a box with no answer queued gets IDOK when
    // it has that button and IDCANCEL otherwise.
    void Queue(int answer) { answers.push_back(answer); }

    // The texts of the boxes shown so far, oldest first.
    const std::vector<std::wstring>& Texts() const { return texts; }
    void Clear() { texts.clear(); }

private:
    static bool IsMessageBox(HWND window) {
        wchar_t cls[16] = {};
        GetClassNameW(window, cls, 16);
        if (std::wstring(cls) != L"#32770") return false;
        // User32 gives the box's text the identifier 0xFFFF (Windows) or 100 (Wine).
        return GetDlgItem(window, 0xFFFF) || GetDlgItem(window, 100);
    }

    static std::wstring BoxText(HWND window) {
        HWND text = GetDlgItem(window, 0xFFFF);
        if (!text) text = GetDlgItem(window, 100);
        wchar_t buffer[4096] = {};
        GetWindowTextW(text, buffer, 4096);
        return buffer;
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        if (code == HCBT_ACTIVATE && current) {
            HWND window = reinterpret_cast<HWND>(wParam);
            if (IsMessageBox(window)) {
                current->texts.push_back(BoxText(window));
                int answer = IDOK;
                if (!current->answers.empty()) {
                    answer = current->answers.front();
                    current->answers.pop_front();
                } else if (!GetDlgItem(window, IDOK)) {
                    answer = IDCANCEL;
                }
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(answer, BN_CLICKED),
                             reinterpret_cast<LPARAM>(GetDlgItem(window, answer)));
            }
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline MessageBoxAnswers* current = nullptr;
    HHOOK hook = nullptr;
    std::deque<int> answers;
    std::vector<std::wstring> texts;
};
