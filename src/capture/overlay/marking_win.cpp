#include "capture/overlay/overlay_internal_win.h"

#include <commdlg.h>

#include <array>
#include <optional>

#include "capture/marks/mosaic.h"

void start_mark(HWND window, OverlayState& state, PixelPoint point) {
    state.drawing = true;
    state.press_point = point;
    state.stroke_points.clear();
    state.stroke_points.push_back(point);
    state.mosaic_cells.clear();
    if (state.tool == AnnotationTool::Mosaic)
        add_mosaic_cell(state.mosaic_cells, state.selection, point.x, point.y);
    // Positions beyond the overlay keep arriving while the button is held.
    SetCapture(window);
}

void update_mark(HWND window, OverlayState& state, PixelPoint point) {
    switch (state.tool) {
    case AnnotationTool::Pen:
        // Every position, repeats included: the stroke is exactly what the pointer did.
        state.stroke_points.push_back(point);
        break;
    case AnnotationTool::Mosaic:
        add_mosaic_cell(state.mosaic_cells, state.selection, point.x, point.y);
        break;
    case AnnotationTool::Arrow:
    case AnnotationTool::Rectangle:
    case AnnotationTool::Ellipse:
        state.stroke_points.assign({state.press_point, point});
        break;
    case AnnotationTool::Text:
        break;
    }
    request_repaint(window);
}

void end_mark(HWND window, OverlayState& state, PixelPoint point) {
    state.drawing = false;
    ReleaseCapture(); // result ignored: nothing depends on it
    // Colour and width as they are now, at the release.
    std::optional<Annotation> mark =
        finish_mark(state.tool, state.press_point, point, state.stroke_points, state.mosaic_cells,
                    state.color, stroke_width(state.width_index));
    if (mark) state.annotations.push_back(std::move(*mark));
    request_repaint(window);
}

// Custom colours start all black every time: nothing is kept between dialogs.
void choose_color(HWND window, OverlayState& state) {
    std::array<COLORREF, 16> custom{};
    CHOOSECOLORW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.rgbResult = state.color;
    dialog.lpCustColors = custom.data();
    dialog.Flags = CC_RGBINIT | CC_FULLOPEN;
    // Modal: the thread's other windows and the hotkey stay live while it is open.
    const bool chosen = ChooseColorW(&dialog) != 0;
    // The dialog ran a message loop of its own; the overlay must still be there.
    if (overlay_state(window) != &state) return;
    if (chosen) state.color = dialog.rgbResult;
    request_repaint(window);
}
