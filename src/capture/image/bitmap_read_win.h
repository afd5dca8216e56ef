#pragma once
// The one way pixels come back out of GDI here: a block drawn into a bitmap of its own,
// then read as 32-bit top-down rows.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>

#include "capture/image/pixel_image.h"

// Makes a width x height bitmap compatible with `reference`, selects it into a memory DC,
// lets `fill` draw the block at the DC's origin, deselects it and reads it with GetDIBits.
// Nothing when the image cannot be held (make_pixel_image), a DC or bitmap cannot be made
// or selected, `fill` returns false, or GetDIBits reads fewer than every row: GDI's
// zeros are never handed on as a picture.
[[nodiscard]] std::optional<PixelImage> read_bitmap_block(HDC reference, int64_t width,
                                                          int64_t height,
                                                          const std::function<bool(HDC)>& fill);
