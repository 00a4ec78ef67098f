// Notes never end up out of sight: after a change of monitors, and when the
// notes are loaded, a note lying on no monitor comes to the nearest work area.

#include "app/Application_win.h"
#include "arrange/OnScreen.h"
#include "arrange/OnScreen_win.h"
#include "arrange/Rect_win.h"
#include "notes/NoteWindow_win.h"

void Application::BringNotesOntoMonitors() {
    document->BringNotesOntoMonitors();
    // The main window's new place reaches the settings through its WM_MOVE.
    const std::vector<Arrange::Monitor> monitors = document->Monitors().Monitors();
    if (monitors.empty()) return;
    const Rect main = ToPortable(mainWindow->WindowRect());
    const Rect mainWanted = Arrange::BringOntoMonitors(main, monitors);
    if (mainWanted != main) mainWindow->Move(mainWanted.left, mainWanted.top);
}
