#include "capture/overlay/overlay_internal_win.h"

#include <cstdint>
#include <new>

#include "capture/image/dib_header_win.h"
#include "capture/marks/annotation_draw_win.h"

std::optional<PixelImage> render_selection(const OverlayState& state) {
    const OverlayRect& sel = state.selection;
    const int64_t w = static_cast<int64_t>(sel.right) - sel.left;
    const int64_t h = static_cast<int64_t>(sel.bottom) - sel.top;
    if (!state.has_selection || w <= 0 || h <= 0) return std::nullopt;
    // GDI holds no bitmap of 2 GiB or more; below that the memory may still be missing.
    const uint64_t bytes = static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4;
    if (bytes > static_cast<uint64_t>(INT32_MAX)) return std::nullopt;
    PixelImage image;
    try {
        image.pixels.assign(static_cast<size_t>(bytes), 0);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    image.width = static_cast<int32_t>(w);
    image.height = static_cast<int32_t>(h);

    HDC memory = CreateCompatibleDC(state.screen_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(state.screen_dc, image.width, image.height);
    bool read = false;
    if (memory && bitmap) {
        HGDIOBJ displaced = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, image.width, image.height, state.screen_dc, sel.left, sel.top,
               SRCCOPY);
        // Marks keep their overlay coordinates; the shifted origin lands them on the image,
        // and the bitmap's edge cuts what lies beyond the selection. A viewport origin
        // rather than a world transform keeps the graphics mode the overlay draws in, so
        // every mark comes out pixel for pixel as the overlay showed it.
        SetViewportOrgEx(memory, -sel.left, -sel.top, nullptr);
        const MosaicSource mosaic{state.selection_pixels, state.selection_pixels_width, sel.left,
                                  sel.top};
        for (const Annotation& mark : state.annotations) draw_annotation(memory, mark, mosaic);
        SetViewportOrgEx(memory, 0, 0, nullptr);
        SelectObject(memory, displaced);
        BITMAPINFOHEADER header = top_down_dib_header(image.width, image.height);
        read = GetDIBits(memory, bitmap, 0, static_cast<UINT>(image.height), image.pixels.data(),
                         reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == image.height;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    // A picture GDI could not make is no picture: black pixels are never handed on as one.
    if (!read) return std::nullopt;
    return image;
}
