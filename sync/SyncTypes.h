#pragma once
// What a PC knows about every note for sync: a stable id, the stamps and
// version vectors that order changes, and the note's fields in two groups that
// are merged on their own (the text with its title; the priority, font, lock
// and alarm; the place, size, hidden and on-top state). The last group is
// sent and taken only by PCs whose user asked for it; otherwise place, size,
// hidden and on top belong to each PC.

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "store/NoteData.h"

namespace Sync {

// 128 random bits, made once when a note is first seen and never changed.
struct NoteId {
    uint64_t hi = 0;
    uint64_t lo = 0;
};

inline bool operator==(const NoteId& a, const NoteId& b) {
    return a.hi == b.hi && a.lo == b.lo;
}
inline bool operator!=(const NoteId& a, const NoteId& b) {
    return !(a == b);
}
inline bool operator<(const NoteId& a, const NoteId& b) {
    return a.hi != b.hi ? a.hi < b.hi : a.lo < b.lo;
}

// A hybrid logical clock reading: the wall time in milliseconds since
// 1970 (UTC) as the PC saw it, a counter for changes within the same
// millisecond or made after a stamp from ahead of the wall clock, and the PC
// that made it, so that no two PCs ever make the same stamp.
struct Stamp {
    int64_t wallMs = 0;
    uint32_t counter = 0;
    uint64_t device = 0;
};

inline bool operator==(const Stamp& a, const Stamp& b) {
    return a.wallMs == b.wallMs && a.counter == b.counter && a.device == b.device;
}
inline bool operator!=(const Stamp& a, const Stamp& b) {
    return !(a == b);
}
inline bool operator<(const Stamp& a, const Stamp& b) {
    if (a.wallMs != b.wallMs) return a.wallMs < b.wallMs;
    if (a.counter != b.counter) return a.counter < b.counter;
    return a.device < b.device;
}

// How many times each PC changed a note's text: which of two versions was
// made knowing the other, or whether they were made apart.
struct VersionVector {
    // Sorted by device, no zero counts.
    std::vector<std::pair<uint64_t, uint32_t>> counts;
};

inline bool operator==(const VersionVector& a, const VersionVector& b) {
    return a.counts == b.counts;
}

enum class Order { Same, Older, Newer, Apart };

// Older: a is contained in b (b was made knowing a); Newer: the other way.
Order Compare(const VersionVector& a, const VersionVector& b);
VersionVector Join(const VersionVector& a, const VersionVector& b);
void Bump(VersionVector& v, uint64_t device);

// The text group. A deleted note keeps its id and stamps (a tombstone) but
// not its text, which went to the recycle bin of the PC that deleted it.
struct Content {
    std::wstring text;
    std::wstring title;
    bool deleted = false;
    Stamp stamp;
    VersionVector versions;
};

// Priority, font, lock and alarm: the newer stamp wins them as one.
struct Attributes {
    int priority = kPriorityNormal;
    bool locked = false;
    bool hasCustomFont = false;
    LogFontData font;
    bool alarmEnabled = false;
    bool hasAlarm = false;
    SystemTimeData alarmTime;
    Stamp stamp;
};

bool SameValues(const Attributes& a, const Attributes& b);

// Where the note lies, its size, hidden and on top, as a PC that syncs them
// last set them: the newer stamp wins them as one. A zero stamp: no PC ever
// sent them.
struct Placement {
    RectData rect;
    bool hidden = false;
    bool alwaysOnTop = false;
    Stamp stamp;
    bool Sent() const { return stamp != Stamp{}; }
};

bool SameValues(const Placement& a, const Placement& b);

struct SyncNote {
    NoteId id;
    SystemTimeData created;
    Content content;
    Attributes attributes;
    Placement placement;
    // This PC's own: taken from another PC for a note it has only through
    // `placement`, when this PC syncs places.
    RectData rect;
    bool hidden = false;
    bool alwaysOnTop = false;
};

// Everything one PC writes to its device file.
struct DeviceState {
    uint64_t device = 0;
    std::wstring deviceName;
    Stamp clock;  // the last stamp this PC made or saw
    std::vector<SyncNote> notes;
};

// The note record of a synced note: its fields, with this PC's place.
NoteData ToNoteData(const SyncNote& note);
// Takes the fields of a saved record into a note without touching stamps.
void TakeAttributes(const NoteData& data, Attributes& attributes);

// Tombstones are kept this long after the delete, then forgotten.
inline constexpr int64_t kTombstoneLifetimeMs = 90LL * 24 * 60 * 60 * 1000;

inline bool Expired(const SyncNote& note, int64_t nowMs) {
    return note.content.deleted && note.content.stamp.wallMs < nowMs - kTombstoneLifetimeMs;
}

}  // namespace Sync
