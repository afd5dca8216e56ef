#include "capture/output/bmp_layout.h"

#include <cstddef>

#include "capture/output/little_endian.h"

std::array<BmpField, 15> bmp_header_fields(int32_t width, int32_t height) {
    const uint32_t image_size = static_cast<uint32_t>(width) * 4u * static_cast<uint32_t>(height);
    return {{
        {2, 0x4D42u}, // "BM"
        {4, image_size + BMP_HEADER_SIZE},
        {4, 0},               // reserved 1 and 2
        {4, BMP_HEADER_SIZE}, // offset of the pixel data
        {4, DIB_HEADER_SIZE}, // info header size
        {4, static_cast<uint32_t>(width)},
        {4, static_cast<uint32_t>(height)}, // positive: rows stored bottom-up
        {2, 1},                             // planes
        {2, 32},                            // bits per pixel
        {4, 0},                             // BI_RGB
        {4, image_size},
        {4, BMP_PIXELS_PER_METRE},
        {4, BMP_PIXELS_PER_METRE},
        {4, 0}, // colours used
        {4, 0}, // important colours
    }};
}

std::array<uint8_t, BMP_HEADER_SIZE> bmp_header_bytes(int32_t width, int32_t height) {
    std::array<uint8_t, BMP_HEADER_SIZE> out{};
    size_t at = 0;
    for (const BmpField& f : bmp_header_fields(width, height)) {
        put_le(out.data() + at, f.value, f.size);
        at += f.size;
    }
    return out;
}

std::array<uint8_t, DIB_HEADER_SIZE> clipboard_dib_header(int32_t width, int32_t height) {
    std::array<uint8_t, DIB_HEADER_SIZE> out{};
    put_le(out.data(), DIB_HEADER_SIZE, 4);
    put_le(out.data() + 4, static_cast<uint32_t>(width), 4);
    put_le(out.data() + 8, static_cast<uint32_t>(-height), 4); // top-down
    put_le(out.data() + 12, 1, 2);
    put_le(out.data() + 14, 32, 2);
    put_le(out.data() + 16, 0, 4); // BI_RGB
    put_le(out.data() + 20, static_cast<uint32_t>(width) * 4u * static_cast<uint32_t>(height), 4);
    return out; // resolution and colour counts stay 0
}
