#pragma once
// Points and rectangles in primary-display pixels, shared by the overlay, its marks, the
// grab and the pinned windows, and the one rule for bringing a wide sum back into 32 bits.
#include <algorithm>
#include <cstdint>
#include <limits>

struct PixelPoint {
    int32_t x = 0;
    int32_t y = 0;
    bool operator==(const PixelPoint&) const = default;
};

// Right and bottom are exclusive: width = right - left.
struct PixelRect {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    bool operator==(const PixelRect&) const = default;
};

// The rectangle spanned by two corners, with left <= right and top <= bottom.
constexpr PixelRect normalised_rect(PixelPoint a, PixelPoint b) {
    return {std::min(a.x, b.x), std::min(a.y, b.y), std::max(a.x, b.x), std::max(a.y, b.y)};
}

// `value` clamped to the i32 range: coordinates computed in 64 bits from pointer
// positions and window edges stay representable whatever the input.
constexpr int32_t saturate_i32(int64_t value) {
    if (value < std::numeric_limits<int32_t>::min()) return std::numeric_limits<int32_t>::min();
    if (value > std::numeric_limits<int32_t>::max()) return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(value);
}

// A rectangle as the command line's --region gives it and capture_screen takes it: origin
// and size. Everything behind that edge works in PixelRect.
struct ScreenRect {
    int32_t x = 0, y = 0;
    int32_t width = 0, height = 0;
    bool operator==(const ScreenRect&) const = default;
};

// The same rectangle by its edges; a right or bottom past the 32-bit range saturates.
constexpr PixelRect to_pixel_rect(ScreenRect r) {
    return {r.x, r.y, saturate_i32(int64_t{r.x} + r.width), saturate_i32(int64_t{r.y} + r.height)};
}
