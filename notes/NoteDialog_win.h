#pragma once
// What the small modal dialogs of a note (title, alarm) share: the state the
// caller hands in, reached through DWLP_USER; the ways to cancel; the run.

#include <windows.h>

namespace NoteDialog {

// Runs dialog template `id` modally over `owner` with `proc`, which gets
// `state` as the WM_INITDIALOG parameter. True when it ended with IDOK.
bool Run(HWND owner, int id, DLGPROC proc, void* state);

// The state handed to Run: kept at WM_INITDIALOG and read back for every
// later message; null for the few messages that come before it.
template <class State>
State* StateOf(HWND dialog, UINT message, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
        return reinterpret_cast<State*>(lParam);
    }
    return reinterpret_cast<State*>(GetWindowLongPtrW(dialog, DWLP_USER));
}

// Cancel and Escape (both IDCANCEL) and the close box (WM_CLOSE) end the
// dialog as cancelled. True when the message was one of them.
bool EndOnCancel(HWND dialog, UINT message, WPARAM wParam);

}  // namespace NoteDialog
