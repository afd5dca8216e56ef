#pragma once
#include <windows.h>

#include <optional>

#include "capture/image/geometry.h"
#include "capture/image/pixel_image.h"

// Copies the primary display, or the clamped `region` of it, into a PixelImage; absent
// when the clamped rectangle is empty or GDI could not copy the screen (a locked
// workstation, the secure desktop). The mouse cursor is not included.
[[nodiscard]] std::optional<PixelImage> capture_screen(const std::optional<ScreenRect>& region);

// BitBlt of the w x h screen block at (x, y) to (0, 0) of `target`; false when GDI could not.
[[nodiscard]] bool copy_from_screen(HDC target, HDC screen, int x, int y, int w, int h);
