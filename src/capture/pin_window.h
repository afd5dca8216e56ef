#pragma once
#include "capture/pixel_image.h"
// Opens a pinned window showing a copy of `image`, centred on the primary screen at its
// natural size. False when its DIB section or its window could not be made: then nothing
// is shown and nothing is left allocated.
bool open_pin_window(const PixelImage& image);
// For tests: makes the next open_pin_window fail at its DIB section or at its window.
enum class PinFault { None, Dib, Window };
void fail_next_pin(PinFault fault);
