#include "arrange/OnScreen.h"

#include <algorithm>

#include "arrange/Grid.h"

namespace Arrange {

namespace {

// Coordinates come from files too, so every sum is taken in 64 bits.
int64_t Overlap(int64_t a0, int64_t a1, int64_t b0, int64_t b1) {
    return std::max<int64_t>(0, std::min(a1, b1) - std::max(a0, b0));
}

// The start of a span of `size` placed as near `start` as [low, high) allows.
int64_t Fit(int64_t start, int64_t size, int64_t low, int64_t high) {
    return std::max(low, std::min(start, high - size));
}

}  // namespace

bool IsOnSomeMonitor(const Rect& w, const std::vector<Monitor>& monitors) {
    const int64_t width = std::max<int64_t>(1, int64_t{w.right} - w.left);
    const int64_t height = std::max<int64_t>(1, int64_t{w.bottom} - w.top);
    const int64_t needX = std::min<int64_t>(kMinVisibleOnMonitor, width);
    const int64_t needY = std::min<int64_t>(kMinVisibleOnMonitor, height);
    return std::any_of(monitors.begin(), monitors.end(), [&](const Monitor& m) {
        const Rect& b = m.bounds;
        return Overlap(w.left, w.right, b.left, b.right) >= needX &&
               Overlap(w.top, w.bottom, b.top, b.bottom) >= needY;
    });
}

Rect BringOntoMonitors(const Rect& w, const std::vector<Monitor>& monitors) {
    if (monitors.empty() || IsOnSomeMonitor(w, monitors)) return w;
    const Rect& area = monitors[static_cast<size_t>(NearestMonitor(w, monitors))].workArea;
    const int64_t areaWidth = std::max<int64_t>(0, int64_t{area.right} - area.left);
    const int64_t areaHeight = std::max<int64_t>(0, int64_t{area.bottom} - area.top);
    const int64_t width = std::clamp<int64_t>(int64_t{w.right} - w.left, 0, areaWidth);
    const int64_t height = std::clamp<int64_t>(int64_t{w.bottom} - w.top, 0, areaHeight);
    const int64_t x = Fit(w.left, width, area.left, area.right);
    const int64_t y = Fit(w.top, height, area.top, area.bottom);
    return Rect{static_cast<int32_t>(x), static_cast<int32_t>(y), static_cast<int32_t>(x + width),
                static_cast<int32_t>(y + height)};
}

Rect CapToWorkArea(const Rect& w, const std::vector<Monitor>& monitors) {
    if (monitors.empty()) return w;
    const Rect corner{w.left, w.top, ClampToInt32(int64_t{w.left} + 1),
                      ClampToInt32(int64_t{w.top} + 1)};
    const Rect& area = monitors[static_cast<size_t>(NearestMonitor(corner, monitors))].workArea;
    const int64_t areaWidth = std::max<int64_t>(0, int64_t{area.right} - area.left);
    const int64_t areaHeight = std::max<int64_t>(0, int64_t{area.bottom} - area.top);
    Rect capped = w;
    if (int64_t{w.right} - w.left > areaWidth) capped.right = ClampToInt32(w.left + areaWidth);
    if (int64_t{w.bottom} - w.top > areaHeight) capped.bottom = ClampToInt32(w.top + areaHeight);
    return capped;
}

}  // namespace Arrange
