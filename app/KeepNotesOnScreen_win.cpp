// Notes never end up out of sight: after a change of monitors, and when the
// notes are loaded, a note lying on no monitor comes to the nearest work area.

#include "app/Application_win.h"
#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "notes/NoteWindow_win.h"
#include "store/NotesFile.h"

namespace {

Rect ToPortable(const RECT& r) {
    return Rect{r.left, r.top, r.right, r.bottom};
}

}  // namespace

void Application::KeepNotesOnMonitors(NotesFileData& data) const {
    const std::vector<Arrange::Monitor> monitors =
        (monitorSource ? *monitorSource : Arrange::SystemMonitors()).Monitors();
    // A size from the file is no larger than the work area it is shown on.
    for (NoteData& note : data.notes) {
        note.rect =
            Arrange::BringOntoMonitors(Arrange::CapToWorkArea(note.rect, monitors), monitors);
    }
}

void Application::BringNotesOntoMonitors() {
    const std::vector<Arrange::Monitor> monitors =
        (monitorSource ? *monitorSource : Arrange::SystemMonitors()).Monitors();
    if (monitors.empty() || shuttingDown || loadingNotes) return;
    bool moved = false;
    holdSaves = true;
    // Hidden notes too: they must be in reach when they are shown again.
    for (NoteWindow* note : notes.Snapshot()) {
        const Rect now = ToPortable(note->WindowRect());
        const Rect wanted = Arrange::BringOntoMonitors(now, monitors);
        if (wanted == now) continue;
        note->SetRect(RECT{wanted.left, wanted.top, wanted.right, wanted.bottom});
        moved = true;
    }
    holdSaves = false;
    // The main window's new place reaches the settings through its WM_MOVE.
    const Rect main = ToPortable(WindowRect());
    const Rect mainWanted = Arrange::BringOntoMonitors(main, monitors);
    if (mainWanted != main) Move(mainWanted.left, mainWanted.top);
    if (moved) SaveNotes();
}
