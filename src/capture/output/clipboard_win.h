#pragma once
#include <windows.h>

#include "capture/image/pixel_image.h"

// Puts the image on the clipboard as one CF_DIB (32-bit, top-down, fourth byte 255),
// replacing what was there; a busy clipboard is retried for about 250 ms. True when the
// clipboard took it; nothing is left allocated otherwise.
[[nodiscard]] bool copy_image_to_clipboard(const PixelImage& image, HWND owner);
