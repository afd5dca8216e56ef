#pragma once
// Pinned image windows ("VLS_Pin"): borderless, topmost, never activated copies of an
// image that the user can move, scale with a Ctrl-drag and close. Any number can be open.
#include <windows.h>

#include <cstdint>

#include "capture/image/pixel_image.h"

enum class PinDragMode { None = 0, Move = 1, Zoom = 2 };

// The state of one pinned window, owned by the window (its GWLP_USERDATA slot).
struct PinWindow {
    RECT drag_start_rect{};            // window rectangle when the drag began, screen
    HDC image_dc = nullptr;            // memory DC holding image_bitmap
    HBITMAP image_bitmap = nullptr;    // 32-bit top-down DIB section: the pinned copy
    HGDIOBJ replaced_bitmap = nullptr; // what image_bitmap displaced from image_dc
    POINT drag_start_cursor{};         // cursor when the drag began, screen
    int32_t image_width = 0;
    int32_t image_height = 0;
    float zoom = 1.0f; // window size / image size
    float drag_start_zoom = 1.0f;
    PinDragMode drag_mode = PinDragMode::None;
    bool hover = false;           // the mouse is inside: border and close square
    bool owned_by_window = false; // the window frees the state (set once created)
};

// Opens a pinned window showing a copy of `image`, centred on the primary screen at its
// natural size. False when the image is empty or its pixels do not match its size, or when
// its DIB section or its window could not be made: then nothing is shown and nothing is left
// allocated.
[[nodiscard]] bool open_pin_window(const PixelImage& image);
