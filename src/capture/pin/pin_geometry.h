#pragma once
// Geometry of a pinned image window, free of Win32: where a new pin opens, how a vertical
// Ctrl-drag scales it, the size and place of the scaled window, and its close square.
#include <cstdint>

#include "capture/image/geometry.h"

// Zoom per pixel of vertical drag, its range, and the smallest change that resizes.
constexpr float PIN_ZOOM_PER_PIXEL = 0.005f;
constexpr float PIN_ZOOM_MIN = 0.1f;
constexpr float PIN_ZOOM_MAX = 8.0f;
constexpr float PIN_ZOOM_STEP = 0.0001f;

// Side of the close square in the client area's top-right corner.
constexpr int32_t PIN_CLOSE_SIZE = 20;

// Where a new pin's window opens, at the image's natural size: centred on a
// screen_width x screen_height screen, and at 0 on an axis on which the image does not fit.
PixelPoint pin_initial_origin(int32_t screen_width, int32_t screen_height, int32_t image_width,
                              int32_t image_height);

// The zoom a Ctrl-drag gives: up by d pixels multiplies start_zoom by 1 + 0.005 d, down
// divides it likewise; clamped to PIN_ZOOM_MIN..PIN_ZOOM_MAX.
float pin_drag_zoom(int32_t start_cursor_y, int32_t cursor_y, float start_zoom);

// True when going from `zoom` to `next` is a change big enough to resize the window.
bool pin_zoom_changes(float zoom, float next);

// image_length * zoom to the nearest integer (halves away from zero), at least 1, saturated.
int32_t pin_scaled_length(int32_t image_length, float zoom);

// Where a width x height window with the same centre as `old` begins, saturated to the
// 32-bit range.
PixelPoint pin_centred_origin(PixelRect old, int32_t width, int32_t height);

// One coordinate of a window being moved: where it began plus how far the cursor went.
int32_t pin_moved_edge(int32_t start_edge, int32_t start_cursor, int32_t cursor);

// True when client point (x, y) lies in the close square of a client_width wide window.
bool pin_in_close_button(int32_t client_width, int32_t x, int32_t y);

// True when a left press whose lParam is `lparam` hits the close square: x is the low word
// as a signed value, y the high word as an unsigned one.
bool pin_press_closes(int32_t client_width, int64_t lparam);
