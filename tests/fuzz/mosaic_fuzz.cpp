// Mosaic cells under pointer positions at the extremes of their types, the cells a
// selection admits, and the colour each takes from a snapshot of any size.
#include <algorithm>
#include <cstdint>
#include <vector>

#include "capture/marks/annotation.h"
#include "capture/marks/mosaic.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const PixelRect selection = normalised_rect({take<int32_t>(in), take<int32_t>(in)},
                                                {take<int32_t>(in), take<int32_t>(in)});
    // Half the inputs have a snapshot narrow enough for cells to lie wholly on it. Its
    // bytes follow a pattern in which no two channels of nearby pixels are equal, so a
    // colour read from the wrong pixel or channel shows; one input byte varies it.
    const bool narrow = take<uint8_t>(in) & 1;
    const int32_t snapshot_width = narrow ? 12 + take<uint8_t>(in) % 40 : take<int32_t>(in);
    std::vector<uint8_t> snapshot(take<uint16_t>(in) % 4096);
    const uint8_t seed = take<uint8_t>(in);
    for (size_t i = 0; i < snapshot.size(); ++i)
        snapshot[i] = static_cast<uint8_t>((i * 97) ^ seed);

    std::vector<PixelRect> cells;
    const int count = take<uint8_t>(in) % 32;
    for (int i = 0; i < count; ++i) {
        const int32_t x = take<int32_t>(in);
        const int32_t y = take<int32_t>(in);
        const PixelRect cell = mosaic_cell_at(x, y);
        FUZZ_CHECK(cell.right - cell.left == MOSAIC_CELL && cell.bottom - cell.top == MOSAIC_CELL);
        FUZZ_CHECK(cell.left % MOSAIC_CELL == 0 && cell.top % MOSAIC_CELL == 0);
        const size_t before = cells.size();
        if (add_mosaic_cell(cells, selection, x, y)) {
            FUZZ_CHECK(cells.size() == before + 1 && cells.back() == cell);
            FUZZ_CHECK(cell.left >= selection.left && cell.right <= selection.right);
            FUZZ_CHECK(cell.top >= selection.top && cell.bottom <= selection.bottom);
        }
        // A grid cell wholly on the snapshot takes the colour of one of its own pixels
        // (as a COLORREF: red in the low byte); one wholly off it, or on none, takes grey.
        // Stored marks may carry any cell, not only grid cells: off the snapshot, grey too.
        const PixelRect any{take<int32_t>(in), take<int32_t>(in), take<int32_t>(in),
                            take<int32_t>(in)};
        const int64_t rows = snapshot_width > 0 ? int64_t(snapshot.size() / 4) / snapshot_width : 0;
        const int64_t snap_left = selection.left, snap_top = selection.top;
        const int64_t snap_right = rows > 0 ? snap_left + snapshot_width : snap_left;
        const int64_t snap_bottom = snap_top + rows;
        // A cell placed on the snapshot, as a stored mark's cell may be: off the grid.
        const int64_t span_x = std::max<int64_t>(snap_right - snap_left - MOSAIC_CELL + 1, 1);
        const int64_t span_y = std::max<int64_t>(snap_bottom - snap_top - MOSAIC_CELL + 1, 1);
        const int64_t on_x = snap_left + take<uint8_t>(in) % span_x;
        const int64_t on_y = snap_top + take<uint8_t>(in) % span_y;
        const PixelRect placed{saturate_i32(on_x), saturate_i32(on_y),
                               saturate_i32(on_x + MOSAIC_CELL), saturate_i32(on_y + MOSAIC_CELL)};
        for (const PixelRect& on : {cell, placed}) {
            const uint32_t color =
                mosaic_cell_color(snapshot, snapshot_width, selection.left, selection.top, on);
            // (Placed at the end of the i32 range it may be cut down to nothing.)
            if (on.left >= snap_left && on.right <= snap_right && on.top >= snap_top &&
                on.bottom <= snap_bottom && on.left < on.right && on.top < on.bottom) {
                bool found = false;
                for (int64_t py = on.top; py < on.bottom && !found; ++py) {
                    for (int64_t px = on.left; px < on.right && !found; ++px) {
                        const size_t at = static_cast<size_t>(
                            ((py - snap_top) * snapshot_width + px - snap_left) * 4);
                        found =
                            color == (uint32_t{snapshot[at + 2]} | uint32_t{snapshot[at + 1]} << 8 |
                                      uint32_t{snapshot[at]} << 16);
                    }
                }
                FUZZ_CHECK(found);
            }
        }
        for (const PixelRect& c : {cell, any}) {
            const int64_t lo_x = std::min(c.left, c.right), hi_x = std::max(c.left, c.right);
            const int64_t lo_y = std::min(c.top, c.bottom), hi_y = std::max(c.top, c.bottom);
            if (hi_x < snap_left || lo_x >= snap_right || hi_y < snap_top || lo_y >= snap_bottom)
                FUZZ_CHECK(mosaic_cell_color(snapshot, snapshot_width, selection.left,
                                             selection.top, c) == MOSAIC_FALLBACK_COLOR);
        }
    }
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = i + 1; j < cells.size(); ++j) FUZZ_CHECK(!(cells[i] == cells[j]));
    return 0;
}
