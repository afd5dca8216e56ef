#include "capture/image/capture_rect.h"

#include <algorithm>

std::optional<PixelRect> clamp_capture_rect(const std::optional<PixelRect>& region,
                                            int32_t screen_width, int32_t screen_height) {
    PixelRect r{0, 0, screen_width, screen_height};
    if (region) {
        const int32_t sw = std::max(screen_width, 0);
        const int32_t sh = std::max(screen_height, 0);
        r.left = std::clamp(region->left, 0, sw);
        r.top = std::clamp(region->top, 0, sh);
        // The size in 64 bits: a region's edges can lie 2^32 apart.
        const int64_t width = int64_t{region->right} - region->left;
        const int64_t height = int64_t{region->bottom} - region->top;
        r.right = r.left + static_cast<int32_t>(std::clamp<int64_t>(width, 0, sw - r.left));
        r.bottom = r.top + static_cast<int32_t>(std::clamp<int64_t>(height, 0, sh - r.top));
    }
    if (r.right <= r.left || r.bottom <= r.top) return std::nullopt;
    return r;
}
