#pragma once
// Draws marks into a device context: the overlay's back buffer, in overlay coordinates,
// and the flattened selection, whose DC shifts overlay coordinates onto the image. Every
// pen, brush and font made here is deleted before the routine that made it returns.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "capture/marks/annotation.h"

// The selection snapshot that mosaic cells take their colours from.
struct MosaicSource {
    const std::vector<uint8_t>& pixels; // B, G, R, X rows, top-down
    int32_t width;                      // pixels per row
    int32_t selection_left;             // overlay position of the snapshot's top-left
    int32_t selection_top;
};

// One committed mark of any kind.
void draw_annotation(HDC dc, const Annotation& mark, const MosaicSource& mosaic);

// A round-capped, round-joined freehand stroke; fewer than 2 points draw nothing.
void draw_pen_stroke(HDC dc, const std::vector<PixelPoint>& points, COLORREF color, int32_t width);

// The outline of a rectangle or of the ellipse inside it (kind Rectangle or Ellipse).
void draw_outline(HDC dc, AnnotationTool kind, const PixelRect& bounds, COLORREF color,
                  int32_t width);

// A shaft from `tail` to `head` and a filled head there.
void draw_arrow(HDC dc, PixelPoint tail, PixelPoint head, COLORREF color, int32_t width);

// Each cell filled flat with the snapshot's colour at its centre.
void draw_mosaic_cells(HDC dc, const std::vector<PixelRect>& cells, const MosaicSource& mosaic);
