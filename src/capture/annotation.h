#pragma once
// The marks a user draws on a confirmed selection: the six tools, the stroke widths and
// the committed mark record. Coordinates are overlay client pixels.
#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "capture/selection.h"

// The current tool, in toolbar order.
enum class AnnotationTool : uint8_t {
    Pen = 0,
    Arrow = 1,
    Rectangle = 2,
    Ellipse = 3,
    Text = 4,
    Mosaic = 5
};

// Pen widths in pixels for Thin, Medium, Thick and Bold.
constexpr std::array<int32_t, 4> STROKE_WIDTHS = {2, 4, 6, 10};

// Pitch and size of the mosaic grid, anchored at overlay (0, 0).
constexpr int32_t MOSAIC_CELL = 12;

// One committed mark; `kind` says which fields carry it.
struct Annotation {
    AnnotationTool kind = AnnotationTool::Pen;
    std::vector<OverlayPoint> points; // Pen: every pointer position, at least 2
    OverlayPoint tail;                // Arrow: press point
    OverlayPoint head;                // Arrow: release point
    OverlayRect bounds;               // Rectangle, Ellipse: normalised
    std::string text;                 // Text: UTF-8
    OverlayPoint position;            // Text: top-left
    std::vector<OverlayRect> cells;   // Mosaic: MOSAIC_CELL squares
    uint32_t color = 0x000000FF;      // COLORREF 0x00BBGGRR
    int32_t width = 0;                // pen width; for Text the font height
};
