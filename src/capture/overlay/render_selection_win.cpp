#include "capture/overlay/overlay_internal_win.h"

#include <cstdint>

#include "capture/image/bitmap_read_win.h"
#include "capture/marks/annotation_draw_win.h"

std::optional<PixelImage> render_selection(const OverlayState& state) {
    if (!state.has_selection) return std::nullopt;
    const PixelRect& sel = state.selection;
    const int64_t w = int64_t{sel.right} - sel.left;
    const int64_t h = int64_t{sel.bottom} - sel.top;
    return read_bitmap_block(state.screen_dc, w, h, [&](HDC memory) {
        if (!BitBlt(memory, 0, 0, static_cast<int>(w), static_cast<int>(h), state.screen_dc,
                    sel.left, sel.top, SRCCOPY))
            return false;
        // Marks keep their overlay coordinates; the shifted origin lands them on the image,
        // and the bitmap's edge cuts what lies beyond the selection. A viewport origin
        // rather than a world transform keeps the graphics mode the overlay draws in, so
        // every mark comes out pixel for pixel as the overlay showed it.
        SetViewportOrgEx(memory, -sel.left, -sel.top, nullptr);
        const MosaicSource mosaic{state.selection_pixels, state.selection_pixels_width, sel.left,
                                  sel.top};
        for (const Annotation& mark : state.annotations) draw_annotation(memory, mark, mosaic);
        SetViewportOrgEx(memory, 0, 0, nullptr);
        return true;
    });
}
