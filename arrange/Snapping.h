#pragma once
// Snapping of a window position while it moves: to a grid, or to the edges of
// the other visible skinned windows and of the monitors' work areas. Pure
// geometry; the caller gathers the windows and work areas from the system.

#include <cstdint>
#include <vector>

#include "arrange/Rect.h"

namespace Arrange {

// What the moving window answers through its snapping settings.
struct SnapOptions {
    bool toGrid = false;   // "/Settings/UseNoteGrid": grid mode instead of edge snapping
    bool toNotes = false;  // "/Settings/SnapNotes"
    int32_t gap = 15;      // "/Settings/SnapGap": grid step and snap distance
    int32_t border = 15;   // "/Settings/SnapBorder": spacing kept between two windows
    Insets insets;         // window rectangle to visible body
};

// Another skinned window that may attract the moving one.
struct SnapTarget {
    Rect rect;            // its window rectangle
    Insets insets;        // its own window-to-body insets
    bool visible = true;  // false for a destroyed or hidden window: it attracts nothing
};

struct Monitor {
    Rect bounds;    // the whole monitor
    Rect workArea;  // without the taskbar and other docked bars
};

// Edge snapping of a cx-by-cy box at (x, y) to R, d being the snap distance.
// cx, cy and R's right and bottom already carry the spacing. True when x or y
// was assigned.
bool SnapToRect(int32_t d, const Rect& r, int32_t cx, int32_t cy, int32_t& x, int32_t& y);

// Inner alignment only, to one work area.
bool SnapInside(int32_t d, int32_t cx, int32_t cy, int32_t& x, int32_t& y, const Rect& area);

// SnapInside with each work area in order, stopping at the first that snaps.
bool SnapToMonitors(int32_t d, int32_t cx, int32_t cy, int32_t& x, int32_t& y,
                    const std::vector<Rect>& workAreas);

// The visible body of another window (its rectangle less its insets), in 64
// bits so that absurd insets cannot overflow.
struct SnapBody {
    int64_t left = 0, top = 0, right = 0, bottom = 0;
};

// The bodies of the visible targets, in order. The other windows stay where
// they are while one is dragged, so a drag gathers them once and snaps every
// step against the same list instead of asking the system about every window
// at every mouse step.
std::vector<SnapBody> SnapBodies(const std::vector<SnapTarget>& others);

// Adjusts the proposed position (x, y) of a window of size cx by cy. `others`
// lists the other skinned windows in construction order, the moving one left
// out. Only x and y change. The result is whether a monitor edge caught the
// window (grid mode always gives false).
bool SnapWindow(const SnapOptions& options, const std::vector<SnapTarget>& others,
                const std::vector<Rect>& workAreas, int32_t& x, int32_t& y, int32_t cx, int32_t cy);
// The same against bodies gathered by SnapBodies.
bool SnapWindow(const SnapOptions& options, const std::vector<SnapBody>& bodies,
                const std::vector<Rect>& workAreas, int32_t& x, int32_t& y, int32_t cx, int32_t cy);

// The monitor that the system picks as nearest to a window: the one sharing
// the largest area with it, else the one at the smallest distance; the first
// in the list wins a tie. -1 for an empty list.
int NearestMonitor(const Rect& window, const std::vector<Monitor>& monitors);

// The work area of NearestMonitor; an empty rectangle when there is no monitor.
Rect WorkAreaOf(const Rect& window, const std::vector<Monitor>& monitors);

}  // namespace Arrange
