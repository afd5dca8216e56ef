#pragma once
// The PNG file's bytes, made without the file system: rows converted and Sub-filtered in
// the image's own buffer, deflated as one zlib stream by libdeflate, laid out as signature,
// IHDR, IDAT, IEND.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>

#include "capture/image/pixel_image.h"

// libdeflate's level for screenshots: the fastest of levels 1 to 6 on the benchmark picture.
constexpr int PNG_DEFLATE_LEVEL = 1;
// The largest chunk body PNG allows.
constexpr size_t PNG_MAX_CHUNK = 0x7FFFFFFF;

struct PngFile {
    std::unique_ptr<uint8_t[]> bytes;
    size_t size = 0;
    size_t capacity = 0; // bytes allocated for the file, for the memory figures
};

// Bytes of the filtered image: a filter byte and width * 4 bytes a row.
size_t png_filtered_size(int32_t width, int32_t height);

// Converts rows of (blue, green, red, fourth byte) to (red, green, blue, 255) and applies
// the Sub filter in the same pass, each row led by its filter byte 1; `out` holds
// png_filtered_size bytes.
void filter_rows_sub(const uint8_t* bgrx, int32_t width, int32_t height, uint8_t* out);

// The same bytes made inside one buffer: `buffer` holds the image's rows and room for
// png_filtered_size bytes, and ends up holding the filtered rows.
void filter_rows_sub_in_place(uint8_t* buffer, int32_t width, int32_t height);

// The whole file of an RGBA, 8-bit, non-interlaced, opaque PNG, its IDAT chunks at most
// `max_chunk` bytes each (never more than PNG_MAX_CHUNK). Absent when the image is empty or
// shorter than its size says, or when memory cannot be had. The image is consumed: its
// pixels are filtered where they lie (make_pixel_image leaves room for the filter bytes),
// so a caller done with the image moves it in and no second image-sized buffer is made.
std::optional<PngFile> encode_png(PixelImage image, int level = PNG_DEFLATE_LEVEL,
                                  size_t max_chunk = PNG_MAX_CHUNK);
