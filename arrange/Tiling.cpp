#include "arrange/Tiling.h"

#include <algorithm>
#include <limits>

namespace Arrange {

namespace {

int32_t Clamp32(int64_t v) {
    return static_cast<int32_t>(std::clamp<int64_t>(v, std::numeric_limits<int32_t>::min(),
                                                    std::numeric_limits<int32_t>::max()));
}

}  // namespace

TileGrid TileGridFor(const Rect& workArea, size_t count) {
    TileGrid grid;
    if (count == 0) return grid;
    // Whole-number square root, exact where a floating-point one may round
    // a perfect square down.
    int64_t columns = 1;
    while (columns * columns < static_cast<int64_t>(count)) ++columns;
    const int64_t rows = (static_cast<int64_t>(count) + columns - 1) / columns;
    grid.columns = static_cast<int32_t>(columns);
    grid.rows = static_cast<int32_t>(rows);
    const int64_t width = int64_t{workArea.right} - workArea.left;
    const int64_t height = int64_t{workArea.bottom} - workArea.top;
    grid.cellWidth = static_cast<int32_t>(width / columns);
    grid.cellHeight = static_cast<int32_t>(height / rows);
    return grid;
}

std::vector<std::optional<Point>> TileLayout(const Rect& workArea,
                                             const std::vector<TileNote>& notes) {
    std::vector<std::optional<Point>> places(notes.size());
    size_t visible = 0;
    for (const TileNote& note : notes) visible += note.hidden ? 0 : 1;
    const TileGrid grid = TileGridFor(workArea, visible);
    if (visible == 0) return places;

    // 64 bits: a note rectangle from a damaged file may hold any values.
    int64_t x = workArea.left;
    int64_t y = workArea.top;
    for (size_t i = 0; i < notes.size(); ++i) {
        if (notes[i].hidden) continue;
        const int64_t w = int64_t{notes[i].rect.right} - notes[i].rect.left;
        const int64_t h = int64_t{notes[i].rect.bottom} - notes[i].rect.top;
        int64_t px = x;
        int64_t py = y;
        if (w < grid.cellWidth) px += (grid.cellWidth - w) / 2;
        if (h < grid.cellHeight) py += (grid.cellHeight - h) / 2;
        places[i] = Point{Clamp32(px), Clamp32(py)};
        x += grid.cellWidth;
        if (x + grid.cellWidth > workArea.right) {
            x = workArea.left;
            y += grid.cellHeight;
        }
    }
    return places;
}

}  // namespace Arrange
