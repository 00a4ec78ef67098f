#include "notes/NoteLoader_win.h"

#include <windows.h>

#include "notes/NoteWindow_win.h"

namespace {

// Each note not hidden on its own is shown without activation; one that does
// not stay on top goes to the bottom of the Z order, below the notes before it,
// as if the notes had been shown one by one in file order. Notes that stay on
// top were made in the topmost band and keep their place in it.
void PlaceOne(HDWP& defer, NoteWindow& note) {
    const UINT flags = SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_SHOWWINDOW;
    HWND after = note.AlwaysOnTop() ? nullptr : HWND_BOTTOM;
    const UINT order = note.AlwaysOnTop() ? SWP_NOZORDER : 0;
    if (defer) defer = DeferWindowPos(defer, note.Handle(), after, 0, 0, 0, 0, flags | order);
    // A failed batch is freed by the system; the rest go one at a time.
    if (!defer) SetWindowPos(note.Handle(), after, 0, 0, 0, 0, flags | order);
}

void ShowBatch(const std::vector<NoteWindow*>& notes, size_t from) {
    const size_t count = notes.size() - from;
    if (count == 0) return;
    HDWP defer = BeginDeferWindowPos(static_cast<int>(count));
    for (size_t i = from; i < notes.size(); ++i) {
        if (!notes[i]->Hidden()) PlaceOne(defer, *notes[i]);
    }
    if (defer) EndDeferWindowPos(defer);
    // Painted now rather than when the message loop gets to it: the batch is
    // complete on the screen before the next one is made.
    for (size_t i = from; i < notes.size(); ++i) {
        if (!notes[i]->Hidden()) UpdateWindow(notes[i]->Handle());
    }
}

}  // namespace

LoadedNotes ShowLoadedNotes(const std::vector<NoteData>& records, const LoadedNoteMaker& make,
                            size_t batchSize) {
    LoadedNotes result;
    result.shown.reserve(records.size());
    if (batchSize == 0) batchSize = 1;
    size_t batchStart = 0;
    for (const NoteData& record : records) {
        NoteWindow* note = make(record);
        if (!note || !note->Handle()) {
            delete note;
            result.unshown.push_back(record);
            continue;
        }
        result.shown.push_back(note);
        if (result.shown.size() - batchStart >= batchSize) {
            ShowBatch(result.shown, batchStart);
            batchStart = result.shown.size();
        }
    }
    ShowBatch(result.shown, batchStart);
    return result;
}
