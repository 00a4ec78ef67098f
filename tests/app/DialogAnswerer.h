#pragma once
// Answers the message boxes and file dialogs that this thread opens, in
// order, from a list of answers: a CBT hook sees each dialog as it is first
// activated, fills in the file name when the answer has one and posts the
// button. The texts of the boxes are kept for the test to read.

#include <windows.h>

#include <deque>
#include <set>
#include <string>
#include <vector>

class DialogAnswerer {
public:
    struct Answer {
        WPARAM button;
        std::wstring fileName;  // for a file dialog: the full path to enter
    };

    explicit DialogAnswerer(std::vector<Answer> answers) {
        Queue() = std::deque<Answer>(answers.begin(), answers.end());
        Texts().clear();
        Seen().clear();
        hook = SetWindowsHookExW(WH_CBT, &Proc, nullptr, GetCurrentThreadId());
    }
    ~DialogAnswerer() {
        UnhookWindowsHookEx(hook);
        Queue().clear();
    }
    DialogAnswerer(const DialogAnswerer&) = delete;
    DialogAnswerer& operator=(const DialogAnswerer&) = delete;

    // One entry per dialog seen: a message box's text, or "<file dialog>".
    static std::vector<std::wstring>& Texts() {
        static std::vector<std::wstring> texts;
        return texts;
    }
    static size_t Unused() { return Queue().size(); }

private:
    // The file-name field of the Explorer-style open and save dialogs (a
    // ComboBoxEx whose text is the name), and of older templates.
    static constexpr int kFileNameCombo = 1148;
    static constexpr int kFileNameEdit = 1152;

    static std::deque<Answer>& Queue() {
        static std::deque<Answer> queue;
        return queue;
    }
    static std::set<HWND>& Seen() {
        static std::set<HWND> seen;
        return seen;
    }

    static LRESULT CALLBACK Proc(int code, WPARAM wParam, LPARAM lParam) {
        const auto dialog = reinterpret_cast<HWND>(wParam);
        wchar_t name[32] = {};
        if (code == HCBT_ACTIVATE && GetClassNameW(dialog, name, 32) &&
            std::wstring(name) == L"#32770" && Seen().insert(dialog).second) {
            HWND field = GetDlgItem(dialog, kFileNameCombo);
            if (!field) field = GetDlgItem(dialog, kFileNameEdit);
            if (field) {
                Texts().push_back(L"<file dialog>");
            } else {
                wchar_t body[1024] = {};
                GetDlgItemTextW(dialog, 0xFFFF, body, 1024);
                Texts().push_back(body);
            }
            WPARAM button = IDCANCEL;
            if (!Queue().empty()) {
                const Answer answer = Queue().front();
                Queue().pop_front();
                button = answer.button;
                if (field && !answer.fileName.empty()) {
                    SendMessageW(field, WM_SETTEXT, 0,
                                 reinterpret_cast<LPARAM>(answer.fileName.c_str()));
                }
            }
            PostMessageW(dialog, WM_COMMAND, button, 0);
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }

    HHOOK hook = nullptr;
};
