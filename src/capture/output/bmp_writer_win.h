#pragma once
#include <string_view>

#include "capture/image/pixel_image.h"

// Saves the image as an uncompressed 32-bit bottom-up .bmp file with every fourth byte
// 255, replacing any file at
// the path. True when the whole file was written; a failed save leaves no partial file.
[[nodiscard]] bool write_bmp(std::string_view path, const PixelImage& image);
