#pragma once
// Keeping windows within reach when the monitors change: a window left on no
// monitor (one was removed, the resolution lowered, or it lies in the gap of an
// L-shaped or unequal layout) goes to the work area of the nearest monitor.

#include <cstdint>
#include <vector>

#include "arrange/Rect.h"
#include "arrange/Snapping.h"

namespace Arrange {

// How much of a window must lie on one monitor, across and down, for the user to
// see it and take hold of it; a smaller window must lie on it whole.
inline constexpr int32_t kMinVisibleOnMonitor = 16;

bool IsOnSomeMonitor(const Rect& window, const std::vector<Monitor>& monitors);

// The window unchanged when it is on some monitor or no monitor is known;
// otherwise moved the shortest way into the nearest monitor's work area, its size
// kept where it fits and cut to the work area where it does not.
Rect BringOntoMonitors(const Rect& window, const std::vector<Monitor>& monitors);

// The window no larger than the work area of its monitor (the one nearest its
// top-left corner), its top-left corner kept; unchanged when it fits or no
// monitor is known. A note's size read from a file is cut so: a window of tens
// of thousands of pixels a side costs the system seconds to draw.
Rect CapToWorkArea(const Rect& window, const std::vector<Monitor>& monitors);

}  // namespace Arrange
