// A pinned window's arithmetic at the extremes of its input types: opening place, zoom
// from any drag and start zoom (infinities and NaN included), scaled size, re-centring,
// moving, and the close square under any press (read first, so that short inputs reach it).
#include <cmath>

#include "capture/pin/pin_geometry.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    // A press built from the position it stands for: x a signed word, y an unsigned one,
    // whatever the lParam's upper half holds. The close square is the top-right 20 x 20
    // corner of the client area (x may lie right of it while the pin has the capture).
    const int32_t client_width = take<int32_t>(in);
    const int16_t x = take<int16_t>(in);
    const uint16_t y = take<uint16_t>(in);
    const uint64_t upper = take<uint32_t>(in);
    const auto lparam =
        static_cast<int64_t>((upper << 32) | (uint64_t{y} << 16) | static_cast<uint16_t>(x));
    const bool in_corner = int64_t{x} >= int64_t{client_width} - 20 && y < 20;
    FUZZ_CHECK(pin_press_closes(client_width, lparam) == in_corner);

    const int32_t screen_w = take<int32_t>(in), screen_h = take<int32_t>(in);
    const int32_t image_w = take<int32_t>(in), image_h = take<int32_t>(in);
    const PixelPoint initial = pin_initial_origin(screen_w, screen_h, image_w, image_h);
    FUZZ_CHECK(initial.x >= 0 && initial.y >= 0);

    const float zoom = pin_drag_zoom(take<int32_t>(in), take<int32_t>(in), take<float>(in));
    FUZZ_CHECK(zoom >= PIN_ZOOM_MIN && zoom <= PIN_ZOOM_MAX);
    const float previous = take<float>(in);
    (void)pin_zoom_changes(previous, zoom);

    const int32_t length = pin_scaled_length(image_w, zoom);
    FUZZ_CHECK(length >= 1);
    const int32_t any_length = pin_scaled_length(image_h, take<float>(in));
    FUZZ_CHECK(any_length >= 1);

    const PixelRect old{take<int32_t>(in), take<int32_t>(in), take<int32_t>(in), take<int32_t>(in)};
    (void)pin_centred_origin(old, length, any_length);

    const int32_t start_edge = take<int32_t>(in);
    const int32_t start_cursor = take<int32_t>(in);
    const int32_t moved = pin_moved_edge(start_edge, start_cursor, start_cursor);
    FUZZ_CHECK(moved == start_edge);
    (void)pin_moved_edge(start_edge, start_cursor, take<int32_t>(in));

    return 0;
}
