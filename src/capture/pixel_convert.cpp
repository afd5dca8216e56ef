#include "capture/pixel_convert.h"

#include <cstring>

void bgrx_to_rgba(const uint8_t* in, uint8_t* out, size_t count) {
    // Whole 32-bit words with shifts: the compiler turns this into a vector shuffle,
    // which keeps the conversion a small share of the PNG encode.
    for (size_t i = 0; i < count; ++i) {
        uint32_t v;
        std::memcpy(&v, in + 4 * i, 4);
        const uint32_t b = v & 0xFFu, g = v & 0xFF00u, r = (v >> 16) & 0xFFu;
        const uint32_t w = 0xFF000000u | (b << 16) | g | r;
        std::memcpy(out + 4 * i, &w, 4);
    }
}
