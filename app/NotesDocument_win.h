#pragma once
// The notes of a run as one document: the live notes (which it owns, in the
// order of Notes.dat), the records that got no window, the file they live in,
// and what keeps that file safe: one save per burst of changes, the daily
// backup, the watch over files that cannot be written, restoring a backup and
// keeping the notes on the monitors.
//
// Saving. A note or a command calls Changed(): the document is marked dirty and
// one save is posted to its own message-only window, so a burst of changes (a
// command that moves many notes, an edit that ends with a resize) is one write.
// That save collects the notes on the window thread and writes them in the
// background, so a slow disk never holds up typing; its outcome comes back as a
// message. Flush() writes at once when anything is unsaved, after any write in
// the background has ended; every way out of the program (exit, the end of the
// session, a restart, a restore) flushes before the notes go. A note being
// edited gives its editor's text (NoteWindow::Data), so a flush keeps what is
// typed even while the editor is open.
//
// Life: Load() opens the document with the notes of the file; Close() closes
// every note and ends it, after which nothing is written until the next Load().

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

class LanguageTable;

#include "notes/NoteCollection_win.h"
#include "notes/NoteLoader_win.h"
#include "store/AppSettings.h"
#include "store/NoteData.h"
#include "store/SaveWatch.h"

namespace Arrange {
class MonitorSource;
}
struct NotesFileData;
class BackgroundWriter;
class MessageWindow;
class NoteWindow;

class NotesDocument {
public:
    static constexpr UINT kSaveRetryMilliseconds = 60000;

    // settings holds the custom default font, which Notes.dat carries.
    // language gives the texts of what the user is told.
    NotesDocument(std::wstring notesFilePath, AppSettings& settings, const LanguageTable& language);
    ~NotesDocument();
    NotesDocument(const NotesDocument&) = delete;
    NotesDocument& operator=(const NotesDocument&) = delete;

    // The window that owns the document's message boxes (the main window).
    void SetOwnerWindow(HWND owner) { ownerWindow = owner; }
    const std::wstring& FilePath() const { return filePath; }

    // --- the notes ---
    const std::vector<std::unique_ptr<NoteWindow>>& List() const { return notes.List(); }
    std::vector<NoteWindow*> Snapshot() const { return notes.Snapshot(); }
    // Takes a new note into the list (null when it has no window).
    NoteWindow* Add(std::unique_ptr<NoteWindow> note);
    // Takes a note out of the list; whoever closes it says whether that changed
    // the notes.
    void CloseNote(NoteWindow& note) { notes.Close(note); }
    // A note is being edited or has its title dialog open.
    bool AnyNoteBusy() const;
    // The records of this run that have no window, in file order.
    const std::vector<NoteData>& UnshownNotes() const { return unshownNotes; }

    // --- loading and closing ---
    // How Load makes each note; tests give one that fails on purpose.
    void SetNoteMaker(LoadedNoteMaker maker) { noteMaker = std::move(maker); }
    // For tests: how many loaded notes get a window; 0 for the system's quota.
    void SetNoteWindowLimit(size_t limit) { noteWindowLimit = limit; }
    // For tests: where the monitors are read from; null for the system's.
    void SetMonitorSource(const Arrange::MonitorSource* source) { monitorSource = source; }
    const Arrange::MonitorSource& Monitors() const;
    // Reads Notes.dat and makes its notes with `defaultMaker` (unless a maker
    // was set). Loading writes nothing. Records whose window cannot be made, or
    // that lie past the window quota, are kept, and the user is told how many
    // once the message loop runs. A file held by another program is tried again
    // for a few seconds; one that cannot be read at all, or that a newer version
    // wrote, is kept beside itself, and nothing is saved before the user was
    // told where.
    void Load(const LoadedNoteMaker& defaultMaker);
    // Closes every note (a note with a dialog or menu open goes when that
    // ends) and ends the document: nothing is written after this. Call Flush
    // first to keep what is unsaved.
    void Close();
    // Destroys every note now: only when no message loop runs on a note.
    void DestroyAll() { notes.DestroyAll(); }
    // Closed notes that wait for a menu, dialog or move of theirs to return.
    size_t ClosingCount() const { return notes.ClosingCount(); }

    // --- saving ---
    void Changed();
    // Writes Notes.dat now when anything is unsaved, typing in an open editor
    // included (or when its last write failed).
    // True when the file holds the notes as they are.
    bool Flush();
    bool Dirty() const { return dirty; }
    // Writes of Notes.dat this document made, for tests.
    size_t WriteCount() const { return writes; }
    // Whether the posted save writes in the background (on by default). Tests
    // that read the file as soon as the posted messages have run switch it off.
    void SetWritesInBackground(bool on) { writesInBackground = on; }
    // Waits for the write in the background, if one runs or waits, and takes
    // its outcome as its message would.
    void FinishWrites();
    // A write handed to the background has not told its outcome yet.
    bool WritesPending() const { return takenTicket != lastTicket; }

    // --- what else follows the notes (sync through a folder) ---
    // The records that got no window carry this bit and their index as keys.
    static constexpr uint64_t kUnshownKey = uint64_t{1} << 63;
    // After each save written at once that reached the disk: the records
    // written, in file order, and the key of each (NoteWindow::Serial of its
    // note). A write in the background tells nothing here: whoever must hear of
    // every save asks for saves at once through `savesAtOnce`.
    std::function<void(const std::vector<uint64_t>& keys, const NotesFileData& data)> saved;
    // After a backup replaced every note.
    std::function<void()> replaced;
    // While this says so, the posted save writes at once. Sync takes each
    // saved state as the notes as they are now: the outcome of a write in the
    // background could be told after sync had changed the notes meanwhile.
    std::function<bool()> savesAtOnce;

    // --- files that cannot be written ---
    bool NotesFailing() const { return saveWatch.Failing(SaveTarget::Notes); }
    // Notes.dat or Settings.ini could not be written at the last attempt (a
    // backup that failed does not count: it is tried again, never waited for).
    bool AnyFailing() const {
        return saveWatch.Failing(SaveTarget::Notes) || saveWatch.Failing(SaveTarget::Settings);
    }
    // Settings.ini was written or not; told once, as for Notes.dat.
    void RecordSettingsWrite(bool written, const std::wstring& path, DWORD error);
    // Called on every failure with the retry timer to (re)start; the owner's
    // own pending writes (Settings.ini) are retried through this as well.
    std::function<void()> retryOtherWrites;
    std::function<bool()> otherWritesPending;
    // What the retry timer does: writes again what could not be written.
    void RetryFailedWrites();
    // Shows the problems not told yet (a posted message does it otherwise).
    void ShowUntoldProblems();
    // Tells the user of a failed step (a language text with %1 the path and %2
    // the system's reason), from the message loop rather than inside the step.
    void Tell(int textKey, const std::wstring& path, DWORD error);

    // --- backups and monitors ---
    // Keeps the current notes as a backup, then loads the given backup in their
    // place with `defaultMaker`. False, with the user told why, when any step
    // fails; the notes are then as they were.
    bool RestoreFromBackup(const std::wstring& backupPath, const LoadedNoteMaker& defaultMaker);
    // Moves every note lying on no monitor onto the nearest work area; one
    // save when any moved.
    void BringNotesOntoMonitors();

private:
    struct WriteOutcome {
        uint64_t ticket = 0;
        bool written = false;
        DWORD error = 0;
    };

    void Save();
    // The posted save: in the background when it only writes the file, at once
    // when it does more (the day's backup, keeping an unreadable file, a retry)
    // or when `savesAtOnce` asks it to.
    void SaveSoon();
    void TakeWriteOutcome();
    bool Unsaved() const;
    void Collect(NotesFileData& data, std::vector<uint64_t>& keys);
    void BackUpOncePerDay();
    void OnSaveResult(bool saved);
    void KeepOnMonitors(NotesFileData& data) const;
    void TellNotesNotShown(size_t count);

    std::wstring filePath;
    AppSettings& settings;
    const LanguageTable& language;
    HWND ownerWindow = nullptr;
    NoteCollection notes;
    std::vector<NoteData> unshownNotes;
    LoadedNoteMaker noteMaker;
    const Arrange::MonitorSource* monitorSource = nullptr;
    // Notes.dat held something this run could not read; the first save keeps
    // a copy of it.
    bool keepOriginal = false;
    // Where a notes file that could not be read at all is kept (or will be, by
    // the first save that can copy it); no save replaces the file before the
    // user has been told this path.
    std::wstring keptOriginalPath;
    bool originalUntold = false;
    // The backup a restore is about to load, spared by the pruning of its save.
    std::wstring restoringBackup;
    size_t noteWindowLimit = 0;
    static constexpr int kReadAttempts = 10;
    static constexpr DWORD kReadWaitMs = 300;
    bool open = false;
    bool dirty = false;
    size_t writes = 0;
    // The local date (yyyymmdd) of the last daily backup made or found.
    uint32_t backupDay = 0;
    SaveWatch saveWatch;
    std::vector<std::wstring> untoldProblems;
    bool tellingProblem = false;
    bool savePosted = false;
    bool writesInBackground = true;
    // The last write handed to the background, and the last whose outcome
    // was taken.
    uint64_t lastTicket = 0;
    uint64_t takenTicket = 0;
    // The newest outcome of the background, not taken yet; set on its thread.
    std::mutex outcomeLock;
    std::optional<WriteOutcome> outcome;
    std::unique_ptr<MessageWindow> mailbox;
    // Last: ended first, so its thread is gone before anything it uses.
    std::unique_ptr<BackgroundWriter> writer;
};
