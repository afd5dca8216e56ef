#pragma once
// Region selection geometry of the capture overlay, free of Win32: pointer coordinates
// from a mouse message, the normalised selection, the minimum size that confirms it and
// the size label shown beside it. Coordinates are overlay client pixels.
#include <cstdint>
#include <string>

struct OverlayPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const OverlayPoint&) const = default;
};

// Right and bottom are exclusive: width = right - left.
struct OverlayRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const OverlayRect&) const = default;
};

// A drag confirms a selection only when it spans at least this much in both directions.
constexpr int32_t MIN_SELECTION = 4;

// The pointer position a mouse message carries: x in the low word, y in the high word of
// lParam, each a signed 16-bit value (negative beyond the left or top edge while captured).
OverlayPoint pointer_from_lparam(int64_t lparam);

// The rectangle spanned by two corners, with left <= right and top <= bottom.
OverlayRect normalised_rect(OverlayPoint a, OverlayPoint b);

// True when a drag from `anchor` to `end` is at least MIN_SELECTION wide and high.
bool confirms_selection(OverlayPoint anchor, OverlayPoint end);

// "W × H" (U+00D7 between single spaces) in UTF-16, ready for the text-drawing calls.
std::u16string size_label_text(int32_t width, int32_t height);

// Top of the size label's text: above the selection with 6 pixels to spare when that
// stays below the screen's top edge, else 4 pixels inside the selection.
int32_t size_label_top(int32_t selection_top, int32_t text_height);
