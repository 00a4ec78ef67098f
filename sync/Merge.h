#pragma once
// The merge of what another PC knows into what this PC knows, note by note,
// as a pure function: no clock, no files, the same answer on every PC for the
// same inputs in any order, and merging the same file twice changes nothing.
//
// Per note:
//   - The text and title: the version made knowing the other wins. Two
//     versions made apart (both PCs changed the text since they last agreed)
//     are both kept: the one with the later stamp stays in the note, the
//     other becomes a note of its own, titled as a conflict, whose id is
//     derived from the note's and the stamp of that version, so that every
//     PC makes the same conflict note and none is made twice. A delete made
//     apart from an edit loses to the edit: the note stays, with the text the
//     deleting PC had not seen.
//   - Priority, font, lock and alarm: the later stamp wins.
//   - Place, size, hidden and on top: this PC's own; a note new to this PC
//     brings the other PC's. As a group of their own (Placement), sent only
//     by PCs that sync places, the later stamp wins; whether this PC takes
//     them is the caller's choice (MergeEffect::placed).
//   - Tombstones older than kTombstoneLifetimeMs are forgotten.

#include <cstdint>
#include <string>
#include <vector>

#include "sync/SyncTypes.h"

namespace Sync {

struct MergeOptions {
    int64_t nowMs = 0;  // for the age of tombstones
    // Put before the title (or the first line of the text) of a conflict note.
    std::wstring conflictPrefix = L"Conflict: ";
};

enum class EffectKind {
    Added,    // a live note this PC did not show before
    Changed,  // the text, title, priority, font, lock or alarm of a shown note
    Removed,  // a shown note was deleted elsewhere: removedText goes to the bin
};

struct MergeEffect {
    EffectKind kind = EffectKind::Changed;
    NoteId id;
    std::wstring removedText;
    bool placed = false;  // Changed: the placement group changed
    bool fields = true;   // Changed: the text, title or attributes changed
};

struct MergeResult {
    std::vector<SyncNote> notes;  // sorted by id, one per id
    std::vector<MergeEffect> effects;
    size_t conflicts = 0;  // conflict notes made
    Stamp newest;          // the latest stamp among the other PC's notes
};

// Takes `mine` by value: a caller that keeps no copy moves its notes in.
MergeResult Merge(std::vector<SyncNote> mine, const std::vector<SyncNote>& theirs,
                  const MergeOptions& options);

// The id every PC gives the conflict note that keeps `losing` of note `id`.
NoteId ConflictNoteId(const NoteId& id, const Stamp& losing);

// The title of a conflict note keeping text and title.
std::wstring ConflictTitle(const std::wstring& prefix, const std::wstring& title,
                           const std::wstring& text);

}  // namespace Sync
