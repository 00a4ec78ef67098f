#pragma once
// The WM_COMMAND of a dialog whose list of `count` items is chosen from with
// OK or a double click, and left with Cancel.

#include <windows.h>

#include <cstddef>

// Ends the dialog with IDOK and the chosen row in `chosen`, or with IDCANCEL.
// True when the command was the dialog's to handle.
inline bool ListChoiceCommand(HWND dialog, WPARAM wParam, int listId, size_t count, int& chosen) {
    const WORD id = LOWORD(wParam);
    const bool chose = id == IDOK || (id == listId && HIWORD(wParam) == LBN_DBLCLK);
    if (chose && count > 0) {
        const LRESULT at = SendDlgItemMessageW(dialog, listId, LB_GETCURSEL, 0, 0);
        if (at < 0 || static_cast<size_t>(at) >= count) return true;
        chosen = static_cast<int>(at);
        EndDialog(dialog, IDOK);
        return true;
    }
    if (id == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return true;
    }
    return false;
}
