#pragma once
// Sizing rules of a note: the placement of a new note on the grid, and the
// adjustments made while the user drags the resize grip.

#include <cstdint>
#include <vector>

#include "arrange/Rect.h"
#include "notes/NoteMetrics.h"

namespace NoteGeometry {

// The rectangle a new or moved-in note takes: at least the background's size,
// then with the grid on its right and bottom edges raised to grid lines, or with
// snapping to notes on its size raised to whole steps and its top-left corner
// truncated to a grid line.
Rect FitRectToGrid(const Rect& r, int32_t backgroundWidth, int32_t backgroundHeight,
                   const GridOptions& grid);

// The four corners of each note's visible shape (its window rectangle shrunk by
// the mask insets): top-left, top-right, bottom-right, bottom-left.
std::vector<Point> CollectNoteCorners(const std::vector<Rect>& noteRects, const Insets& maskInsets);

// Index of the corner nearest to p by the larger of the two axis distances, the
// first of equals winning; -1 when none is nearer than 999999. `distance`
// receives the best distance found.
int NearestCorner(Point p, const std::vector<Point>& corners, int64_t& distance);

// Adjusts the rectangle proposed while the bottom-right grip is dragged (screen
// coordinates). `otherNotes` holds the window rectangles of all other notes;
// corner snapping needs at least one.
Rect SnapGripSizing(const Rect& proposed, const Insets& maskInsets, const GridOptions& grid,
                    const std::vector<Rect>& otherNotes);

}  // namespace NoteGeometry
