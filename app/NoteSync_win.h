#pragma once
// Sync of the notes through a folder that a sync service copies between PCs.
//
// This PC writes only its own device file there, a few seconds after a
// change at most, and reads the others' files when the folder reports a
// change and every 30 seconds. Beside Notes.dat it keeps the ids and stamps
// of its notes, written after each save of the notes.
//
// The notes list meets it at two points: it calls NotesSaved after each save,
// and it applies what a merge brought in through Host::apply. Both run on the
// thread of the main window, which receives the timers and the folder's
// message and hands them to HandleMessage.

#include <windows.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sync/FolderScan.h"
#include "sync/SyncFolder_win.h"
#include "sync/SyncSession.h"
#include "sync/SyncSettings.h"

class NoteSync {
public:
    static constexpr UINT kWriteDelay = 2000;  // at most one device file per burst of changes
    static constexpr UINT kPollInterval = 30000;
    static constexpr UINT kReadDelay = 300;   // lets a service finish a burst of writes
    static constexpr UINT kBusyRetry = 2000;  // while a note is edited or has a dialog open

    struct Host {
        // Every note of the list in list order, with the key it carries.
        std::function<std::vector<Sync::LocalNote>()> notes;
        // True while a note's editor or dialog is open: a merge waits for it.
        std::function<bool()> busy;
        // Applies a merge's changes and saves once. Returns the key of each
        // note made for changes.added, in order; 0 for one that could not be made.
        std::function<std::vector<uint64_t>(const Sync::ListChanges&)> apply;
        // The folder cannot be reached (told once until it can again).
        std::function<void(const std::wstring& folder, DWORD error)> unavailable;
    };

    NoteSync(HWND window, Host host, std::wstring sidecarPath);
    ~NoteSync();
    NoteSync(const NoteSync&) = delete;
    NoteSync& operator=(const NoteSync&) = delete;

    // Turns sync on (the folder given and enabled) or off. Turning it on takes
    // the notes as they are, with the ids kept beside Notes.dat.
    void Configure(const Sync::SyncSettings& settings, const std::wstring& conflictPrefix);
    bool Active() const { return active; }

    // After each save of the notes list.
    void NotesSaved(const std::vector<Sync::LocalNote>& notes);
    // After the notes list was replaced whole (a backup restored).
    void NotesReplaced(const std::vector<Sync::LocalNote>& notes);
    // The timers and the folder's message; true when the message was sync's.
    bool HandleMessage(UINT message, WPARAM wParam);
    // Reads the folder now (tests, and the first look after turning on).
    void ReadFolder();
    // Writes this PC's device file now when one is due (the program ends).
    void WriteIfDue();
    // Where the notes list put a note whose synced placement it took (kept on
    // this PC's monitors): this PC's own, not a change to send back. Called
    // from Host::apply, for notes made there too.
    void Shown(uint64_t key, const RECT& rect, bool hidden, bool alwaysOnTop);

    const Sync::SyncSession& Session() const { return session; }
    std::wstring DeviceFilePath() const;
    // The PC name used when the settings give none.
    static std::wstring DefaultComputerName();
    static int64_t NowMs();

private:
    void WriteDevice();
    void WriteSidecar();
    void TakeSaved(const std::vector<Sync::LocalNote>& notes);
    void Unavailable(DWORD error);
    void Available();

    HWND window;
    Host host;
    std::wstring sidecarPath;
    Sync::SyncSession session;
    struct ShownNote {
        uint64_t key;
        RectData rect;
        bool hidden, alwaysOnTop;
    };
    std::vector<ShownNote> shownWhileApplying;
    Sync::FolderScan scan;
    Sync::FolderWatch watch;
    Sync::SyncSettings settings;
    Sync::MergeOptions mergeOptions;
    std::wstring ownName;
    std::string sidecarWritten;
    bool active = false;
    bool writeDue = false;
    bool writeTimer = false;
    bool told = false;
    // While a merge is being applied, the save it makes is taken afterwards,
    // once the notes it made carry their ids.
    bool applying = false;
    bool savedWhileApplying = false;
    std::vector<Sync::LocalNote> savedNotes;
};
