#include "capture/marks/annotation_draw_win.h"

#include <string>
#include <vector>

#include "capture/font_win.h"
#include "capture/marks/arrow_head.h"
#include "capture/marks/mosaic.h"
#include "strings/wide_win.h"

namespace {

// Strokes a polyline one segment at a time with the selected pen. With a wide round pen
// the union of the round-capped segments is exactly the round-joined polyline, and GDI
// fills each small segment at once, where a whole polyline of thousands of points makes
// some GDI implementations (Wine's) merge one ever-growing region, 35 times slower.
void stroke_segments(HDC dc, const POINT* points, size_t count) {
    for (size_t i = 1; i < count; ++i) {
        MoveToEx(dc, points[i - 1].x, points[i - 1].y, nullptr);
        LineTo(dc, points[i].x, points[i].y);
    }
}

// The outline of the ellipse inside the rectangle, stroked with the selected pen: GDI's
// own ellipse path, flattened to the points it would stroke, then stroked by segment.
void stroke_ellipse(HDC dc, const PixelRect& r) {
    BeginPath(dc);
    Ellipse(dc, r.left, r.top, r.right, r.bottom);
    EndPath(dc);
    FlattenPath(dc);
    const int count = GetPath(dc, nullptr, nullptr, 0);
    if (count > 0) {
        std::vector<POINT> points(static_cast<size_t>(count) + 1);
        std::vector<BYTE> kinds(static_cast<size_t>(count));
        GetPath(dc, points.data(), kinds.data(), count);
        points[static_cast<size_t>(count)] = points[0]; // close the outline
        stroke_segments(dc, points.data(), points.size());
    }
    AbortPath(dc);
}

void draw_text_mark(HDC dc, const Annotation& mark) {
    const std::wstring text = to_wide(mark.text);
    HFONT font = create_font({.height = mark.font_height,
                              .face = L"Microsoft YaHei",
                              .quality = CLEARTYPE_QUALITY,
                              .pitch = VARIABLE_PITCH});
    HGDIOBJ old_font = SelectObject(dc, font);
    // Text colour and background mode stay as set here; callers set their own.
    SetTextColor(dc, mark.color);
    SetBkMode(dc, TRANSPARENT);
    TextOutW(dc, mark.position.x, mark.position.y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old_font);
    DeleteObject(font);
}

} // namespace

void draw_pen_stroke(HDC dc, const std::vector<PixelPoint>& points, COLORREF color, int32_t width) {
    if (points.size() < 2) return;
    // A geometric pen is the only kind whose ends and joins can be round.
    LOGBRUSH brush{BS_SOLID, color, 0};
    HPEN pen = ExtCreatePen(PS_GEOMETRIC | PS_SOLID | PS_ENDCAP_ROUND | PS_JOIN_ROUND,
                            static_cast<DWORD>(width), &brush, 0, nullptr);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    // PixelPoint is two i32s, laid out exactly as POINT.
    static_assert(sizeof(PixelPoint) == sizeof(POINT));
    stroke_segments(dc, reinterpret_cast<const POINT*>(points.data()), points.size());
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

void draw_outline(HDC dc, AnnotationTool kind, const PixelRect& bounds, COLORREF color,
                  int32_t width) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    if (kind == AnnotationTool::Ellipse)
        stroke_ellipse(dc, bounds);
    else
        Rectangle(dc, bounds.left, bounds.top, bounds.right, bounds.bottom);
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(pen);
}

void draw_arrow(HDC dc, PixelPoint tail, PixelPoint head, COLORREF color, int32_t width) {
    HPEN pen = CreatePen(PS_SOLID, width, color);
    HGDIOBJ old_pen = SelectObject(dc, pen);
    MoveToEx(dc, tail.x, tail.y, nullptr);
    LineTo(dc, head.x, head.y);
    SelectObject(dc, old_pen);
    DeleteObject(pen);

    const std::optional<ArrowHead> shape = arrow_head(tail.x, tail.y, head.x, head.y, width);
    if (!shape) return;
    const POINT corners[3] = {{shape->apex.x, shape->apex.y},
                              {shape->wings[0].x, shape->wings[0].y},
                              {shape->wings[1].x, shape->wings[1].y}};
    SetDCBrushColor(dc, color);
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(DC_BRUSH));
    old_pen = SelectObject(dc, GetStockObject(NULL_PEN));
    Polygon(dc, corners, 3);
    SelectObject(dc, old_pen);
    SelectObject(dc, old_brush);
}

void draw_mosaic_cells(HDC dc, const std::vector<PixelRect>& cells, const MosaicSource& mosaic) {
    // The DC's own brush in each cell's colour: a stroke of thousands of cells makes no
    // brush at all.
    HBRUSH brush = static_cast<HBRUSH>(GetStockObject(DC_BRUSH));
    for (const PixelRect& cell : cells) {
        SetDCBrushColor(dc, mosaic_cell_color(mosaic.pixels, mosaic.width, mosaic.selection_left,
                                              mosaic.selection_top, cell));
        const RECT r{cell.left, cell.top, cell.right, cell.bottom};
        FillRect(dc, &r, brush);
    }
}

void draw_annotation(HDC dc, const Annotation& mark, const MosaicSource& mosaic) {
    switch (mark.kind) {
    case AnnotationTool::Pen:
        draw_pen_stroke(dc, mark.points, mark.color, mark.width);
        break;
    case AnnotationTool::Arrow:
        draw_arrow(dc, mark.tail, mark.head, mark.color, mark.width);
        break;
    case AnnotationTool::Rectangle:
    case AnnotationTool::Ellipse:
        draw_outline(dc, mark.kind, mark.bounds, mark.color, mark.width);
        break;
    case AnnotationTool::Text:
        draw_text_mark(dc, mark);
        break;
    case AnnotationTool::Mosaic:
        draw_mosaic_cells(dc, mark.cells, mosaic);
        break;
    }
}
