#pragma once
// The Windows side of snapping: the monitors as the system reports them and the
// work-area list held for a whole drag. ui/WindowSnapping_win applies the rules
// to the skinned windows.

#include <windows.h>

#include <vector>

#include "arrange/Snapping.h"

namespace Arrange {

// Every monitor in the order EnumDisplayMonitors reports them.
std::vector<Monitor> EnumerateMonitors();

// The work area of the monitor nearest to the window.
RECT WorkAreaOf(HWND window);

// The work areas are read at the first hold and kept while any hold remains,
// so a drag reads them once however many steps it has.
void HoldWorkAreas();
void ReleaseWorkAreas();
// The held list; read afresh when nothing holds it.
const std::vector<Rect>& WorkAreas();
// How many holds are open (for tests).
int WorkAreaHolds();

}  // namespace Arrange
