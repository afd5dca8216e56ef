#include "capture/overlay/overlay_internal_win.h"

#include <string>

#include "capture/font_win.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"

namespace {

constexpr COLORREF PANEL_FILL = 0x333333;
constexpr COLORREF PANEL_EDGE = 0x555555;
constexpr COLORREF ACTIVE_FILL = 0x666666;
constexpr COLORREF ICON_COLOR = 0xDDDDDD;

void line(HDC dc, int x1, int y1, int x2, int y2) {
    MoveToEx(dc, x1, y1, nullptr);
    LineTo(dc, x2, y2);
}

// Fills and filled shapes take the DC's own brush in their colour: no brush is made.
void fill(HDC dc, int l, int t, int r, int b, COLORREF color) {
    SetDCBrushColor(dc, color);
    const RECT rect{l, t, r, b};
    FillRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));
}

// `draw` runs with a solid brush of `color` selected and the icon pen still in place.
template <typename Draw>
void with_brush(HDC dc, COLORREF color, Draw draw) {
    SetDCBrushColor(dc, color);
    HGDIOBJ old = SelectObject(dc, GetStockObject(DC_BRUSH));
    draw();
    SelectObject(dc, old);
}

void icon_text(HDC dc, int x, int y, const std::wstring& text, int height, int weight,
               const wchar_t* face) {
    HFONT font = create_font({.height = height, .face = face, .weight = weight});
    HGDIOBJ old = SelectObject(dc, font);
    SetTextColor(dc, ICON_COLOR);
    TextOutW(dc, x, y, text.c_str(), static_cast<int>(text.size()));
    SelectObject(dc, old);
    DeleteObject(font);
}

// A word centred on its button, in the largest height up to `height` at which it fits
// inside the button with a pixel to spare on each side ("Medium" does not at 12 pixels).
void button_label(HDC dc, const ToolbarButton& b, const std::wstring& text, int height,
                  const wchar_t* face) {
    const int room = b.right - b.left - 2;
    for (int h = height;; --h) {
        HFONT font = create_font({.height = h, .face = face});
        if (!font) return;
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        const bool measured =
            GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        const bool fits = measured && size.cx <= room;
        if (fits || h <= 8) {
            SetTextColor(dc, ICON_COLOR);
            TextOutW(dc, (b.left + b.right - size.cx) / 2, (b.top + b.bottom - size.cy) / 2,
                     text.c_str(), static_cast<int>(text.size()));
        }
        SelectObject(dc, old);
        DeleteObject(font);
        if (fits || h <= 8) return;
    }
}

// One button's icon, drawn with the icon pen and NULL_BRUSH selected.
void draw_icon(HDC dc, const ToolbarButton& b, const OverlayState& state) {
    const int l = b.left, t = b.top, r = b.right, bo = b.bottom;
    const int cx = (l + r) / 2, cy = (t + bo) / 2;
    switch (b.command) {
    case TOOLBAR_PEN: {
        const POINT stroke[4] = {{l + 7, bo - 8}, {cx - 2, t + 8}, {cx + 3, cy}, {r - 7, t + 9}};
        Polyline(dc, stroke, 4);
        break;
    }
    case TOOLBAR_ARROW: {
        line(dc, l + 7, bo - 8, r - 8, t + 9);
        const POINT head[3] = {{r - 8, t + 9}, {r - 14, t + 11}, {r - 10, t + 16}};
        with_brush(dc, ICON_COLOR, [&] { Polygon(dc, head, 3); });
        break;
    }
    case TOOLBAR_RECTANGLE:
        Rectangle(dc, l + 7, t + 8, r - 7, bo - 8);
        break;
    case TOOLBAR_ELLIPSE:
        Ellipse(dc, l + 6, t + 8, r - 6, bo - 8);
        break;
    case TOOLBAR_TEXT:
        icon_text(dc, cx - 5, cy - 10, L"A", 18, FW_BOLD, L"Arial");
        break;
    case TOOLBAR_MOSAIC:
        for (int i = 0; i < 2; ++i)
            for (int j = 0; j < 2; ++j)
                fill(dc, cx - 5 + 6 * i, cy - 5 + 6 * j, cx + 6 * i, cy + 6 * j, ICON_COLOR);
        break;
    case TOOLBAR_COLOR:
        with_brush(dc, state.color, [&] { Ellipse(dc, cx - 7, cy - 7, cx + 7, cy + 7); });
        break;
    case TOOLBAR_WIDTH:
        button_label(dc, b, to_wide(width_name(interface_language(), state.width_index)), 12,
                     L"Microsoft YaHei");
        break;
    case TOOLBAR_UNDO:
        MoveToEx(dc, r - 9, cy - 4, nullptr);
        LineTo(dc, l + 9, cy - 4);
        LineTo(dc, l + 13, cy - 9);
        line(dc, l + 9, cy - 4, l + 13, cy + 1);
        break;
    case TOOLBAR_PIN:
        with_brush(dc, ICON_COLOR, [&] { Ellipse(dc, cx - 4, t + 6, cx + 4, t + 14); });
        line(dc, cx, t + 13, cx, bo - 7);
        break;
    case TOOLBAR_COPY:
        Rectangle(dc, l + 9, t + 7, r - 10, bo - 10);
        MoveToEx(dc, l + 12, bo - 8, nullptr);
        LineTo(dc, r - 7, bo - 8);
        LineTo(dc, r - 7, t + 10);
        break;
    case TOOLBAR_SAVE:
        Rectangle(dc, l + 7, t + 7, r - 7, bo - 7);
        Rectangle(dc, cx - 5, t + 7, cx + 5, cy - 1);
        fill(dc, cx - 4, cy + 2, cx + 4, bo - 9, ICON_COLOR);
        break;
    case TOOLBAR_CLOSE:
        line(dc, l + 9, t + 9, r - 9, bo - 9);
        line(dc, r - 9, t + 9, l + 9, bo - 9);
        break;
    default:
        break;
    }
}

} // namespace

void draw_toolbar(HDC dc, OverlayState& state) {
    const PixelPoint origin = toolbar_origin(state.selection, state.screen_height);
    // The panel's one-pixel edge and fill are the DC's own pen and brush.
    SetDCPenColor(dc, PANEL_EDGE);
    SetDCBrushColor(dc, PANEL_FILL);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(DC_BRUSH));
    RoundRect(dc, origin.x, origin.y, origin.x + TOOLBAR_PANEL_WIDTH,
              origin.y + TOOLBAR_PANEL_HEIGHT, 8, 8);

    // The icons' two-pixel pen, which the DC's own pen (one pixel wide) cannot be: one for
    // the frame, not one a button.
    HPEN icon_pen = CreatePen(PS_SOLID, 2, ICON_COLOR);
    SelectObject(dc, icon_pen);
    SelectObject(dc, GetStockObject(NULL_BRUSH));
    SetBkMode(dc, TRANSPARENT);
    state.toolbar_buttons.clear();
    for (const ToolbarButton& b : toolbar_layout(origin)) {
        state.toolbar_buttons.push_back(b);
        if (b.command == tool_command(state.tool))
            fill(dc, b.left, b.top, b.right, b.bottom, ACTIVE_FILL);
        draw_icon(dc, b, state);
    }
    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(icon_pen);
}
