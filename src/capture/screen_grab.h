#pragma once
#include <optional>

#include "capture/pixel_image.h"

// Copies the primary display, or the clamped `region` of it, into a PixelImage; absent
// when the clamped rectangle is empty. The mouse cursor is not included.
std::optional<PixelImage> capture_screen(const std::optional<ScreenRect>& region);
