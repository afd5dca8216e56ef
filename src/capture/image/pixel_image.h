#pragma once
#include <cstdint>
#include <vector>

// Captured or flattened pixels: rows top to bottom, 4 bytes a pixel (blue, green, red,
// fourth byte), no row padding. One owner at a time; moved, never shared.
struct PixelImage {
    std::vector<uint8_t> pixels; // width * height * 4 bytes
    int32_t width = 0;
    int32_t height = 0;
};

// A rectangle in primary-display pixels.
struct ScreenRect {
    int32_t x = 0;
    int32_t y = 0;
    int32_t width = 0;
    int32_t height = 0;
    bool operator==(const ScreenRect&) const = default;
};
