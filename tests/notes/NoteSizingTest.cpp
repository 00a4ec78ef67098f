#include "notes/NoteSizing.h"

#include <gtest/gtest.h>

#include "../arrange/RectPrinting.h"

using namespace NoteGeometry;

namespace {

GridOptions Grid(int32_t gap) {
    GridOptions g;
    g.useGrid = true;
    g.gap = gap;
    return g;
}

GridOptions SnapNotes(int32_t gap) {
    GridOptions g;
    g.snapNotes = true;
    g.gap = gap;
    return g;
}

TEST(FitRectToGrid, Table) {
    struct {
        const char* name;
        Rect in;
        Point background;
        GridOptions grid;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"grid: edges on grid lines stay", {100, 100, 210, 180}, {60, 40}, Grid(15), {100, 100, 210, 180}},
        {"grid: right and bottom raised", {100, 100, 211, 181}, {60, 40}, Grid(15), {100, 100, 225, 195}},
        {"snap to notes: size raised, corner truncated", {100, 100, 211, 181}, {60, 40}, SnapNotes(15),
         {90, 90, 220, 190}},
        {"snap to notes: negative corner toward zero", {-37, -23, 100, 100}, {60, 40}, SnapNotes(10),
         {-30, -20, 103, 107}},
        {"background minimum first", {100, 100, 150, 150}, {120, 90}, GridOptions{}, {100, 100, 220, 190}},
        {"background minimum, then grid", {100, 100, 150, 150}, {120, 90}, Grid(15), {100, 100, 225, 195}},
        {"grid step 0 rounds nothing", {100, 100, 211, 181}, {60, 40}, Grid(0), {100, 100, 211, 181}},
        {"snap step 0 rounds nothing", {100, 100, 211, 181}, {60, 40}, SnapNotes(0), {100, 100, 211, 181}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, FitRectToGrid(c.in, c.background.x, c.background.y, c.grid));
    }
}

TEST(SnapGripSizing, Table) {
    const Insets mask{5, 5, 5, 5};
    const std::vector<Rect> other = {{300, 300, 500, 500}};  // visible corners at 305 and 495
    GridOptions both = SnapNotes(10);
    both.useGrid = true;
    struct {
        const char* name;
        Rect proposed;
        GridOptions grid;
        std::vector<Rect> others;
        Rect expected;
    } cases[] = {
        // clang-format off
        {"grid raises the visible corner", {100, 100, 253, 247}, Grid(10), other, {100, 100, 255, 255}},
        {"corner nearer than the gap catches", {100, 100, 312, 318}, SnapNotes(10), other, {100, 100, 310, 310}},
        {"corner a gap away does not", {100, 100, 320, 310}, SnapNotes(10), other, {100, 100, 320, 310}},
        {"no other note, no corner", {100, 100, 312, 318}, SnapNotes(10), {}, {100, 100, 312, 318}},
        {"snapping off, no corner", {100, 100, 312, 318}, GridOptions{}, other, {100, 100, 312, 318}},
        {"grid first, then the corner", {100, 100, 301, 301}, both, other, {100, 100, 310, 310}},
        // clang-format on
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.expected, SnapGripSizing(c.proposed, mask, c.grid, c.others));
    }
}

TEST(NearestCorner, ByTheLargerAxisDistanceFirstOfEqualsWins) {
    const std::vector<Point> corners = CollectNoteCorners({{0, 0, 100, 50}, {200, 0, 300, 50}}, {});
    ASSERT_EQ(8u, corners.size());
    EXPECT_EQ((Point{100, 50}), corners[2]);
    int64_t distance = 0;
    EXPECT_EQ(2, NearestCorner({150, 60}, corners, distance));  // 50 from (100, 50) and (200, 50)
    EXPECT_EQ(50, distance);
    EXPECT_EQ(1, NearestCorner({110, -30}, corners, distance));  // max(10, 30) beats max(90, 30)
    EXPECT_EQ(-1, NearestCorner({2000000, 0}, corners, distance));
}

}  // namespace
