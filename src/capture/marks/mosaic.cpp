#include "capture/marks/mosaic.h"

#include <algorithm>

#include "capture/marks/annotation.h"

PixelRect mosaic_cell_at(int32_t x, int32_t y) {
    const int32_t sx = static_cast<int16_t>(static_cast<uint16_t>(x));
    const int32_t sy = static_cast<int16_t>(static_cast<uint16_t>(y));
    // % truncates toward zero, so negative positions snap toward zero as well.
    const int32_t cx = sx - sx % MOSAIC_CELL;
    const int32_t cy = sy - sy % MOSAIC_CELL;
    return {cx, cy, cx + MOSAIC_CELL, cy + MOSAIC_CELL};
}

bool add_mosaic_cell(std::vector<PixelRect>& cells, const PixelRect& selection, int32_t x,
                     int32_t y) {
    const PixelRect cell = mosaic_cell_at(x, y);
    if (cell.left < selection.left || cell.top < selection.top || cell.right > selection.right ||
        cell.bottom > selection.bottom)
        return false;
    const bool known = std::any_of(cells.begin(), cells.end(), [&](const PixelRect& c) {
        return c.left == cell.left && c.top == cell.top;
    });
    if (known) return false;
    cells.push_back(cell);
    return true;
}

uint32_t mosaic_cell_color(const std::vector<uint8_t>& snapshot, int32_t snapshot_width,
                           int32_t selection_left, int32_t selection_top, const PixelRect& cell) {
    // 64-bit arithmetic: cells from stored marks may hold any i32 coordinates.
    const int64_t cx = (static_cast<int64_t>(cell.left) + cell.right) / 2;
    const int64_t cy = (static_cast<int64_t>(cell.top) + cell.bottom) / 2;
    const int64_t column = cx - selection_left;
    const int64_t row = cy - selection_top;
    // A centre left or right of the snapshot would land on a neighbouring row: grey too.
    if (snapshot_width <= 0 || column < 0 || row < 0 || column >= snapshot_width)
        return MOSAIC_FALLBACK_COLOR;
    const int64_t rows = static_cast<int64_t>(snapshot.size() / 4) / snapshot_width;
    if (row >= rows) return MOSAIC_FALLBACK_COLOR;
    const int64_t offset = (row * snapshot_width + column) * 4;
    const auto at = static_cast<size_t>(offset);
    return snapshot[at + 2] | (snapshot[at + 1] << 8) | (static_cast<uint32_t>(snapshot[at]) << 16);
}
