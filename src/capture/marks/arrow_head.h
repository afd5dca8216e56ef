#pragma once
// The filled head of an arrow mark: an equilateral triangle whose apex is the release
// point, 2.5 x width + 12 pixels on a side, or 0.4 of the shaft on short arrows.
#include <cstdint>
#include <optional>

#include "capture/image/geometry.h"

struct ArrowHead {
    PixelPoint apex; // the release point
    PixelPoint wings[2];
};

// The head of an arrow from (x1, y1) to (x2, y2) drawn `width` pixels wide; nothing when
// the shaft is shorter than one pixel.
[[nodiscard]] std::optional<ArrowHead> arrow_head(int32_t x1, int32_t y1, int32_t x2, int32_t y2,
                                                  int32_t width);

// A coordinate computed in floating point, truncated toward zero into the i32 range;
// not-a-number becomes 0.
int32_t to_coordinate(double value);
