#pragma once
// The skin numbers and settings that a note's geometry depends on, copied from
// the loaded skin and the application settings by the note window.

#include <cstdint>

#include "arrange/Rect.h"

struct SkinDefinition;

namespace NoteGeometry {

struct ButtonPlace {
    bool visible = false;
    Point pos;  // negative coordinates count from the right or bottom edge
    // The size of the button's normal face; 0 when the skin has no face for it.
    int32_t width = 0;
    int32_t height = 0;
};

struct NoteMetrics {
    bool hasBackgroundBitmap = false;
    int32_t backgroundWidth = 0;  // also the smallest note size
    int32_t backgroundHeight = 0;
    bool fixedSize = true;     // background drawn once; no grip, no growth while typing
    Insets backgroundBorders;  // nine-slice borders of the background and the mask
    Insets maskInsets;         // window to visible note shape
    Insets editInsets;         // client area to text area
    Rect resizeRect;           // the grip, as the skin gives it (may count from the edges)
    Point priorityPos;
    Point moreTextPos;
    ButtonPlace menuButton;
    ButtonPlace deleteButton;
};

struct GridOptions {
    bool useGrid = false;    // "/Settings/UseNoteGrid"
    bool snapNotes = false;  // "/Settings/SnapNotes"
    int32_t gap = 15;        // "/Settings/SnapGap"
};

NoteMetrics NoteMetricsOf(const SkinDefinition& skin);

}  // namespace NoteGeometry
