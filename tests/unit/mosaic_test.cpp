// The mosaic grid and its cell colours.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "capture/marks/mosaic.h"

TEST(Mosaic, CellsSnapTowardZeroAndStayInsideOnce) {
    EXPECT_EQ(mosaic_cell_at(25, 13), (PixelRect{24, 12, 36, 24}));
    EXPECT_EQ(mosaic_cell_at(-5, -13), (PixelRect{0, -12, 12, 0}));
    // Read as signed 16-bit, as a pointer position.
    EXPECT_EQ(mosaic_cell_at(65535, 0x12345), (PixelRect{0, 0x2340, 12, 0x234C}));

    const PixelRect sel{10, 10, 50, 40}; // edges off the grid: strips stay uncovered
    std::vector<PixelRect> cells;
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 11, 11)); // cell 0..12 crosses the edge
    EXPECT_TRUE(add_mosaic_cell(cells, sel, 12, 12));
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 23, 23)); // same cell again
    EXPECT_TRUE(add_mosaic_cell(cells, sel, 36, 24));
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 48, 24)); // 48..60 passes the right edge
    EXPECT_FALSE(add_mosaic_cell(cells, sel, 12, 36)); // 36..48 passes the bottom
    EXPECT_EQ(cells, (std::vector<PixelRect>{{12, 12, 24, 24}, {36, 24, 48, 36}}));
    // Exactly fitting cells are admitted, at the selection's own edges.
    std::vector<PixelRect> exact;
    EXPECT_TRUE(add_mosaic_cell(exact, {12, 12, 24, 24}, 12, 23));
}
TEST(Mosaic, CellColourIsTheSnapshotPixelAtItsCentre) {
    // A 24 x 12 snapshot at overlay (12, 24): left half pure red, right half B=1 G=2 R=3.
    std::vector<uint8_t> snap(24 * 12 * 4);
    for (int i = 0; i < 24 * 12; ++i) {
        const bool right = i % 24 >= 12;
        snap[i * 4 + 0] = right ? 1 : 0;
        snap[i * 4 + 1] = right ? 2 : 0;
        snap[i * 4 + 2] = right ? 3 : 255;
    }
    EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, {12, 24, 24, 36}), 0x0000FFu);
    EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, {24, 24, 36, 36}), 0x010203u);
    // Centres beyond the snapshot on any side, or no snapshot: grey, nothing read.
    for (PixelRect out :
         {PixelRect{0, 24, 12, 36}, PixelRect{36, 24, 48, 36}, PixelRect{12, 12, 24, 24},
          PixelRect{12, 36, 24, 48}, PixelRect{INT_MIN, INT_MIN, INT_MAX, INT_MAX}})
        EXPECT_EQ(mosaic_cell_color(snap, 24, 12, 24, out), MOSAIC_FALLBACK_COLOR);
    EXPECT_EQ(mosaic_cell_color({}, 0, 0, 0, {0, 0, 12, 12}), MOSAIC_FALLBACK_COLOR);
}
