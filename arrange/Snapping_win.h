#pragma once
// The Windows side of snapping: the monitors as the system reports them.
// ui/SkinnedWindows_win applies the rules to the skinned windows and holds the
// work areas for a whole drag.

#include <windows.h>

#include <vector>

#include "arrange/Snapping.h"

namespace Arrange {

// Every monitor in the order EnumDisplayMonitors reports them.
std::vector<Monitor> EnumerateMonitors();

// The work area of the monitor nearest to the window.
RECT WorkAreaOf(HWND window);

// The work area of every monitor, in the order of EnumerateMonitors.
std::vector<Rect> ReadWorkAreas();

}  // namespace Arrange
