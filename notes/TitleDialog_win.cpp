#include "notes/TitleDialog_win.h"

#include "lang/Translate_win.h"
#include "notes/NoteDialog_win.h"
#include "res/resource.h"

namespace {

struct TitleDialogState {
    const LanguageTable& language;
    std::wstring title;
};

INT_PTR CALLBACK TitleDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = NoteDialog::StateOf<TitleDialogState>(dialog, message, lParam);
    if (NoteDialog::EndOnCancel(dialog, message, wParam)) return TRUE;
    switch (message) {
        case WM_INITDIALOG: {
            TranslateDialog(dialog, state->language);
            HWND field = GetDlgItem(dialog, IDC_TITLE_TEXT);
            if (!field) return TRUE;
            SetWindowTextW(field, state->title.c_str());
            SendMessageW(field, EM_SETSEL, 0, -1);
            SetFocus(field);
            // The focus was set here: the dialog manager must not move it.
            return FALSE;
        }
        case WM_COMMAND: {
            if (HIWORD(wParam) != 0 || !state || LOWORD(wParam) != IDOK) return FALSE;
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
        default:
            return FALSE;
    }
}

}  // namespace

bool RunTitleDialog(HWND owner, const LanguageTable& language, std::wstring& title) {
    TitleDialogState state{language, title};
    if (!NoteDialog::Run(owner, IDD_NOTE_TITLE, &TitleDialogProc, &state)) return false;
    title = state.title;
    return true;
}
