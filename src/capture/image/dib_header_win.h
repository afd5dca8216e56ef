#pragma once
#include <windows.h>

#include <cstdint>

// The layout every pixel read-out and back buffer here uses: 32 bits, BI_RGB, top-down
// rows (negative height), every other field 0.
inline BITMAPINFOHEADER top_down_dib_header(int32_t width, int32_t height) {
    BITMAPINFOHEADER header{};
    header.biSize = sizeof header;
    header.biWidth = width;
    header.biHeight = -height;
    header.biPlanes = 1;
    header.biBitCount = 32;
    header.biCompression = BI_RGB;
    return header;
}
