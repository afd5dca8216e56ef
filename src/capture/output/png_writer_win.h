#pragma once
#include <string_view>

#include "capture/image/pixel_image.h"

// Saves the image as an RGBA PNG (8 bits, opaque, Sub filter on every row, libdeflate's
// fast level, no ancillary chunks), replacing any file at the path. True when the whole
// file was written; a failed save leaves no partial file. The image is consumed (filtered
// where it lies): a caller done with it moves it in.
[[nodiscard]] bool write_png(std::string_view path, PixelImage image);
