// Files the program could not write: the user is told once, in plain words
// with the path, and the program keeps trying after each change and on a timer
// until the file is written; then nothing more is said. Also the daily backup
// of Notes.dat, made before the first save of each day.

#include "app/Application_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "store/DailyBackups.h"
#include "store/NoteData_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SystemError_win.h"

namespace {

SystemTimeData LocalToday() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}

uint32_t DayNumber(const SystemTimeData& t) {
    return t.wYear * 10000u + t.wMonth * 100u + t.wDay;
}

}  // namespace

bool Application::OnSafetyMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case kSaveProblemMessage:
            ShowUntoldProblems();
            break;
        case WM_TIMER:
            if (wParam == kSaveRetryTimer) OnSaveRetryTimer();
            if (wParam == kDisplayChangeTimer) {
                KillTimer(Handle(), kDisplayChangeTimer);
                BringNotesOntoMonitors();
            }
            break;
        case WM_DISPLAYCHANGE:
            SetTimer(Handle(), kDisplayChangeTimer, kDisplayChangeDelay, nullptr);
            break;
        case WM_SETTINGCHANGE:
            if (wParam == SPI_SETWORKAREA)
                SetTimer(Handle(), kDisplayChangeTimer, kDisplayChangeDelay, nullptr);
            break;
        case WM_ENDSESSION:
            sessionEnding = wParam != 0;
            break;
        case WM_CLOSE:
            return !MayCloseWithUnsavedNotes();
        default:
            break;
    }
    return false;
}

bool Application::MayCloseWithUnsavedNotes() {
    if (settingsStore) settingsStore->RetryPendingWrites();
    if (!saveWatch.Failing(SaveTarget::Notes)) return true;
    // Exit closes the notes without saving them; notes whose last save failed
    // get one more try while their windows still exist.
    const bool wasShuttingDown = shuttingDown;
    shuttingDown = false;
    SaveNotes();
    if (!saveWatch.Failing(SaveTarget::Notes) || sessionEnding) {
        shuttingDown = wasShuttingDown;
        return true;
    }
    // Leaving now loses the notes' changes: the user decides, and the program
    // goes on running (and retrying) unless told otherwise.
    const std::wstring question = SafeFormat(TextOf(kSaveFailed_Exit), {notesFilePath});
    if (ShowMessage(question.c_str(), nullptr, MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2) ==
        IDYES) {
        shuttingDown = true;
        return true;
    }
    return false;
}

void Application::BackUpNotesOncePerDay() {
    const SystemTimeData today = LocalToday();
    if (DayNumber(today) == backupDay) return;
    // A backup is a convenience: when it cannot be made the save goes on, and
    // the next save tries the backup again.
    const BackupOutcome outcome = MakeDailyBackup(notesFilePath, today, restoringBackup);
    const DWORD error = GetLastError();
    const bool made = outcome != BackupOutcome::Failed;
    if (made) backupDay = DayNumber(today);
    if (saveWatch.Record(SaveTarget::Backup, made))
        Tell(kSaveFailed_Backup, BackupsFolderFor(notesFilePath), error);
}

void Application::OnNotesSaveResult(bool saved) {
    const DWORD error = GetLastError();
    if (saveWatch.Record(SaveTarget::Notes, saved)) {
        // A file that could not be read at start is kept before it is replaced;
        // while that fails the save is held back, which the user must know.
        Tell(keepOriginalNotesFile ? kSaveFailed_NotesUnread : kSaveFailed_Notes, notesFilePath,
             error);
    }
    if (!saved) SetTimer(Handle(), kSaveRetryTimer, kSaveRetryMilliseconds, nullptr);
}

void Application::OnSettingsWriteResult(bool written) {
    const DWORD error = GetLastError();
    if (saveWatch.Record(SaveTarget::Settings, written))
        Tell(kSaveFailed_Settings, settingsStore->FilePath(), error);
    if (!written && Handle()) SetTimer(Handle(), kSaveRetryTimer, kSaveRetryMilliseconds, nullptr);
}

void Application::OnSaveRetryTimer() {
    if (saveWatch.Failing(SaveTarget::Notes)) SaveNotes();
    if (settingsStore && settingsStore->HasPendingWrites()) settingsStore->RetryPendingWrites();
    if (!SavesFailing()) KillTimer(Handle(), kSaveRetryTimer);
}

void Application::Tell(int textKey, const std::wstring& path, DWORD error) {
    untoldProblems.push_back(SafeFormat(TextOf(textKey), {path, SystemErrorText(error)}));
    // Saves happen deep inside note commands, drags and dialogs; the message
    // box waits for the message loop rather than open in the middle of them.
    if (Handle()) Post(kSaveProblemMessage);
}

void Application::ShowUntoldProblems() {
    // The box runs a message loop of its own, where further failures may be
    // told; they wait for this box to close.
    if (tellingProblem) return;
    tellingProblem = true;
    while (!untoldProblems.empty()) {
        const std::wstring text = untoldProblems.front();
        untoldProblems.erase(untoldProblems.begin());
        ShowMessage(text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    }
    tellingProblem = false;
    // The user now knows where the unread notes file is kept: saves may go on.
    if (notesFileUntold) {
        notesFileUntold = false;
        if (savePendingUntilTold) {
            savePendingUntilTold = false;
            SaveNotes();
        }
    }
}
