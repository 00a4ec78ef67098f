#pragma once
// Makes the windows of the notes read from Notes.dat and shows them.
//
// Each note's window is made hidden at its stored rectangle, in its Z-order
// band, with its layered attributes set once; the notes are then shown and
// ordered in batches (one deferred window-position batch each) and painted at
// once, so the first notes are on the screen while later ones are still being
// made. A record whose window cannot be made (the process is out of window
// or GDI handles, or memory) is not dropped: it is handed back to the caller,
// which keeps it and writes it with every save.

#include <cstddef>
#include <functional>
#include <vector>

#include "store/NoteData.h"

class NoteWindow;

// Makes one loaded note (normally new NoteWindow(host, layered, record)). It
// may return null or a note without a window; the loader deletes the latter.
using LoadedNoteMaker = std::function<NoteWindow*(const NoteData& record)>;

struct LoadedNotes {
    std::vector<NoteWindow*> shown;  // in file order; hidden notes included
    std::vector<NoteData> unshown;   // the records that got no window, in file order
};

constexpr size_t kLoadBatchSize = 32;

LoadedNotes ShowLoadedNotes(const std::vector<NoteData>& records, const LoadedNoteMaker& make,
                            size_t batchSize = kLoadBatchSize);
