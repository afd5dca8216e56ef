#pragma once
// Choosing one image of an ICO file for a requested size.
#include <cstdint>
#include <optional>
#include <span>

struct IconImageSpan {
    uint32_t offset; // from the start of the ICO image
    uint32_t size;   // in bytes
};

// The entry nearest to cx x cy (sum of the width and height differences; the earlier entry
// wins a tie, a stored 0 means 256). None when the image has no complete entry or the
// chosen entry's bytes do not lie inside the image.
[[nodiscard]] std::optional<IconImageSpan> choose_icon_image(std::span<const uint8_t> ico,
                                                             int32_t cx, int32_t cy);
