#include "app/NotesDocument_win.h"

#include <algorithm>
#include <iterator>

#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "arrange/Rect_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "notes/NoteWindow_win.h"
#include "store/BackgroundWriter.h"
#include "store/DailyBackups.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
#include "ui/MessageWindow_win.h"
#include "ui/PrivateMessages_win.h"
#include "ui/SystemError_win.h"
#include "ui/Window_win.h"

namespace {

SystemTimeData LocalNow() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return FromSystemTime(now);
}

SystemTimeData UtcNow() {
    SYSTEMTIME now;
    GetSystemTime(&now);
    return FromSystemTime(now);
}

uint32_t DayNumber(const SystemTimeData& t) {
    return t.wYear * 10000u + t.wMonth * 100u + t.wDay;
}

}  // namespace

NotesDocument::NotesDocument(std::wstring notesFilePath, AppSettings& appSettings,
                             const LanguageTable& texts)
    : filePath(std::move(notesFilePath)),
      settings(appSettings),
      language(texts),
      // The document's posted save, its retry timer and its messages to the
      // user.
      mailbox(std::make_unique<MessageWindow>([this](UINT message, WPARAM wParam, LPARAM) {
          switch (message) {
              case kSaveNotesMessage:
                  savePosted = false;
                  SaveSoon();
                  return true;
              case kNotesWrittenMessage:
                  TakeWriteOutcome();
                  return true;
              case kSaveProblemMessage:
                  ShowUntoldProblems();
                  return true;
              case kNotesNotShownMessage:
                  TellNotesNotShown(wParam);
                  return true;
              case WM_TIMER:
                  if (wParam == kSaveRetryTimer) RetryFailedWrites();
                  return true;
              default:
                  return false;
          }
      })) {}

NotesDocument::~NotesDocument() {
    // What was handed over is written before the document goes.
    writer.reset();
    notes.DestroyAll();
    mailbox.reset();
}

NoteWindow* NotesDocument::Add(std::unique_ptr<NoteWindow> note) {
    return notes.Add(std::move(note));
}

bool NotesDocument::AnyNoteBusy() const {
    return std::any_of(notes.List().begin(), notes.List().end(),
                       [](const auto& note) { return !note->IsIdle(); });
}

void NotesDocument::Load(const LoadedNoteMaker& defaultMaker) {
    LoadEnvironment environment;
    environment.virtualScreen = ToPortable(VirtualScreenRect());
    environment.nowUtc = UtcNow();
    environment.localNow = LocalNow();
    // A backup or sync program may hold the file for a moment at log-on; the
    // main window is up meanwhile.
    environment.readAttempts = kReadAttempts;
    environment.wait = [] { Sleep(kReadWaitMs); };
    LoadResult loaded = LoadNotesFile(filePath, environment);
    keepOriginal = loaded.keepOriginal;
    keptOriginalPath = loaded.keptOriginalPath;
    if (!keptOriginalPath.empty()) {
        originalUntold = true;
        untoldProblems.push_back(
            SafeFormat(language.TextOf(kNotesFileKept), {filePath, keptOriginalPath}));
        mailbox->Post(kSaveProblemMessage);
    }
    // Records past the window quota get no window and stay as they were read:
    // a file of a million notes is kept whole without starving the system.
    std::vector<NoteData> beyondQuota;
    const size_t quota = noteWindowLimit ? noteWindowLimit : NoteWindowQuota();
    if (loaded.data.notes.size() > quota) {
        const auto cut = loaded.data.notes.begin() + static_cast<std::ptrdiff_t>(quota);
        beyondQuota.assign(std::make_move_iterator(cut),
                           std::make_move_iterator(loaded.data.notes.end()));
        loaded.data.notes.erase(cut, loaded.data.notes.end());
    }
    KeepOnMonitors(loaded.data);
    settings.hasCustomDefaultFont = loaded.data.hasCustomDefaultFont;
    settings.customDefaultFont = loaded.data.customDefaultFont;
    LoadedNotes made = ShowLoadedNotes(loaded.data.notes, noteMaker ? noteMaker : defaultMaker);
    for (auto& note : made.shown) notes.Add(std::move(note));
    unshownNotes = std::move(made.unshown);
    unshownNotes.insert(unshownNotes.end(), std::make_move_iterator(beyondQuota.begin()),
                        std::make_move_iterator(beyondQuota.end()));
    // Placing the loaded notes reported their moves: the file holds them.
    open = true;
    dirty = false;
    // Told once the message loop runs, not from inside start-up.
    if (!unshownNotes.empty()) mailbox->Post(kNotesNotShownMessage, unshownNotes.size());
}

void NotesDocument::Close() {
    FinishWrites();
    open = false;
    dirty = false;
    notes.CloseAll();
}

void NotesDocument::Changed() {
    if (!open) return;
    dirty = true;
    if (savePosted || !mailbox->Handle()) return;
    savePosted = mailbox->Post(kSaveNotesMessage);
    // Without a posted save the change is written at once.
    if (!savePosted) Flush();
}

bool NotesDocument::Unsaved() const {
    return dirty || NotesFailing() ||
           std::any_of(notes.List().begin(), notes.List().end(),
                       [](const auto& note) { return note->TypingUnsaved(); });
}

bool NotesDocument::Flush() {
    FinishWrites();
    if (!open) return !NotesFailing();
    // A notes file that could not be read is not replaced before the user knows
    // what happened to it and where it is kept; the change waits, still dirty.
    if (originalUntold) return false;
    if (Unsaved()) Save();
    return !NotesFailing();
}

void NotesDocument::Collect(NotesFileData& data, std::vector<uint64_t>& keys) {
    data.hasCustomDefaultFont = settings.hasCustomDefaultFont;
    data.customDefaultFont = settings.customDefaultFont;
    data.notes.reserve(notes.List().size() + unshownNotes.size());
    keys.reserve(data.notes.capacity());
    for (const auto& note : notes.List()) {
        if (!note->BlankNewNote()) {
            data.notes.push_back(note->Data());
            keys.push_back(note->Serial());
        }
        note->TypingWritten();
    }
    // The records that got no window this run are kept as they were read.
    data.notes.insert(data.notes.end(), unshownNotes.begin(), unshownNotes.end());
    for (size_t i = 0; i < unshownNotes.size(); ++i) keys.push_back(kUnshownKey | i);
}

void NotesDocument::Save() {
    NotesFileData data;
    std::vector<uint64_t> keys;
    Collect(data, keys);
    dirty = false;
    BackUpOncePerDay();
    ++writes;
    const bool written = SaveNotesFile(filePath, data, LocalNow(), keepOriginal, keptOriginalPath);
    OnSaveResult(written);
    if (written && saved) saved(keys, data);
}

void NotesDocument::SaveSoon() {
    if (!open || originalUntold || !Unsaved()) return;
    if (!writesInBackground || (savesAtOnce && savesAtOnce()) || keepOriginal || NotesFailing() ||
        DayNumber(LocalNow()) != backupDay || !mailbox->Handle()) {
        Flush();
        return;
    }
    NotesFileData data;
    std::vector<uint64_t> keys;
    Collect(data, keys);
    dirty = false;
    ++writes;
    if (!writer) {
        const HWND mailboxWindow = mailbox->Handle();
        writer = std::make_unique<BackgroundWriter>(
            [mailboxWindow] { PostMessageW(mailboxWindow, kNotesWrittenMessage, 0, 0); });
    }
    writer->Hand([this, path = filePath, data = std::move(data), ticket = ++lastTicket] {
        WriteOutcome result;
        result.ticket = ticket;
        try {
            result.written = FileIo::WriteFileAtomically(path, SerializeNotes(data));
            if (!result.written) result.error = GetLastError();
        } catch (...) {
            // Laying out the bytes found no memory: a failed write, told and
            // tried again as any other.
            result.written = false;
            result.error = ERROR_NOT_ENOUGH_MEMORY;
        }
        std::lock_guard<std::mutex> lock(outcomeLock);
        // A newer outcome stands for the file as it is: it replaces one not
        // taken yet.
        outcome = result;
    });
}

void NotesDocument::FinishWrites() {
    if (writer) writer->Wait();
    TakeWriteOutcome();
}

void NotesDocument::TakeWriteOutcome() {
    std::optional<WriteOutcome> taken;
    {
        std::lock_guard<std::mutex> lock(outcomeLock);
        taken.swap(outcome);
    }
    if (!taken) return;
    // The writes up to this one have ended; those it replaced never ran.
    takenTicket = taken->ticket;
    SetLastError(taken->error);
    OnSaveResult(taken->written);
}

void NotesDocument::BackUpOncePerDay() {
    const SystemTimeData today = LocalNow();
    if (DayNumber(today) == backupDay) return;
    // A backup is a convenience: when it cannot be made the save goes on, and
    // the next save tries the backup again.
    const BackupOutcome outcome = MakeDailyBackup(filePath, today, restoringBackup);
    const DWORD error = GetLastError();
    const bool made = outcome != BackupOutcome::Failed;
    if (made) backupDay = DayNumber(today);
    if (saveWatch.Record(SaveTarget::Backup, made))
        Tell(kSaveFailed_Backup, BackupsFolderFor(filePath), error);
}

void NotesDocument::OnSaveResult(bool saved) {
    const DWORD error = GetLastError();
    if (saveWatch.Record(SaveTarget::Notes, saved)) {
        // A file that could not be read at start is kept before it is replaced;
        // while that fails the save is held back, which the user must know.
        Tell(keepOriginal ? kSaveFailed_NotesUnread : kSaveFailed_Notes, filePath, error);
    }
    if (!saved) SetTimer(mailbox->Handle(), kSaveRetryTimer, kSaveRetryMilliseconds, nullptr);
}

void NotesDocument::RecordSettingsWrite(bool written, const std::wstring& path, DWORD error) {
    if (saveWatch.Record(SaveTarget::Settings, written)) Tell(kSaveFailed_Settings, path, error);
    if (!written) SetTimer(mailbox->Handle(), kSaveRetryTimer, kSaveRetryMilliseconds, nullptr);
}

void NotesDocument::RetryFailedWrites() {
    if (NotesFailing()) Flush();
    if (otherWritesPending && otherWritesPending() && retryOtherWrites) retryOtherWrites();
    if (!AnyFailing()) KillTimer(mailbox->Handle(), kSaveRetryTimer);
}

void NotesDocument::Tell(int textKey, const std::wstring& path, DWORD error) {
    untoldProblems.push_back(SafeFormat(language.TextOf(textKey), {path, SystemErrorText(error)}));
    // Saves happen deep inside note commands, drags and dialogs; the message
    // box waits for the message loop rather than open in the middle of them.
    mailbox->Post(kSaveProblemMessage);
}

void NotesDocument::ShowUntoldProblems() {
    // The box runs a message loop of its own, where further failures may be
    // told; they wait for this box to close.
    if (tellingProblem) return;
    tellingProblem = true;
    while (!untoldProblems.empty()) {
        const std::wstring text = untoldProblems.front();
        untoldProblems.erase(untoldProblems.begin());
        ShowMessage(ownerWindow, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
    }
    tellingProblem = false;
    // The user now knows where the unread notes file is kept: saves may go on.
    if (originalUntold) {
        originalUntold = false;
        Flush();
    }
}

void NotesDocument::TellNotesNotShown(size_t count) {
    if (count == 0) return;
    const std::wstring text =
        SafeFormat(language.TextOf(kNotesNotShown), {static_cast<int>(count)});
    ShowMessage(ownerWindow, text.c_str(), nullptr, MB_OK | MB_ICONWARNING);
}

bool NotesDocument::RestoreFromBackup(const std::wstring& backupPath,
                                      const LoadedNoteMaker& defaultMaker) {
    if (!open) return false;
    const auto fail = [this](const std::wstring& path, DWORD error) {
        Tell(kRestoreBackup_Failed, path, error);
        return false;
    };
    std::string bytes;
    if (!FileIo::ReadFile(backupPath, bytes)) return fail(backupPath, GetLastError());
    // The notes on screen reach the file first, typing included, so that the
    // backup kept of it holds them as they are now; if they cannot, nothing is
    // replaced.
    dirty = true;
    // The day's first save makes a backup and prunes old ones: never the one
    // being restored.
    restoringBackup = backupPath;
    const bool flushed = Flush();
    restoringBackup.clear();
    if (!flushed) return fail(filePath, 0);
    if (!MakeTimedBackup(filePath, LocalNow(), backupPath)) {
        return fail(BackupsFolderFor(filePath), GetLastError());
    }
    if (!FileIo::WriteFileAtomically(filePath, bytes)) return fail(filePath, GetLastError());
    // The file already holds what is loaded next.
    Close();
    Load(defaultMaker);
    if (replaced) replaced();
    return true;
}

const Arrange::MonitorSource& NotesDocument::Monitors() const {
    return monitorSource ? *monitorSource : Arrange::SystemMonitors();
}

void NotesDocument::KeepOnMonitors(NotesFileData& data) const {
    const std::vector<Arrange::Monitor> monitors = Monitors().Monitors();
    // A size from the file is no larger than the work area it is shown on.
    for (NoteData& note : data.notes) {
        note.rect =
            Arrange::BringOntoMonitors(Arrange::CapToWorkArea(note.rect, monitors), monitors);
    }
}

void NotesDocument::BringNotesOntoMonitors() {
    const std::vector<Arrange::Monitor> monitors = Monitors().Monitors();
    if (monitors.empty() || !open) return;
    // Hidden notes too: they must be in reach when they are shown again. Each
    // move reports a change; the posted save writes them all at once.
    for (NoteWindow* note : notes.Snapshot()) {
        const Rect now = ToPortable(note->WindowRect());
        const Rect wanted = Arrange::BringOntoMonitors(now, monitors);
        if (wanted == now) continue;
        note->SetRect(ToWin32(wanted));
    }
}
