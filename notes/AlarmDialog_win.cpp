#include "notes/AlarmDialog_win.h"

#include <commctrl.h>

#include <initializer_list>

#include "lang/Translate_win.h"
#include "notes/NoteDialog_win.h"
#include "res/resource.h"

namespace {

struct AlarmDialogState {
    const LanguageTable& language;
    SYSTEMTIME local;
};

INT_PTR CALLBACK AlarmDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* state = NoteDialog::StateOf<AlarmDialogState>(dialog, message, lParam);
    if (NoteDialog::EndOnCancel(dialog, message, wParam)) return TRUE;
    switch (message) {
        case WM_INITDIALOG:
            TranslateDialog(dialog, state->language);
            for (int id : {IDC_ALARM_DATE, IDC_ALARM_TIME}) {
                SendDlgItemMessageW(dialog, id, DTM_SETSYSTEMTIME, GDT_VALID,
                                    reinterpret_cast<LPARAM>(&state->local));
            }
            return TRUE;
        case WM_COMMAND: {
            if (HIWORD(wParam) != 0 || !state || LOWORD(wParam) != IDOK) return FALSE;
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
    if (!NoteDialog::Run(owner, IDD_ALARM, &AlarmDialogProc, &state)) return false;
    SYSTEMTIME picked = {};
    if (!LocalToUtc(state.local, picked)) return false;
    utc = picked;
    return true;
}
