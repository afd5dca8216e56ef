#pragma once
// Region selection geometry of the capture overlay, free of Win32: pointer coordinates
// from a mouse message, the normalised selection, the minimum size that confirms it and
// the size label shown beside it. Coordinates are overlay client pixels.
#include <cstdint>
#include <string>

#include "capture/image/geometry.h"

// A drag confirms a selection only when it spans at least this much in both directions.
constexpr int32_t MIN_SELECTION = 4;

// The pointer position a mouse message carries: x in the low word, y in the high word of
// lParam, each a signed 16-bit value (negative beyond the left or top edge while captured).
PixelPoint pointer_from_lparam(int64_t lparam);

// True when a drag from `anchor` to `end` is at least MIN_SELECTION wide and high.
bool confirms_selection(PixelPoint anchor, PixelPoint end);

// "W × H" (U+00D7 between single spaces) in UTF-16, ready for the text-drawing calls.
std::u16string size_label_text(int32_t width, int32_t height);

// Top of the size label's text: above the selection with 6 pixels to spare when that
// stays below the screen's top edge, else 4 pixels inside the selection.
int32_t size_label_top(int32_t selection_top, int32_t text_height);
