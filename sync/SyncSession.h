#pragma once
// The sync state of one running program: the notes it knows with their ids
// and stamps, which live note of the notes list carries which id, and the
// files that carry the state (the file beside Notes.dat and this PC's device
// file). It knows no window and no folder: the notes list tells it what was
// saved, and it answers what the list has to change after a merge.
//
// The notes list names its notes by keys of its own (any number that stays
// with a note while it lives). Ids are made here.

#include <cstdint>
#include <functional>
#include <string>
#include <unordered_map>
#include <vector>

#include "sync/DeviceFile.h"
#include "sync/HybridClock.h"
#include "sync/Merge.h"

namespace Sync {

struct LocalNote {
    uint64_t key = 0;
    NoteData data;
};

// What the notes list does after a merge.
struct ListChanges {
    struct Added {
        NoteId id;
        NoteData data;  // place and size as the other PC had them
        // Places are synced and the note carries a placement: data has it,
        // to be taken (on this PC's screen) rather than placed as a new note.
        bool placed = false;
    };
    struct Changed {
        uint64_t key = 0;
        NoteData data;  // take text, title, priority, font, lock and alarm
        // Places are synced and another PC's placement won: take place, size,
        // hidden and on top from data too, then tell Shown where it went.
        bool placed = false;
    };
    struct Removed {
        uint64_t key = 0;
        std::wstring text;  // for the recycle bin
    };
    std::vector<Added> added;  // the list calls Bind for each note it makes
    std::vector<Changed> changed;
    std::vector<Removed> removed;
    size_t conflicts = 0;
    // A placement this PC does not take came in: nothing to change here, but
    // the device file carries it on.
    bool carried = false;
    bool Empty() const { return added.empty() && changed.empty() && removed.empty(); }
};

class SyncSession {
public:
    // random: 64 fresh random bits on each call, for device and note ids.
    explicit SyncSession(std::function<uint64_t()> random);

    // Takes the notes as loaded from Notes.dat, in file order, and the bytes
    // of the file kept beside it (empty when there is none). Its ids are given
    // to the notes again: by position when the counts and creation times
    // agree; otherwise by text and creation time, then by a creation time
    // only one unmatched note has; notes that match nothing get new ids. The
    // notes it holds that nothing matched are forgotten rather than deleted:
    // another PC brings them back. Anything that differs is a change of this
    // PC, stamped now.
    void Start(const std::vector<LocalNote>& loaded, const std::string& sidecar, int64_t nowMs);

    // The notes list was replaced whole (a backup restored): its notes are
    // matched to the notes known as at Start, and those known notes that match
    // none are deleted, as the user replaced them.
    // Returns whether anything other PCs see has changed, as Saved does.
    bool Replaced(const std::vector<LocalNote>& notes, int64_t nowMs);

    // After each save of the notes list, with every note in list order.
    // Returns whether anything other PCs see has changed (a device file is due).
    bool Saved(const std::vector<LocalNote>& notes, int64_t nowMs);

    // Merges another PC's state in; the notes list applies the answer, then
    // saves (which comes back through Saved).
    ListChanges MergeFrom(const DeviceState& other, const MergeOptions& options);

    // A note made for ListChanges::added now carries `key`.
    void Bind(const NoteId& id, uint64_t key);

    // Whether this PC sends and takes place, size, hidden and on top (off by
    // default). While on, each save that finds them changed by the user
    // stamps them as the note's placement, and a merge whose placement wins
    // asks the list to take it; while off neither, though a placement that
    // other PCs sent is still carried on for them.
    void SetPlacementSync(bool on) { syncPlacement_ = on; }
    bool PlacementSync() const { return syncPlacement_; }

    // Where the list put a note after taking a placement (kept on this PC's
    // screen, it may differ): this PC's own values, not a change to send.
    void Shown(uint64_t key, const RectData& rect, bool hidden, bool alwaysOnTop);

    // The file beside Notes.dat and the device file: the same state, live notes
    // first in the order of the last save.
    std::string StateBytes() const;

    uint64_t Device() const { return state_.device; }
    const std::wstring& DeviceName() const { return state_.deviceName; }
    void SetDeviceName(const std::wstring& name) { state_.deviceName = name; }
    const std::vector<SyncNote>& Notes() const { return state_.notes; }
    const Stamp& Clock() const { return clock_.Last(); }
    // The id a key carries; false when the key is not bound.
    bool IdOf(uint64_t key, NoteId& id) const;

private:
    SyncNote* Find(const NoteId& id);
    NoteId NewId();
    void Unbind(uint64_t key);
    void SortNotes();

    std::function<uint64_t()> random_;
    DeviceState state_;
    HybridClock clock_;
    std::unordered_map<uint64_t, NoteId> idOfKey_;
    struct IdHash {
        size_t operator()(const NoteId& id) const { return static_cast<size_t>(id.hi ^ id.lo); }
    };
    std::unordered_map<NoteId, uint64_t, IdHash> keyOfId_;
    std::vector<NoteId> order_;  // live notes in the order of the last save
    bool syncPlacement_ = false;
};

}  // namespace Sync
