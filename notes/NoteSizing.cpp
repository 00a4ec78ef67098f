#include "notes/NoteSizing.h"

#include <cstddef>

#include "arrange/Grid.h"

using Arrange::ClampToInt32;
using Arrange::RaiseToGrid;
using Arrange::TruncateToGrid;

namespace NoteGeometry {

namespace {

int32_t RaiseExtent(int32_t from, int32_t to, int32_t g) {
    const int32_t length = ClampToInt32(int64_t{to} - from);
    return ClampToInt32(int64_t{to} + RaiseToGrid(length, g) - length);
}

int64_t Distance(Point a, Point b) {
    const int64_t dx = a.x > b.x ? int64_t{a.x} - b.x : int64_t{b.x} - a.x;
    const int64_t dy = a.y > b.y ? int64_t{a.y} - b.y : int64_t{b.y} - a.y;
    return dx > dy ? dx : dy;
}

}  // namespace

Rect FitRectToGrid(const Rect& r, int32_t backgroundWidth, int32_t backgroundHeight,
                   const GridOptions& grid) {
    Rect out = r;
    if (out.Width() < backgroundWidth)
        out.right = ClampToInt32(int64_t{out.left} + backgroundWidth);
    if (out.Height() < backgroundHeight)
        out.bottom = ClampToInt32(int64_t{out.top} + backgroundHeight);

    const int32_t g = grid.gap;
    if (grid.useGrid) {
        out.right = RaiseToGrid(out.right, g);
        out.bottom = RaiseToGrid(out.bottom, g);
    } else if (grid.snapNotes) {
        out.right = RaiseExtent(out.left, out.right, g);
        out.bottom = RaiseExtent(out.top, out.bottom, g);
        out.left = TruncateToGrid(out.left, g);
        out.top = TruncateToGrid(out.top, g);
    }
    return out;
}

std::vector<Point> CollectNoteCorners(const std::vector<Rect>& noteRects,
                                      const Insets& maskInsets) {
    std::vector<Point> corners;
    corners.reserve(noteRects.size() * 4);
    for (const Rect& note : noteRects) {
        const Rect s = Shrink(note, maskInsets);
        corners.push_back({s.left, s.top});
        corners.push_back({s.right, s.top});
        corners.push_back({s.right, s.bottom});
        corners.push_back({s.left, s.bottom});
    }
    return corners;
}

int NearestCorner(Point p, const std::vector<Point>& corners, int64_t& distance) {
    int best = -1;
    distance = 999999;
    for (std::size_t i = 0; i < corners.size(); ++i) {
        const int64_t d = Distance(p, corners[i]);
        if (d < distance) {
            distance = d;
            best = static_cast<int>(i);
        }
    }
    return best;
}

Rect SnapGripSizing(const Rect& proposed, const Insets& maskInsets, const GridOptions& grid,
                    const std::vector<Rect>& otherNotes) {
    Rect s = Shrink(proposed, maskInsets);
    if (grid.useGrid) {
        s.right = RaiseToGrid(s.right, grid.gap);
        s.bottom = RaiseToGrid(s.bottom, grid.gap);
    }
    if (grid.snapNotes && !otherNotes.empty()) {
        const std::vector<Point> corners = CollectNoteCorners(otherNotes, maskInsets);
        int64_t distance = 0;
        const int best = NearestCorner({s.right, s.bottom}, corners, distance);
        if (best >= 0 && distance < grid.gap) {
            s.right = corners[static_cast<std::size_t>(best)].x;
            s.bottom = corners[static_cast<std::size_t>(best)].y;
        }
    }
    return Grow(s, maskInsets);
}

}  // namespace NoteGeometry
