// Mosaic cells under pointer positions at the extremes of their types, the cells a
// selection admits, and the colour each takes from a snapshot of any size.
#include <vector>

#include "capture/marks/annotation.h"
#include "capture/marks/mosaic.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const PixelRect selection = normalised_rect({take<int32_t>(in), take<int32_t>(in)},
                                                {take<int32_t>(in), take<int32_t>(in)});
    const int32_t snapshot_width = take<int32_t>(in);
    std::vector<uint8_t> snapshot(take<uint16_t>(in) % 4096);
    for (uint8_t& byte : snapshot) byte = take<uint8_t>(in);

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
        // Stored marks may carry any cell, not only grid cells.
        const PixelRect any{take<int32_t>(in), take<int32_t>(in), take<int32_t>(in),
                            take<int32_t>(in)};
        for (const PixelRect& c : {cell, any}) {
            const uint32_t color =
                mosaic_cell_color(snapshot, snapshot_width, selection.left, selection.top, c);
            FUZZ_CHECK(color <= 0xFFFFFF);
        }
    }
    for (size_t i = 0; i < cells.size(); ++i)
        for (size_t j = i + 1; j < cells.size(); ++j) FUZZ_CHECK(!(cells[i] == cells[j]));
    return 0;
}
