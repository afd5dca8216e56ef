#include "capture/overlay/overlay_internal_win.h"

#include <string>

#include "capture/font_win.h"
#include "capture/image/pixel_convert.h"
#include "capture/marks/annotation_draw_win.h"
#include "capture/overlay/overlay_testing_win.h"

#ifdef VLS_PAINT_TIMINGS
PaintTimings* paint_timings = nullptr;
#endif

namespace {

constexpr COLORREF FRAME_COLOR = 0xF48542;
constexpr BYTE DIM_ALPHA = 100; // of 255 over black: the screen keeps 155/255

// Reads the clock only in the benchmark's build of this file; the program's is empty.
#ifdef VLS_PAINT_TIMINGS
void mark_time(int64_t PaintTimings::*step) {
    if (!paint_timings) return;
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    paint_timings->*step = now.QuadPart;
}
#else
void mark_time(int64_t PaintTimings::*) {}
#endif

bool has_area(const PixelRect& r) { return r.right - r.left >= 1 && r.bottom - r.top >= 1; }

void draw_selection_frame(HDC dc, const PixelRect& r) {
    HPEN pen = CreatePen(PS_SOLID, 2, FRAME_COLOR);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, r.left, r.top, r.right, r.bottom);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

// "W × H" in white on a black box, above the selection's top-left corner when it fits
// there, else just inside it.
void draw_size_label(HDC dc, const PixelRect& r) {
    const std::u16string label = size_label_text(r.right - r.left, r.bottom - r.top);
    const auto* text = reinterpret_cast<const wchar_t*>(label.data());
    const int length = static_cast<int>(label.size());
    HFONT font = create_font({.height = 16, .face = L"Segoe UI", .quality = CLEARTYPE_QUALITY});
    HGDIOBJ old_font = SelectObject(dc, font);
    SIZE extent{};
    GetTextExtentPoint32W(dc, text, length, &extent);
    const int y = size_label_top(r.top, extent.cy);
    RECT box{r.left - 4, y - 2, r.left + extent.cx + 4, y + extent.cy + 2};
    FillRect(dc, &box, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(dc, 0xFFFFFF);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, r.left, y, text, length);
    SelectObject(dc, old_font);
    DeleteObject(font);
}

// The mark the held button is drawing, in the current colour and width.
void draw_mark_in_progress(HDC dc, const OverlayState& state, const MosaicSource& mosaic) {
    const int32_t width = stroke_width(state.width_index);
    const std::vector<PixelPoint>& points = state.stroke_points;
    switch (state.tool) {
    case AnnotationTool::Pen:
        draw_pen_stroke(dc, points, state.color, width);
        break;
    case AnnotationTool::Arrow:
        if (points.size() >= 2) draw_arrow(dc, points[0], points[1], state.color, width);
        break;
    case AnnotationTool::Rectangle:
    case AnnotationTool::Ellipse:
        if (points.size() >= 2)
            draw_outline(dc, state.tool, normalised_rect(points[0], points[1]), state.color, width);
        break;
    case AnnotationTool::Mosaic:
        draw_mosaic_cells(dc, state.mosaic_cells, mosaic);
        break;
    case AnnotationTool::Text:
        break; // the text being typed is the text box's
    }
}

} // namespace

void paint_overlay(HWND window, OverlayState& state) {
    mark_time(&PaintTimings::start);
    HDC dc = state.back_dc;
    const int w = state.screen_width;
    const int h = state.screen_height;
    const PixelRect& sel = state.selection;

    BitBlt(dc, 0, 0, w, h, state.screen_dc, 0, 0, SRCCOPY);
    mark_time(&PaintTimings::background);

    // One stretched 1 x 1 black source at constant alpha: no per-pixel loop of ours.
    // GdiAlphaBlend is AlphaBlend itself, exported by gdi32: msimg32, which is no KnownDLL
    // and so could be planted beside the executable, stays out of the imports.
    const BLENDFUNCTION dim{AC_SRC_OVER, 0, DIM_ALPHA, 0};
    GdiAlphaBlend(dc, 0, 0, w, h, state.dim_dc, 0, 0, 1, 1, dim);
    mark_time(&PaintTimings::dimming);

    if (state.has_selection && has_area(sel)) {
        BitBlt(dc, sel.left, sel.top, sel.right - sel.left, sel.bottom - sel.top, state.screen_dc,
               sel.left, sel.top, SRCCOPY);
    }
    mark_time(&PaintTimings::selection);

    // Drawn while dragging too, even when the rectangle is still empty.
    const bool show_selection = state.has_selection || state.selecting;
    if (show_selection) draw_selection_frame(dc, sel);
    mark_time(&PaintTimings::frame);

    const MosaicSource mosaic{state.selection_pixels, state.selection_pixels_width, sel.left,
                              sel.top};
    for (const Annotation& mark : state.annotations) draw_annotation(dc, mark, mosaic);
    if (state.drawing) draw_mark_in_progress(dc, state, mosaic);
    mark_time(&PaintTimings::marks);

    if (state.has_selection && state.toolbar_active) draw_toolbar(dc, state);
    mark_time(&PaintTimings::toolbar);

    if (show_selection && has_area(sel)) draw_size_label(dc, sel);
    // The text box is a child window, which a layered window does not show: its content
    // is drawn into the frame, above everything else as a child would be.
    draw_text_entry(dc, state);
    mark_time(&PaintTimings::label);

    // GDI leaves the fourth byte undefined; the layered window needs it opaque everywhere.
    set_opaque_alpha(reinterpret_cast<uint32_t*>(state.back_bits),
                     static_cast<size_t>(w) * static_cast<size_t>(h));
    mark_time(&PaintTimings::alpha);

    SIZE size{w, h};
    POINT source{0, 0};
    BLENDFUNCTION opaque{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(window, nullptr, nullptr, &size, dc, &source, 0, &opaque, ULW_ALPHA);
    mark_time(&PaintTimings::present);
}
