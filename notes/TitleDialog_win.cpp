#include "notes/TitleDialog_win.h"

#include "lang/Translate_win.h"
#include "res/resource.h"

namespace {

struct TitleDialogState {
    const LanguageTable& language;
    std::wstring title;
};

INT_PTR CALLBACK TitleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<TitleDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            state = reinterpret_cast<TitleDialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            TranslateDialog(dialog, state->language);
            HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
            if (!field) return TRUE;
            SetWindowTextW(field, state->title.c_str());
            SendMessageW(field, EM_SETSEL, 0, -1);
            SetFocus(field);
            // The focus was set here: the dialog manager must not move it.
            return FALSE;
        }
        case WM_COMMAND:
            if (HIWORD(wParam) != 0 || !state) return FALSE;
            if (LOWORD(wParam) == IDOK) {
                HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
                if (field) {
                    std::wstring text(static_cast<size_t>(GetWindowTextLengthW(field)) + 1, L'\0');
                    text.resize(static_cast<size_t>(
                        GetWindowTextW(field, &text[0], static_cast<int>(text.size()))));
                    state->title = text;
                }
                EndDialog(dialog, IDOK);
                return TRUE;
            }
            if (LOWORD(wParam) == IDCANCEL) {
                EndDialog(dialog, IDCANCEL);
                return TRUE;
            }
            return FALSE;
        case WM_CLOSE:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            return FALSE;
    }
}

}  // namespace

bool RunTitleDialog(HWND owner, const LanguageTable& language, std::wstring& title) {
    TitleDialogState state{language, title};
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_NOTE_TITLE), owner,
                        &TitleDialogProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    title = state.title;
    return true;
}
