#pragma once
// The mosaic tool's grid: which 12 x 12 cell a pointer position falls in, which cells a
// selection admits, and the flat colour each cell takes from the selection's snapshot.
#include <cstdint>
#include <vector>

#include "capture/image/geometry.h"

// The cell under (x, y). Each coordinate is read as a signed 16-bit value, as pointer
// positions are, and snapped toward zero onto the grid anchored at overlay (0, 0).
PixelRect mosaic_cell_at(int32_t x, int32_t y);

// Adds the cell under (x, y) to `cells` when it lies wholly inside `selection` and is not
// there yet. True when a cell was added.
bool add_mosaic_cell(std::vector<PixelRect>& cells, const PixelRect& selection, int32_t x,
                     int32_t y);

// Mid grey: the colour of a cell whose centre has no snapshot pixel.
constexpr uint32_t MOSAIC_FALLBACK_COLOR = 0x808080;

// The COLORREF of the snapshot pixel at the cell's centre. The snapshot is B, G, R, X rows
// of `snapshot_width` pixels whose top-left is the selection's (left, top); a centre that
// falls outside it gives MOSAIC_FALLBACK_COLOR and nothing is read.
uint32_t mosaic_cell_color(const std::vector<uint8_t>& snapshot, int32_t snapshot_width,
                           int32_t selection_left, int32_t selection_top, const PixelRect& cell);
