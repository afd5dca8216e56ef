#pragma once
#include <cstddef>
#include <cstdint>

// Turns `count` pixels of blue, green, red, fourth byte into red, green, blue, 255 for the
// PNG encoder. The fourth input byte is dropped: every output pixel is opaque.
void bgrx_to_rgba(const uint8_t* in, uint8_t* out, size_t count);

// Sets the fourth byte of `count` 32-bit pixels to 255 in place, leaving the colour bytes.
void set_opaque_alpha(uint32_t* pixels, size_t count);
