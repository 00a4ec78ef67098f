#include "app/NotesDocument_win.h"

#include <algorithm>

#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "lang/LanguageTable.h"
#include "lang/SafeFormat.h"
#include "notes/NoteWindow_win.h"
#include "store/DailyBackups.h"
#include "store/FileIo.h"
#include "store/NoteData_win.h"
#include "store/NotesFile.h"
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

Rect ToPortable(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

// A message-only window for the document's posted save, its retry timer and
// its messages to the user. A message posted to the thread instead would be
// lost in any modal loop running then.
class NotesDocument::Mailbox : public Window {
public:
    explicit Mailbox(NotesDocument& owner) : document(owner) {
        AttachScope attach(this, true);
        CreateWindowExW(0, L"STATIC", nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                        GetModuleHandleW(nullptr), nullptr);
    }
    bool savePosted = false;

    LRESULT HandleMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override {
        switch (message) {
            case kSaveNotesMessage:
                savePosted = false;
                document.Flush();
                return 0;
            case kSaveProblemMessage:
                document.ShowUntoldProblems();
                return 0;
            case kNotesNotShownMessage:
                document.TellNotesNotShown(wParam);
                return 0;
            case WM_TIMER:
                if (wParam == kSaveRetryTimer) document.RetryFailedWrites();
                return 0;
            default:
                break;
        }
        return Window::HandleMessage(window, message, wParam, lParam);
    }

private:
    NotesDocument& document;
};

NotesDocument::NotesDocument(std::wstring notesFilePath, AppSettings& appSettings)
    : filePath(std::move(notesFilePath)),
      settings(appSettings),
      mailbox(std::make_unique<Mailbox>(*this)) {}

NotesDocument::~NotesDocument() {
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
    environment.virtualScreen = FromRect(VirtualScreenRect());
    environment.nowUtc = UtcNow();
    LoadResult loaded = LoadNotesFile(filePath, environment);
    keepOriginal = loaded.keepOriginal;
    KeepOnMonitors(loaded.data);
    settings.hasCustomDefaultFont = loaded.data.hasCustomDefaultFont;
    settings.customDefaultFont = loaded.data.customDefaultFont;
    LoadedNotes made = ShowLoadedNotes(loaded.data.notes, noteMaker ? noteMaker : defaultMaker);
    for (auto& note : made.shown) notes.Add(std::move(note));
    unshownNotes = std::move(made.unshown);
    // Placing the loaded notes reported their moves: the file holds them.
    open = true;
    dirty = false;
    // Told once the message loop runs, not from inside start-up.
    if (!unshownNotes.empty()) mailbox->Post(kNotesNotShownMessage, unshownNotes.size());
}

void NotesDocument::Close() {
    open = false;
    dirty = false;
    notes.CloseAll();
}

void NotesDocument::Changed() {
    if (!open) return;
    dirty = true;
    if (mailbox->savePosted || !mailbox->Handle()) return;
    mailbox->savePosted = mailbox->Post(kSaveNotesMessage);
    // Without a posted save the change is written at once.
    if (!mailbox->savePosted) Flush();
}

bool NotesDocument::Flush() {
    if (!open) return !NotesFailing();
    const bool typing = std::any_of(notes.List().begin(), notes.List().end(),
                                    [](const auto& note) { return note->TypingUnsaved(); });
    if (dirty || typing || NotesFailing()) Save();
    return !NotesFailing();
}

void NotesDocument::Save() {
    NotesFileData data;
    data.hasCustomDefaultFont = settings.hasCustomDefaultFont;
    data.customDefaultFont = settings.customDefaultFont;
    data.notes.reserve(notes.List().size() + unshownNotes.size());
    for (const auto& note : notes.List()) {
        if (!note->BlankNewNote()) data.notes.push_back(note->Data());
        note->TypingWritten();
    }
    // The records that got no window this run are kept as they were read.
    data.notes.insert(data.notes.end(), unshownNotes.begin(), unshownNotes.end());
    dirty = false;
    BackUpOncePerDay();
    ++writes;
    OnSaveResult(SaveNotesFile(filePath, data, LocalNow(), keepOriginal));
}

void NotesDocument::BackUpOncePerDay() {
    const SystemTimeData today = LocalNow();
    if (DayNumber(today) == backupDay) return;
    // A backup is a convenience: when it cannot be made the save goes on, and
    // the next save tries the backup again.
    const BackupOutcome outcome = MakeDailyBackup(filePath, today);
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
    untoldProblems.push_back(SafeFormat(TextOf(textKey), {path, SystemErrorText(error)}));
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
}

void NotesDocument::TellNotesNotShown(size_t count) {
    if (count == 0) return;
    const std::wstring text = SafeFormat(TextOf(kNotesNotShown), {static_cast<int>(count)});
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
    if (!Flush()) return fail(filePath, 0);
    if (!MakeTimedBackup(filePath, LocalNow())) {
        return fail(BackupsFolderFor(filePath), GetLastError());
    }
    if (!FileIo::WriteFileAtomically(filePath, bytes)) return fail(filePath, GetLastError());
    // The file already holds what is loaded next.
    Close();
    Load(defaultMaker);
    return true;
}

const Arrange::MonitorSource& NotesDocument::Monitors() const {
    return monitorSource ? *monitorSource : Arrange::SystemMonitors();
}

void NotesDocument::KeepOnMonitors(NotesFileData& data) const {
    const std::vector<Arrange::Monitor> monitors = Monitors().Monitors();
    for (NoteData& note : data.notes) note.rect = Arrange::BringOntoMonitors(note.rect, monitors);
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
        note->SetRect(RECT{wanted.left, wanted.top, wanted.right, wanted.bottom});
    }
}
