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
        {"grid: edges on grid lines stay", {100, 100, 210, 180}, {60, 40}, grid, {100, 100, 210, 180}},
        {"grid: right and bottom raised", {100, 100, 211, 181}, {60, 40}, grid, {100, 100, 225, 195}},
        {"snap to notes: size raised, corner truncated", {100, 100, 211, 181}, {60, 40}, snap,
         {90, 90, 220, 190}},
        {"background minimum first", {100, 100, 150, 150}, {120, 90}, GridOptions{}, {100, 100, 220, 190}},
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
    const Insets mask{5, 5, 5, 5};
    const std::vector<Rect> other = {{300, 300, 500, 500}};  // visible corners at 305 and 495
    const GridOptions snap = Grid(10, false, true);
    EXPECT_EQ((Rect{100, 100, 255, 255}),
              SnapGripSizing({100, 100, 253, 247}, mask, Grid(10, true, false), other));
    EXPECT_EQ((Rect{100, 100, 310, 310}), SnapGripSizing({100, 100, 312, 318}, mask, snap, other));
    EXPECT_EQ((Rect{100, 100, 320, 310}), SnapGripSizing({100, 100, 320, 310}, mask, snap, other));
    EXPECT_EQ((Rect{100, 100, 312, 318}), SnapGripSizing({100, 100, 312, 318}, mask, snap, {}));
    EXPECT_EQ((Rect{100, 100, 310, 310}),
              SnapGripSizing({100, 100, 301, 301}, mask, Grid(10, true, true), other));
}

}  // namespace
