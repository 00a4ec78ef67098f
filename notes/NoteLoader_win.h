#pragma once
// Makes the windows of the notes read from Notes.dat and shows them.
//
// Each note's window is made hidden at its stored rectangle, in its Z-order
// band, with its layered attributes set once; the notes are then shown and
// ordered in batches (one deferred window-position batch each, the first of
// one note, each next twice as large up to batchSize) and painted at once, so
// the first notes are on the screen while later ones are still being made. A
// record whose window cannot be made (the process is out of window or GDI
// handles, or memory) is not dropped: it is handed back to the caller, which
// keeps it and writes it with every save.

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "store/NoteData.h"

class NoteWindow;

// Makes one loaded note (normally std::make_unique<NoteWindow>(host, layered,
// record)). It may return null or a note without a window; the loader drops
// the latter.
using LoadedNoteMaker = std::function<std::unique_ptr<NoteWindow>(const NoteData& record)>;

// The notes made, for the caller to own (the host takes them into its list).
struct LoadedNotes {
    std::vector<std::unique_ptr<NoteWindow>> shown;  // in file order; hidden notes included
    std::vector<NoteData> unshown;  // the records that got no window, in file order
};

constexpr size_t kLoadBatchSize = 32;

// Windows gives a process a quota of window handles (10,000 unless set
// otherwise); the notes may take it all but a tenth, which is left for menus,
// dialogs, editors and the other windows of the program.
size_t NoteWindowsAllowed(uint32_t handleQuota);
// The same for this system's quota, read once.
size_t NoteWindowQuota();

LoadedNotes ShowLoadedNotes(const std::vector<NoteData>& records, const LoadedNoteMaker& make,
                            size_t batchSize = kLoadBatchSize);
