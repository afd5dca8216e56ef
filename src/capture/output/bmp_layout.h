#pragma once
// Byte layouts of the two bitmap forms the program produces: the 54-byte header of a
// .bmp file (bottom-up rows) and the 40-byte header that leads a clipboard CF_DIB block
// (top-down rows). All integers little-endian.
#include <array>
#include <cstdint>

// One header field of a .bmp file: its byte size (2 or 4) and value.
struct BmpField {
    uint32_t size;
    uint32_t value;
};

constexpr uint32_t BMP_HEADER_SIZE = 54;
constexpr uint32_t DIB_HEADER_SIZE = 40;
constexpr uint32_t BMP_PIXELS_PER_METRE = 2835; // 72 dpi

// The fifteen fields of a .bmp file header in file order; the two reserved words are
// one 4-byte field of zeros. Sizes are 32-bit, as the format stores them.
std::array<BmpField, 15> bmp_header_fields(int32_t width, int32_t height);

// The same header as 54 bytes.
std::array<uint8_t, BMP_HEADER_SIZE> bmp_header_bytes(int32_t width, int32_t height);

// BITMAPINFOHEADER for a clipboard CF_DIB: negative height (top-down), 32 bits, BI_RGB,
// image size width * height * 4, no resolution.
std::array<uint8_t, DIB_HEADER_SIZE> clipboard_dib_header(int32_t width, int32_t height);
