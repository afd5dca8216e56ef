#include "capture/overlay/selection.h"

#include <cstdint>
#include <cstdlib>

PixelPoint pointer_from_lparam(int64_t lparam) {
    const auto bits = static_cast<uint64_t>(lparam);
    // The words are two's complement 16-bit values; the casts sign-extend them.
    return {static_cast<int16_t>(static_cast<uint16_t>(bits & 0xFFFFu)),
            static_cast<int16_t>(static_cast<uint16_t>((bits >> 16) & 0xFFFFu))};
}

bool confirms_selection(PixelPoint anchor, PixelPoint end) {
    // 64-bit differences: no overflow whatever the corners are.
    const int64_t dx = static_cast<int64_t>(end.x) - anchor.x;
    const int64_t dy = static_cast<int64_t>(end.y) - anchor.y;
    return std::llabs(dx) >= MIN_SELECTION && std::llabs(dy) >= MIN_SELECTION;
}

std::u16string size_label_text(int32_t width, int32_t height) {
    std::u16string text;
    for (char c : std::to_string(width)) text.push_back(static_cast<char16_t>(c));
    text += u" \u00D7 ";
    for (char c : std::to_string(height)) text.push_back(static_cast<char16_t>(c));
    return text;
}

int32_t size_label_top(int32_t selection_top, int32_t text_height) {
    const int64_t above = static_cast<int64_t>(selection_top) - text_height - 6;
    if (above > 0) return static_cast<int32_t>(above);
    // Saturated: a tall enough text pushes even a top at the i32 limit inside.
    return saturate_i32(static_cast<int64_t>(selection_top) + 4);
}
