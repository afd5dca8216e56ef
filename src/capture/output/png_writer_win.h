#pragma once
#include <string_view>

#include "capture/image/pixel_image.h"

// Saves the image as an RGBA PNG (8 bits, opaque, Sub filter on every row, libdeflate's
// fast level, no ancillary chunks), replacing any file at the path. True when the whole
// file was written; a failed save leaves no partial file.
[[nodiscard]] bool write_png(std::string_view path, const PixelImage& image);
