#pragma once
// Tiling: the notes that lie on one monitor are spread over its work area in a
// grid of about as many columns as rows, each note centred in its cell, in
// list order. Sizes are kept; hidden notes neither move nor take a cell.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "arrange/Rect.h"

namespace Arrange {

struct TileGrid {
    int32_t columns = 0;
    int32_t rows = 0;
    int32_t cellWidth = 0;
    int32_t cellHeight = 0;
};

// The grid for `count` visible notes: ceil(sqrt(count)) columns and as many
// rows as those need, the work area divided among them (rounded down). An
// empty grid (all zero) for no notes.
TileGrid TileGridFor(const Rect& workArea, size_t count);

struct TileNote {
    Rect rect;  // the note's window rectangle now
    bool hidden = false;
};

// The new top-left corner of every note of one monitor, in the same order;
// empty for a hidden note. A note smaller than its cell is centred in it, one
// as large or larger starts at the cell's top-left corner and overlaps the
// next. A row ends when the next cell would pass the work area's right edge.
std::vector<std::optional<Point>> TileLayout(const Rect& workArea,
                                             const std::vector<TileNote>& notes);

}  // namespace Arrange
