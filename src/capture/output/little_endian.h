#pragma once
// Integers as the BMP, DIB, icon and registry formats store them: least significant byte
// first, whatever the machine's own order.
#include <cstddef>
#include <cstdint>

// Writes the low `size` bytes (1 to 4) of `value` at `out`.
constexpr void put_le(uint8_t* out, uint32_t value, size_t size) {
    for (size_t i = 0; i < size; ++i) out[i] = static_cast<uint8_t>(value >> (8 * i));
}

// The number the `size` bytes (0 to 4) at `in` hold.
constexpr uint32_t read_le(const uint8_t* in, size_t size) {
    uint32_t value = 0;
    for (size_t i = 0; i < size; ++i) value |= static_cast<uint32_t>(in[i]) << (8 * i);
    return value;
}
