#pragma once
// Answers the dialogs that the code under test opens on this thread: message
// boxes and the open and save dialogs. A WH_CBT hook sees each dialog as it is
// first activated (before it waits for the user), records it and posts the
// next queued answer; a file dialog gets the answer's file name typed in
// first. Other dialogs are left alone, unless the test passes a handler: it
// gets every dialog first and says whether it dealt with it.

#include <windows.h>

#include <algorithm>
#include <deque>
#include <functional>
#include <string>
#include <vector>

class DialogAnswers {
public:
    struct Answer {
        Answer(int button, std::wstring fileName = {})
            : button(button), fileName(std::move(fileName)) {}
        int button;             // IDOK, IDYES, IDNO, IDCANCEL, or kEnterKey
        std::wstring fileName;  // for a file dialog: the full path to enter
    };
    using Handler = std::function<bool(HWND dialog)>;
    // The answer of a user who presses Enter: the box's default button.
    static constexpr int kEnterKey = 0;

    explicit DialogAnswers(std::vector<Answer> queued = {}, Handler handler = nullptr)
        : answers(queued.begin(), queued.end()), custom(std::move(handler)) {
        previous = current;
        current = this;
        hook = SetWindowsHookExW(WH_CBT, &Hook, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswers() {
        if (hook) UnhookWindowsHookEx(hook);
        current = previous;
    }
    DialogAnswers(const DialogAnswers&) = delete;
    DialogAnswers& operator=(const DialogAnswers&) = delete;

    void Queue(int button, std::wstring fileName = {}) {
        answers.push_back({button, std::move(fileName)});
    }
    // The button for a dialog with nothing queued, where it has that button;
    // else OK where it has one, else Cancel (always Cancel for a file dialog).
    void SetUnqueued(int button) { unqueued = button; }

    // One entry per message box or file dialog answered, oldest first: the
    // box's text or "<file dialog>"; and its caption.
    const std::vector<std::wstring>& Texts() const { return texts; }
    const std::vector<std::wstring>& Captions() const { return captions; }
    // Every dialog seen, those of the handler and those left alone included.
    int Seen() const { return static_cast<int>(seen.size()); }
    void Clear() { texts.clear(), captions.clear(); }

    static std::wstring TextOf(HWND window) {
        wchar_t text[4096] = {};
        GetWindowTextW(window, text, 4096);
        return text;
    }

private:
    // The file-name field of the Explorer-style open and save dialogs (a
    // ComboBoxEx whose text is the name), and of older templates.
    static constexpr int kFileNameCombo = 1148;
    static constexpr int kFileNameEdit = 1152;
    // User32 gives a message box's text the identifier 0xFFFF (Windows) or 100 (Wine).
    static HWND BoxText(HWND dialog) {
        HWND text = GetDlgItem(dialog, 0xFFFF);
        return text ? text : GetDlgItem(dialog, 100);
    }

    void Respond(HWND dialog) {
        if (custom && custom(dialog)) return;
        HWND field = GetDlgItem(dialog, kFileNameCombo);
        if (!field) field = GetDlgItem(dialog, kFileNameEdit);
        HWND body = field ? nullptr : BoxText(dialog);
        if (!field && !body) return;  // a dialog of the program's own: left to the test
        captions.push_back(TextOf(dialog));
        texts.push_back(field ? L"<file dialog>" : TextOf(body));
        int button = field                          ? IDCANCEL
                     : GetDlgItem(dialog, unqueued) ? unqueued
                     : GetDlgItem(dialog, IDOK)     ? IDOK
                                                    : IDCANCEL;
        if (!answers.empty()) {
            button = answers.front().button;
            if (field && !answers.front().fileName.empty()) {
                SendMessageW(field, WM_SETTEXT, 0,
                             reinterpret_cast<LPARAM>(answers.front().fileName.c_str()));
            }
            answers.pop_front();
        }
        if (button == kEnterKey) {
            PostMessageW(dialog, WM_KEYDOWN, VK_RETURN, 0);
        } else {
            PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(dialog, button)));
        }
    }

    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto window = reinterpret_cast<HWND>(wParam);
        wchar_t name[16] = {};
        // Activated again after a box of its own closes: answered once only.
        if (code == HCBT_ACTIVATE && current && GetClassNameW(window, name, 16) &&
            std::wstring(name) == L"#32770" &&
            std::find(current->seen.begin(), current->seen.end(), window) == current->seen.end()) {
            current->seen.push_back(window);
            current->Respond(window);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    static inline DialogAnswers* current = nullptr;
    DialogAnswers* previous = nullptr;
    HHOOK hook = nullptr;
    std::deque<Answer> answers;
    Handler custom;
    int unqueued = IDOK;
    std::vector<HWND> seen;
    std::vector<std::wstring> texts, captions;
};
