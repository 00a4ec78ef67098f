#pragma once
// The Windows side of snapping: the monitors as the system reports them, the
// work-area list held for a whole drag, and the snapping of a skinned window's
// WM_WINDOWPOSCHANGING over SmallWindowList.

#include <windows.h>

#include <vector>

#include "arrange/Snapping.h"

class SmallWindow;

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

// The snapping of one position change of `window` (a no-op unless its snapping
// is enabled, Ctrl is up, it is not being sized and the change moves or sizes).
void SnapWindowPos(SmallWindow& window, WINDOWPOS& pos);

// Installs the above as SmallWindow's snap hooks; harmless to call again.
void InstallSnapping();

}  // namespace Arrange
