#pragma once
#include <cstdint>
#include <optional>

#include "capture/image/geometry.h"

// The block of a screen_width x screen_height display that a capture of `region` reads
// (the whole display when absent): the origin is clamped onto the display and the size
// clamped to what remains, so a rectangle hanging off the left or top slides to the edge
// keeping its size. Absent when nothing is left.
[[nodiscard]] std::optional<PixelRect> clamp_capture_rect(const std::optional<PixelRect>& region,
                                                          int32_t screen_width,
                                                          int32_t screen_height);
