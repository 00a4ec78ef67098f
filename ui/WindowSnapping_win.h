#pragma once
// Snapping of the skinned windows: the rules of arrange/Snapping applied to a
// SmallWindow's WM_WINDOWPOSCHANGING, against the other SmallWindows and the
// monitors' work areas.

#include <windows.h>

class SmallWindow;

// The snapping of one position change of `window` (a no-op unless its snapping
// is enabled, Ctrl is up, it is not being sized and the change moves or sizes).
void SnapWindowPos(SmallWindow& window, WINDOWPOS& pos);

// The work areas and the other windows' places, held from the first snap
// until the last release: a mouse move or resize gathers them once.
void HoldSnapping();
void ReleaseSnapping();

// Installs the above as SmallWindow's snap hooks. The program does it once
// where it is put together; until then windows move unsnapped. Harmless to
// call again.
void InstallSnapping();
