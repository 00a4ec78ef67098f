#include "notes/NoteSizing.h"

#include <gtest/gtest.h>

#include "../arrange/RectPrinting.h"

using namespace NoteGeometry;

namespace {

GridOptions Grid(int32_t gap, bool useGrid, bool snapNotes) {
    GridOptions g;
    g.useGrid = useGrid;
    g.snapNotes = snapNotes;
    g.gap = gap;
    return g;
}

TEST(FitRectToGrid, Table) {
    const GridOptions grid = Grid(15, true, false), snap = Grid(15, false, true);
    struct {
        const char* name;
        Rect in;
        Point background;
        GridOptions grid;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"grid: edges on grid lines stay", {105, 70, 210, 180}, {60, 40}, grid, {105, 70, 210, 180}},
        {"grid: right and bottom raised", {105, 70, 211, 181}, {60, 40}, grid, {105, 70, 225, 195}},
        {"grid: negative edges raised toward 0", {-103, -71, -20, -9}, {60, 40}, grid, {-103, -71, -15, 0}},
        {"snap to notes: size raised, corner truncated", {103, 71, 211, 181}, {60, 40}, snap,
         {90, 60, 223, 191}},
        {"snap to notes left of and above 0", {-103, -71, -20, -9}, {60, 40}, snap, {-90, -60, -13, 4}},
        {"background minimum first", {100, 70, 150, 150}, {120, 90}, GridOptions{}, {100, 70, 220, 160}},
        {"background minimum, then the grid", {100, 70, 150, 150}, {120, 90}, grid, {100, 70, 225, 165}},
        {"step 0 rounds nothing", {100, 100, 211, 181}, {60, 40}, Grid(0, true, true), {100, 100, 211, 181}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FitRectToGrid(c.in, c.background.x, c.background.y, c.grid));
    }
}

TEST(NearestCorner, LargerAxisDistanceFirstOfEqualsAndABound) {
    const struct {
        const char* name;
        Point p;
        std::vector<Point> corners;
        int index;
        int64_t distance;
    } cases[] = {
        {"equal distances: the first", {0, 0}, {{3, -7}, {-7, 3}, {7, 7}}, 0, 7},
        {"the larger axis counts", {0, 0}, {{5, 5}, {-4, 1}}, 1, 4},
        {"negative side", {-100, -100}, {{-90, -95}, {-103, -98}}, 1, 3},
        {"just inside the bound", {0, 0}, {{999998, 0}}, 0, 999998},
        {"at the bound: none", {0, 0}, {{0, -999999}}, -1, 999999},
        {"no corners", {0, 0}, {}, -1, 999999},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int64_t distance = 0;
        EXPECT_EQ(c.index, NearestCorner(c.p, c.corners, distance));
        EXPECT_EQ(c.distance, distance);
    }
    // Each note gives its visible shape's corners clockwise from the top left.
    EXPECT_EQ((std::vector<Point>{{15, 22}, {97, 22}, {97, 46}, {15, 46}}),
              CollectNoteCorners({{10, 20, 100, 50}}, {5, 2, 3, 4}));
}

TEST(SnapGripSizing, GridFirstThenTheNearestCornerWithinTheGap) {
    const Insets mask{3, 6, 9, 4};
    // Visible corners at x 303 and 511, y 286 and 466.
    const std::vector<Rect> other = {{300, 280, 520, 470}};
    const GridOptions snap = Grid(10, false, true);
    const struct {
        const char* name;
        Rect proposed;
        GridOptions grid;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"grid: the visible shape's edges raised", {100, 90, 253, 247}, Grid(10, true, false), {100, 90, 259, 254}},
        {"a corner 6 across and 5 down", {100, 90, 318, 285}, snap, {100, 90, 312, 290}},
        {"a corner 9 away", {100, 90, 321, 294}, snap, {100, 90, 312, 290}},
        {"a corner exactly the gap away", {100, 90, 322, 294}, snap, {100, 90, 322, 294}},
        {"the far corner on the other axis", {100, 90, 515, 292}, snap, {100, 90, 520, 290}},
        {"grid, then a corner", {100, 100, 301, 285}, Grid(10, true, true), {100, 100, 312, 290}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, SnapGripSizing(c.proposed, mask, c.grid, other));
    }
    // No other note: no corner to snap to.
    EXPECT_EQ((Rect{100, 90, 318, 285}), SnapGripSizing({100, 90, 318, 285}, mask, snap, {}));
}

}  // namespace
