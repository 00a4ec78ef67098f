#include "notes/NoteDialog_win.h"

namespace NoteDialog {

bool Run(HWND owner, int id, DLGPROC proc, void* state) {
    return DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), owner, proc,
                           reinterpret_cast<LPARAM>(state)) == IDOK;
}

bool EndOnCancel(HWND dialog, UINT message, WPARAM wParam) {
    const bool cancel = message == WM_CLOSE || (message == WM_COMMAND && HIWORD(wParam) == 0 &&
                                                LOWORD(wParam) == IDCANCEL);
    if (cancel) EndDialog(dialog, IDCANCEL);
    return cancel;
}

}  // namespace NoteDialog
