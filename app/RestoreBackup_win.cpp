// "Restore notes from backup...": a list of the backups (and of the notes
// files kept because they could not be read) by date with the number of notes
// each holds; the chosen one replaces the current notes, which
// are kept as a backup first.

#include "app/Application_win.h"
#include "app/ListChoice_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "lang/Translate_win.h"
#include "res/resource.h"
#include "store/DailyBackups.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"

namespace {

struct RestoreChoice {
    const LanguageTable& language;
    std::vector<BackupInfo> backups;
    int chosen = -1;
};

// The date in the user's own long form, and the time for a backup kept before a
// restore, since a day can hold several of those.
std::wstring StampText(const BackupStamp& s) {
    SYSTEMTIME t = {};
    t.wYear = s.year;
    t.wMonth = s.month;
    t.wDay = s.day;
    t.wHour = s.hour;
    t.wMinute = s.minute;
    t.wSecond = s.second;
    wchar_t text[128] = {};
    if (!GetDateFormatW(LOCALE_USER_DEFAULT, DATE_LONGDATE, &t, nullptr, text, 128)) {
        return DailyBackupName(FromSystemTime(t));
    }
    std::wstring out = text;
    if (s.timed && GetTimeFormatW(LOCALE_USER_DEFAULT, 0, &t, nullptr, text, 128)) {
        out += L", ";
        out += text;
    }
    return out;
}

INT_PTR CALLBACK RestoreDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* choice = reinterpret_cast<RestoreChoice*>(GetWindowLongPtrW(dialog, DWLP_USER));
    switch (message) {
        case WM_INITDIALOG: {
            SetWindowLongPtrW(dialog, DWLP_USER, lParam);
            choice = reinterpret_cast<RestoreChoice*>(lParam);
            TranslateDialog(dialog, choice->language);
            HWND list = GetDlgItem(dialog, IDC_BACKUP_LIST);
            for (const BackupInfo& b : choice->backups) {
                // A kept original is named as it lies beside the notes file.
                std::wstring when = StampText(b.stamp);
                if (b.keptOriginal)
                    when += L" \u2013 " + b.path.substr(b.path.find_last_of(L"\\/") + 1);
                const std::wstring item = SafeFormat(choice->language.TextOf(kRestoreBackup_Item),
                                                     {when, static_cast<int>(b.noteCount)});
                SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
            }
            if (choice->backups.empty()) {
                SendMessageW(
                    list, LB_ADDSTRING, 0,
                    reinterpret_cast<LPARAM>(choice->language.TextOf(kRestoreBackup_None).c_str()));
                EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
            } else {
                SendMessageW(list, LB_SETCURSEL, 0, 0);
            }
            return TRUE;
        }
        case WM_COMMAND: {
            int unused = 0;
            if (ListChoiceCommand(dialog, wParam, IDC_BACKUP_LIST,
                                  choice ? choice->backups.size() : 0,
                                  choice ? choice->chosen : unused))
                return TRUE;
            break;
        }
        default:
            break;
    }
    return FALSE;
}

}  // namespace

void Application::ShowRestoreBackupDialog() {
    RestoreChoice choice{language, {}};
    choice.backups = ListBackups(document->FilePath());
    const INT_PTR result =
        DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RESTORE_BACKUP),
                        mainWindow->Handle(), RestoreDialogProc, reinterpret_cast<LPARAM>(&choice));
    if (result != IDOK || choice.chosen < 0) return;
    RestoreNotesFromBackup(choice.backups[static_cast<size_t>(choice.chosen)].path);
}

bool Application::RestoreNotesFromBackup(const std::wstring& backupPath) {
    // The notes being typed go into the backup kept of the current notes;
    // a dialog or menu of a note still open ends with its note.
    if (!document->RestoreFromBackup(backupPath, DefaultNoteMaker())) return false;
    notesShown = true;
    return true;
}
