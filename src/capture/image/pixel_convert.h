#pragma once
#include <cstddef>
#include <cstdint>

// Sets the fourth byte of `count` 32-bit pixels to 255 in place, leaving the colour bytes.
void set_opaque_alpha(uint32_t* pixels, size_t count);
