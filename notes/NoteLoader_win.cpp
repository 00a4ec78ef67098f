#include "notes/NoteLoader_win.h"

#include <windows.h>

#include <algorithm>

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

void ShowBatch(const std::vector<std::unique_ptr<NoteWindow>>& notes, size_t from) {
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

size_t NoteWindowsAllowed(uint32_t handleQuota) {
    // The system takes 200 to 18,000; anything else in the registry is not used.
    const size_t quota = handleQuota < 200 || handleQuota > 18000 ? 10000 : handleQuota;
    return quota - quota / 10;
}

size_t NoteWindowQuota() {
    static const size_t allowed = [] {
        DWORD quota = 0;
        DWORD size = sizeof quota;
        if (RegGetValueW(HKEY_LOCAL_MACHINE,
                         L"SOFTWARE\\Microsoft\\Windows NT\\CurrentVersion\\Windows",
                         L"USERProcessHandleQuota", RRF_RT_REG_DWORD, nullptr, &quota,
                         &size) != ERROR_SUCCESS) {
            quota = 0;
        }
        return NoteWindowsAllowed(quota);
    }();
    return allowed;
}

LoadedNotes ShowLoadedNotes(const std::vector<NoteData>& records, const LoadedNoteMaker& make,
                            size_t batchSize) {
    LoadedNotes result;
    result.shown.reserve(records.size());
    if (batchSize == 0) batchSize = 1;
    // The first note shows as soon as it is made, and the batches double from
    // there: the desktop fills at once without a wait for a whole batch.
    size_t batchStart = 0, batch = 1;
    for (const NoteData& record : records) {
        std::unique_ptr<NoteWindow> note = make(record);
        if (!note || !note->Handle()) {
            result.unshown.push_back(record);
            continue;
        }
        result.shown.push_back(std::move(note));
        if (result.shown.size() - batchStart >= batch) {
            ShowBatch(result.shown, batchStart);
            batchStart = result.shown.size();
            batch = std::min(batch * 2, batchSize);
        }
    }
    ShowBatch(result.shown, batchStart);
    return result;
}
