#include "arrange/Snapping.h"

#include <cstddef>

#include "arrange/Grid.h"

namespace Arrange {

namespace {

// Settings files can hold any number, so edge sums are taken in 64 bits and the
// results clamped back; screen coordinates themselves never come near the limits.
struct Box {
    int64_t left, top, right, bottom;
};

Box ToBox(const Rect& r) {
    return {r.left, r.top, r.right, r.bottom};
}

bool Near(int64_t a, int64_t b, int64_t d) {
    return (a > b ? a - b : b - a) <= d;
}

bool SnapToBox(int64_t d, const Box& r, int64_t cx, int64_t cy, int64_t& x, int64_t& y) {
    bool snapped = false;
    if (y < r.bottom + d && y + cy >= r.top - d) {
        const bool withinHeight = y >= r.top && y + cy < r.bottom;
        if (Near(x, r.left, d) && !withinHeight) {
            x = r.left;
            snapped = true;
        } else if (Near(x + cx, r.right, d)) {
            x = r.right - cx;
            snapped = true;
        }
        if (Near(x, r.right, d)) {
            x = r.right;
            snapped = true;
        } else if (Near(x + cx, r.left, d)) {
            x = r.left - cx;
            snapped = true;
        }
    }
    if (x < r.right + d && x + cx >= r.left - d) {
        const bool withinWidth = x >= r.left && x + cx < r.right;
        if (Near(y, r.top, d) && !withinWidth) {
            y = r.top;
            snapped = true;
        } else if (Near(y + cy, r.bottom, d)) {
            y = r.bottom - cy;
            snapped = true;
        }
        if (Near(y, r.bottom, d)) {
            y = r.bottom;
            snapped = true;
        } else if (Near(y + cy, r.top, d)) {
            y = r.top - cy;
            snapped = true;
        }
    }
    return snapped;
}

bool SnapInsideBox(int64_t d, int64_t cx, int64_t cy, int64_t& x, int64_t& y, const Box& a) {
    bool snapped = false;
    if (y < a.bottom + d && y + cy >= a.top - d) {
        if (Near(x, a.left, d)) {
            x = a.left;
            snapped = true;
        } else if (Near(x + cx, a.right, d)) {
            x = a.right - cx;
            snapped = true;
        }
    }
    if (x < a.right + d && x + cx >= a.left - d) {
        if (Near(y, a.top, d)) {
            y = a.top;
            return true;
        }
        if (Near(y + cy, a.bottom, d)) {
            y = a.bottom - cy;
            return true;
        }
    }
    return snapped;
}

bool SnapToWorkAreas(int64_t d, int64_t cx, int64_t cy, int64_t& x, int64_t& y,
                     const std::vector<Rect>& workAreas) {
    for (const Rect& area : workAreas) {
        if (SnapInsideBox(d, cx, cy, x, y, ToBox(area))) return true;
    }
    return false;
}

void Store(int64_t x, int64_t y, int32_t& outX, int32_t& outY) {
    outX = ClampToInt32(x);
    outY = ClampToInt32(y);
}

int64_t Overlap(int64_t a1, int64_t a2, int64_t b1, int64_t b2) {
    const int64_t lo = a1 > b1 ? a1 : b1;
    const int64_t hi = a2 < b2 ? a2 : b2;
    return hi > lo ? hi - lo : 0;
}

int64_t Gap(int64_t a1, int64_t a2, int64_t b1, int64_t b2) {
    if (b1 > a2) return b1 - a2;
    if (a1 > b2) return a1 - b2;
    return 0;
}

}  // namespace

bool SnapToRect(int32_t d, const Rect& r, int32_t cx, int32_t cy, int32_t& x, int32_t& y) {
    int64_t x64 = x, y64 = y;
    const bool snapped = SnapToBox(d, ToBox(r), cx, cy, x64, y64);
    Store(x64, y64, x, y);
    return snapped;
}

bool SnapInside(int32_t d, int32_t cx, int32_t cy, int32_t& x, int32_t& y, const Rect& area) {
    int64_t x64 = x, y64 = y;
    const bool snapped = SnapInsideBox(d, cx, cy, x64, y64, ToBox(area));
    Store(x64, y64, x, y);
    return snapped;
}

bool SnapToMonitors(int32_t d, int32_t cx, int32_t cy, int32_t& x, int32_t& y,
                    const std::vector<Rect>& workAreas) {
    int64_t x64 = x, y64 = y;
    const bool snapped = SnapToWorkAreas(d, cx, cy, x64, y64, workAreas);
    Store(x64, y64, x, y);
    return snapped;
}

std::vector<SnapBody> SnapBodies(const std::vector<SnapTarget>& others) {
    std::vector<SnapBody> bodies;
    bodies.reserve(others.size());
    for (const SnapTarget& o : others) {
        if (!o.visible) continue;
        bodies.push_back({int64_t{o.rect.left} + o.insets.left, int64_t{o.rect.top} + o.insets.top,
                          int64_t{o.rect.right} - o.insets.right,
                          int64_t{o.rect.bottom} - o.insets.bottom});
    }
    return bodies;
}

bool SnapWindow(const SnapOptions& options, const std::vector<SnapTarget>& others,
                const std::vector<Rect>& workAreas, int32_t& x, int32_t& y, int32_t cx,
                int32_t cy) {
    return SnapWindow(options, SnapBodies(others), workAreas, x, y, cx, cy);
}

bool SnapWindow(const SnapOptions& options, const std::vector<SnapBody>& bodies,
                const std::vector<Rect>& workAreas, int32_t& x, int32_t& y, int32_t cx,
                int32_t cy) {
    const int32_t s = options.gap;
    if (options.toGrid) {
        x = TruncateToGrid(x, s);
        y = TruncateToGrid(y, s);
        return false;
    }
    if (!options.toNotes) return false;

    // Work on the visible body, its size extended by the spacing so that outer
    // alignment leaves exactly that many pixels between two bodies.
    const Insets& m = options.insets;
    const int64_t g = options.border;
    int64_t bx = int64_t{x} + m.left;
    int64_t by = int64_t{y} + m.top;
    int64_t bcx = int64_t{cx} - m.left - m.right + g;
    int64_t bcy = int64_t{cy} - m.top - m.bottom + g;

    for (const SnapBody& b : bodies)
        SnapToBox(s, {b.left, b.top, b.right + g, b.bottom + g}, bcx, bcy, bx, by);
    bcx -= g;
    bcy -= g;
    // Monitors last, so a work-area edge wins over a window edge within reach.
    const bool snapped = SnapToWorkAreas(s, bcx, bcy, bx, by, workAreas);
    Store(bx - m.left, by - m.top, x, y);
    return snapped;
}

int NearestMonitor(const Rect& window, const std::vector<Monitor>& monitors) {
    int best = -1;
    int64_t bestArea = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& b = monitors[i].bounds;
        const int64_t area = Overlap(window.left, window.right, b.left, b.right) *
                             Overlap(window.top, window.bottom, b.top, b.bottom);
        if (area > bestArea) {
            bestArea = area;
            best = static_cast<int>(i);
        }
    }
    if (best >= 0) return best;

    // No shared area (the window is off every screen, or empty): nearest by distance.
    double bestDistance = 0;
    for (std::size_t i = 0; i < monitors.size(); ++i) {
        const Rect& b = monitors[i].bounds;
        const double dx = static_cast<double>(Gap(window.left, window.right, b.left, b.right));
        const double dy = static_cast<double>(Gap(window.top, window.bottom, b.top, b.bottom));
        const double distance = dx * dx + dy * dy;
        if (best < 0 || distance < bestDistance) {
            bestDistance = distance;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Rect WorkAreaOf(const Rect& window, const std::vector<Monitor>& monitors) {
    const int i = NearestMonitor(window, monitors);
    return i < 0 ? Rect{} : monitors[static_cast<std::size_t>(i)].workArea;
}

}  // namespace Arrange
