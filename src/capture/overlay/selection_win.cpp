#include "capture/overlay/overlay_internal_win.h"

#include "capture/image/bitmap_read_win.h"
#include "capture/overlay/overlay_testing_win.h"

void start_selection_drag(HWND window, OverlayState& state, PixelPoint point) {
    state.selecting = true;
    state.drag_anchor = point;
    state.selection = {point.x, point.y, point.x, point.y};
    // Pointer positions beyond the overlay keep arriving while the button is held.
    SetCapture(window);
}

void update_selection_drag(HWND window, OverlayState& state, PixelPoint point) {
    state.selection = normalised_rect(state.drag_anchor, point);
    request_repaint(window);
}

void end_selection_drag(HWND window, OverlayState& state, PixelPoint point) {
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
// A selection too large to hold, or any step GDI refuses, leaves no snapshot (mosaic cells
// fall back to grey) rather than black cells or the end of the process and every pin.
void snapshot_selection(OverlayState& state) {
    if (!state.has_selection) return;
    const PixelRect& sel = state.selection;
    if (take_overlay_fault(OverlayFault::Snapshot)) return; // as when GDI is out of room
    std::optional<PixelImage> snapshot = read_bitmap_block(
        state.screen_dc, int64_t{sel.right} - sel.left, int64_t{sel.bottom} - sel.top,
        [&](HDC memory) {
            return BitBlt(memory, 0, 0, sel.right - sel.left, sel.bottom - sel.top, state.screen_dc,
                          sel.left, sel.top, SRCCOPY) != FALSE;
        });
    if (!snapshot) return;
    state.selection_pixels = std::move(snapshot->pixels);
    state.selection_pixels_width = snapshot->width;
    state.selection_pixels_height = snapshot->height;
}
