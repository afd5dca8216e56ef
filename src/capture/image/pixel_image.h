#pragma once
#include <cstdint>
#include <optional>
#include <vector>

// Captured or flattened pixels: rows top to bottom, 4 bytes a pixel (blue, green, red,
// fourth byte), no row padding. One owner at a time; moved, never shared.
struct PixelImage {
    std::vector<uint8_t> pixels; // width * height * 4 bytes
    int32_t width = 0;
    int32_t height = 0;
};

// A width x height image of zeros. Nothing when a side is below 1, when the pixels would
// take 2 GiB or more (GDI holds no bitmap that large), or when the memory is missing.
[[nodiscard]] std::optional<PixelImage> make_pixel_image(int64_t width, int64_t height);
