#include "notes/AlarmDialog_win.h"

#include <commctrl.h>

#include <initializer_list>

#include "lang/Translate_win.h"
#include "res/resource.h"

namespace {

struct AlarmDialogState {
    const LanguageTable& language;
    SYSTEMTIME local;
};

INT_PTR CALLBACK AlarmDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = reinterpret_cast<AlarmDialogState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG:
            state = reinterpret_cast<AlarmDialogState*>(lParam);
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            TranslateDialog(dialog, state->language);
            for (int id : {IDC_ALARM_DATE, IDC_ALARM_TIME}) {
                SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                                    reinterpret_cast<LPARAM>(&state->local));
            }
            return TRUE;
        case WM_COMMAND:
            if (HIWORD(wParam) != 0 || !state) return FALSE;
            if (LOWORD(wParam) == IDOK) {
                SYSTEMTIME date = state->local;
                SYSTEMTIME time = state->local;
                SendDlgItemMessageW(dialog, IDC_ALARM_DATE, DTM_GETSYSTEMTIME, 0,
                                    reinterpret_cast<LPARAM>(&date));
                SendDlgItemMessageW(dialog, IDC_ALARM_TIME, DTM_GETSYSTEMTIME, 0,
                                    reinterpret_cast<LPARAM>(&time));
                state->local = date;
                state->local.wHour = time.wHour;
                state->local.wMinute = time.wMinute;
                state->local.wSecond = time.wSecond;
                state->local.wMilliseconds = time.wMilliseconds;
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

bool UtcToLocal(const SYSTEMTIME& utc, SYSTEMTIME& local) {
    return SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local) != FALSE;
}

bool LocalToUtc(const SYSTEMTIME& local, SYSTEMTIME& utc) {
    return TzSpecificLocalTimeToSystemTime(nullptr, &local, &utc) != FALSE;
}

bool RunAlarmDialog(HWND owner, const LanguageTable& language, SYSTEMTIME& utc) {
    AlarmDialogState state{language, {}};
    // A stored time the system cannot convert (a damaged record) is shown as
    // the current time instead.
    if (!UtcToLocal(utc, state.local)) GetLocalTime(&state.local);
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_ALARM), owner,
                        &AlarmDialogProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK) return false;
    SYSTEMTIME picked = {};
    if (!LocalToUtc(state.local, picked)) return false;
    utc = picked;
    return true;
}
