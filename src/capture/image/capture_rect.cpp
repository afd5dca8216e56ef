#include "capture/image/capture_rect.h"

#include <algorithm>

std::optional<ScreenRect> clamp_capture_rect(const std::optional<ScreenRect>& region,
                                             int32_t screen_width, int32_t screen_height) {
    ScreenRect r{0, 0, screen_width, screen_height};
    if (region) {
        const int32_t sw = std::max(screen_width, 0);
        const int32_t sh = std::max(screen_height, 0);
        r.x = std::clamp(region->x, 0, sw);
        r.y = std::clamp(region->y, 0, sh);
        r.width = std::clamp(region->width, 0, sw - r.x);
        r.height = std::clamp(region->height, 0, sh - r.y);
    }
    if (r.width <= 0 || r.height <= 0) return std::nullopt;
    return r;
}
