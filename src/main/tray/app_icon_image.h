#pragma once
// The application icon as one ICO file image (six PNG entries, 16 to 256 pixels), built
// from resources/vellumshot.ico into read-only data.
#include <cstddef>

extern const unsigned char app_icon_image[];
extern const std::size_t app_icon_image_size;
