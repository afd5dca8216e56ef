#include "capture/pin/pin_geometry.h"

#include <cmath>
#include <limits>

namespace {

// (screen - image) / 2, truncated, and 0 unless positive.
int32_t centred_origin(int32_t screen, int32_t image) {
    const int64_t origin = (static_cast<int64_t>(screen) - image) / 2;
    return origin > 0 ? static_cast<int32_t>(origin) : 0;
}

} // namespace

PixelPoint pin_initial_origin(int32_t screen_width, int32_t screen_height, int32_t image_width,
                              int32_t image_height) {
    return {centred_origin(screen_width, image_width), centred_origin(screen_height, image_height)};
}

float pin_drag_zoom(int32_t start_cursor_y, int32_t cursor_y, float start_zoom) {
    // The difference in 64 bits: two 32-bit cursor positions can be 2^32 apart.
    const float drag = static_cast<float>(static_cast<int64_t>(start_cursor_y) - cursor_y);
    const float zoom = (drag * PIN_ZOOM_PER_PIXEL + 1.0f) * start_zoom;
    // Written so that a NaN (0 times an infinite start) lands on the floor.
    if (!(zoom >= PIN_ZOOM_MIN)) return PIN_ZOOM_MIN;
    return zoom > PIN_ZOOM_MAX ? PIN_ZOOM_MAX : zoom;
}

bool pin_zoom_changes(float zoom, float next) { return std::fabs(next - zoom) > PIN_ZOOM_STEP; }

int32_t pin_scaled_length(int32_t image_length, float zoom) {
    // In double every 32-bit length is exact; in float lengths past 2^24 would lose pixels.
    const double length = std::round(static_cast<double>(image_length) * zoom);
    if (!(length >= 1.0)) return 1;
    if (length >= static_cast<double>(std::numeric_limits<int32_t>::max()))
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(length);
}

PixelPoint pin_centred_origin(PixelRect old, int32_t width, int32_t height) {
    const int64_t centre_x = (static_cast<int64_t>(old.left) + old.right) / 2;
    const int64_t centre_y = (static_cast<int64_t>(old.top) + old.bottom) / 2;
    return {saturate_i32(centre_x - width / 2), saturate_i32(centre_y - height / 2)};
}

int32_t pin_moved_edge(int32_t start_edge, int32_t start_cursor, int32_t cursor) {
    return saturate_i32(static_cast<int64_t>(cursor) + start_edge - start_cursor);
}

bool pin_in_close_button(int32_t client_width, int32_t x, int32_t y) {
    return x >= static_cast<int64_t>(client_width) - PIN_CLOSE_SIZE && y >= 0 && y < PIN_CLOSE_SIZE;
}

bool pin_press_closes(int32_t client_width, int64_t lparam) {
    const auto x = static_cast<int16_t>(static_cast<uint16_t>(lparam & 0xFFFF));
    const auto y = static_cast<uint16_t>((lparam >> 16) & 0xFFFF);
    return pin_in_close_button(client_width, x, y);
}
