#include "capture/image/pixel_convert.h"

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

void set_opaque_alpha(uint32_t* pixels, size_t count) {
    // Blocks of a fixed size let the compiler use whole vector ORs without a cost model
    // deciding against it; this runs over every pixel of every overlay frame.
    constexpr size_t BLOCK = 16;
    size_t i = 0;
    for (; i + BLOCK <= count; i += BLOCK) {
        for (size_t k = 0; k < BLOCK; ++k) pixels[i + k] |= 0xFF000000u;
    }
    for (; i < count; ++i) pixels[i] |= 0xFF000000u;
}
