#include "arrange/Tiling.h"

#include <gtest/gtest.h>

#include <climits>

#include "RectPrinting.h"

using namespace Arrange;

namespace {

const Rect kWork{0, 0, 1280, 994};

TileNote Note(int32_t w, int32_t h, bool hidden = false) {
    return TileNote{Rect{5, 5, 5 + w, 5 + h}, hidden};
}

TEST(TileGrid, ColumnsRowsAndCells) {
    const struct {
        size_t count;
        TileGrid expected;
    } cases[] = {
        {0, {0, 0, 0, 0}},     {1, {1, 1, 1280, 994}}, {2, {2, 1, 640, 994}},
        {3, {2, 2, 640, 497}}, {4, {2, 2, 640, 497}},  {5, {3, 2, 426, 497}},
        {9, {3, 3, 426, 331}}, {10, {4, 3, 320, 331}}, {17, {5, 4, 256, 248}},
    };
    for (const auto& c : cases) {
        const TileGrid g = TileGridFor(kWork, c.count);
        EXPECT_EQ(g.columns, c.expected.columns) << c.count;
        EXPECT_EQ(g.rows, c.expected.rows) << c.count;
        EXPECT_EQ(g.cellWidth, c.expected.cellWidth) << c.count;
        EXPECT_EQ(g.cellHeight, c.expected.cellHeight) << c.count;
    }
}

TEST(TileLayout, Cases) {
    const Rect offset{-1024, 20, 0, 758};  // a monitor left of the primary, 1024 x 738
    const std::optional<Point> none;
    struct {
        const char* name;
        Rect work;
        std::vector<TileNote> notes;
        std::vector<std::optional<Point>> expected;
    } cases[] = {
        {"one note centred", kWork, {Note(200, 100)}, {Point{540, 447}}},
        {"odd remainders round down", kWork, {Note(201, 101)}, {Point{539, 446}}},
        // Cells of 426 x 497, the row wrapping after the third because 1278 + 426
        // passes 1280.
        {"five notes",
         kWork,
         std::vector<TileNote>(5, Note(200, 100)),
         {Point{113, 198}, Point{539, 198}, Point{965, 198}, Point{113, 695}, Point{539, 695}}},
        {"one note on a monitor left of the primary", offset, {Note(200, 100)}, {Point{-612, 339}}},
        // Cells of 341 x 369; the row wraps back to the work area's left edge, not to 0.
        {"two rows on a monitor left of the primary",
         offset,
         std::vector<TileNote>(5, Note(110, 50)),
         {Point{-909, 179}, Point{-568, 179}, Point{-227, 179}, Point{-909, 548},
          Point{-568, 548}}},
        {"a note larger than its cell starts at its corner",
         kWork,
         {Note(700, 100), Note(200, 1000)},
         {Point{0, 447}, Point{860, 0}}},
        {"as large as the cell: its corner too",
         kWork,
         {Note(640, 994), Note(100, 100)},
         {Point{0, 0}, Point{910, 447}}},
        {"hidden notes keep their place and take no cell",
         kWork,
         {Note(200, 100, true), Note(200, 100), Note(200, 100, true), Note(200, 100)},
         {none, Point{220, 447}, none, Point{860, 447}}},
        {"only hidden notes: nothing moves",
         kWork,
         {Note(200, 100, true), Note(50, 50, true)},
         {none, none}},
        {"no notes", kWork, {}, {}},
        {"a work area of no width piles notes at its left edge",
         Rect{10, 0, 10, 100},
         {Note(20, 20), Note(20, 20)},
         {Point{10, 40}, Point{10, 40}}},
        {"a damaged rectangle stays in 32 bits",
         kWork,
         {TileNote{Rect{INT_MAX, 0, INT_MIN, 10}, false}},
         {Point{INT_MAX, 492}}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TileLayout(c.work, c.notes), c.expected) << c.name;
    }
}

// Whatever the count, every visible note's cell starts inside the work area.
TEST(TileLayout, CellsStayInsideTheWorkArea) {
    for (size_t count = 1; count <= 60; ++count) {
        const std::vector<TileNote> notes(count, Note(1, 1));
        const TileGrid grid = TileGridFor(kWork, count);
        const auto places = TileLayout(kWork, notes);
        for (size_t i = 0; i < count; ++i) {
            ASSERT_TRUE(places[i]);
            const int32_t cellLeft = places[i]->x - (grid.cellWidth - 1) / 2;
            const int32_t cellTop = places[i]->y - (grid.cellHeight - 1) / 2;
            EXPECT_LE(cellLeft + grid.cellWidth, kWork.right) << count << " " << i;
            EXPECT_LE(cellTop + grid.cellHeight, kWork.bottom) << count << " " << i;
        }
    }
}

}  // namespace
