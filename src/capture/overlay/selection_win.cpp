#include "capture/overlay/overlay_internal_win.h"

#include <new>

#include "capture/image/dib_header_win.h"

void start_selection_drag(HWND window, OverlayState& state, OverlayPoint point) {
    state.selecting = true;
    state.drag_anchor = point;
    state.selection = {point.x, point.y, point.x, point.y};
    // Pointer positions beyond the overlay keep arriving while the button is held.
    SetCapture(window);
}

void update_selection_drag(HWND window, OverlayState& state, OverlayPoint point) {
    state.selection = normalised_rect(state.drag_anchor, point);
    request_repaint(window);
}

void end_selection_drag(HWND window, OverlayState& state, OverlayPoint point) {
    state.selecting = false;
    ReleaseCapture(); // result ignored: nothing depends on it
    state.selection = normalised_rect(state.drag_anchor, point);
    if (confirms_selection(state.drag_anchor, point)) {
        state.has_selection = true;
        state.toolbar_active = true;
        snapshot_selection(state);
    }
    request_repaint(window);
}

// Mosaic marks sample this copy, so it is taken from the frozen screen, never the frame.
void snapshot_selection(OverlayState& state) {
    if (!state.has_selection) return;
    const int32_t w = state.selection.right - state.selection.left;
    const int32_t h = state.selection.bottom - state.selection.top;
    if (w < 1 || h < 1) return;

    // A selection dragged far beyond the screen can span up to 65535 x 65535 pixels.
    // GDI holds no bitmap of 2 GiB or more, and the memory may be missing for less: then
    // no snapshot is kept (mosaic cells fall back to grey) rather than ending the process
    // and every pinned image with it.
    const uint64_t bytes = static_cast<uint64_t>(w) * static_cast<uint64_t>(h) * 4;
    if (bytes > static_cast<uint64_t>(INT32_MAX)) return;
    std::vector<uint8_t> pixels;
    try {
        pixels.assign(static_cast<size_t>(bytes), 0);
    } catch (const std::bad_alloc&) {
        return;
    }
    // Any step GDI refuses leaves no snapshot: its zeros would give black mosaic cells.
    HDC memory = CreateCompatibleDC(state.screen_dc);
    HBITMAP bitmap = take_overlay_fault(OverlayFault::Snapshot)
                         ? nullptr
                         : CreateCompatibleBitmap(state.screen_dc, w, h);
    bool read = false;
    if (memory && bitmap) {
        HGDIOBJ displaced = SelectObject(memory, bitmap);
        read = displaced && BitBlt(memory, 0, 0, w, h, state.screen_dc, state.selection.left,
                                   state.selection.top, SRCCOPY);
        if (displaced) SelectObject(memory, displaced);
        BITMAPINFOHEADER header = top_down_dib_header(w, h);
        read = read && GetDIBits(memory, bitmap, 0, static_cast<UINT>(h), pixels.data(),
                                 reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == h;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (!read) return;

    state.selection_pixels = std::move(pixels);
    state.selection_pixels_width = w;
    state.selection_pixels_height = h;
}
