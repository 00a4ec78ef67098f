#pragma once
// Where a new note goes: near the tray corner, under the main window, or in the
// middle of the work area, and never outside that work area.

#include <cstdint>

#include "arrange/Rect.h"

struct NotePlacement {
    Rect workArea;      // of the monitor nearest to the main window
    int32_t width = 0;  // of the new note
    int32_t height = 0;
    int32_t snapGap = 15;   // "/Settings/SnapGap"
    bool nearTray = false;  // the action came from the tray icon
    bool nearMain = false;  // the caller wants the note near the main window or tray
    bool mainVisible = false;
    Rect mainWindow;
};

// Distance kept from the work area's edges in the tray corner and below the
// main window: three grid steps, or 10 pixels without a grid step.
int32_t NewNoteMargin(int32_t snapGap);

// The top-left corner of the new note.
Point PlaceNewNote(const NotePlacement& placement);
