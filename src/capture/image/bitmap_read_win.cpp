#include "capture/image/bitmap_read_win.h"

#include "capture/image/dib_header_win.h"

std::optional<PixelImage> read_bitmap_block(HDC reference, int64_t width, int64_t height,
                                            const std::function<bool(HDC)>& fill) {
    std::optional<PixelImage> image = make_pixel_image(width, height);
    if (!image || !reference) return std::nullopt;
    HDC memory = CreateCompatibleDC(reference);
    HBITMAP bitmap = CreateCompatibleBitmap(reference, image->width, image->height);
    bool read = false;
    if (memory && bitmap) {
        // A DC without its own bitmap keeps its 1 x 1 monochrome default, which every
        // drawing call accepts: a failed select must not go unnoticed.
        HGDIOBJ displaced = SelectObject(memory, bitmap);
        if (displaced) {
            read = fill(memory);
            // GetDIBits must not read a bitmap that is still selected into a DC.
            SelectObject(memory, displaced);
        }
        BITMAPINFOHEADER header = top_down_dib_header(image->width, image->height);
        read = read &&
               GetDIBits(memory, bitmap, 0, static_cast<UINT>(image->height), image->pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == image->height;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (!read) return std::nullopt;
    return image;
}
