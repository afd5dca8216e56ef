#pragma once
// The marks a user draws on a confirmed selection: the six tools, the stroke widths, the
// committed mark record and the rules that turn a press, drag and release into a mark.
// Coordinates are overlay client pixels. No Win32 here.
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "capture/image/geometry.h"

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

// One committed mark, a tagged record: `kind` says which fields carry it.
struct Annotation {
    AnnotationTool kind = AnnotationTool::Pen;
    std::vector<PixelPoint> points; // Pen: every pointer position, at least 2
    PixelPoint tail;                // Arrow: where the press was
    PixelPoint head;                // Arrow: where the release was
    PixelRect bounds;               // Rectangle, Ellipse: normalised
    std::string text;               // Text: one line, UTF-8
    PixelPoint position;            // Text: top-left
    std::vector<PixelRect> cells;   // Mosaic: MOSAIC_CELL squares
    uint32_t color = 0x000000FF;    // COLORREF 0x00BBGGRR
    int32_t width = 0;              // pen width (recorded for Mosaic too)
    int32_t font_height = 0;        // Text: cell height in pixels
};

// Thin -> Medium -> Thick -> Bold -> Thin.
unsigned next_width_index(unsigned width_index);

// The pen width of a width index; indices past the table take its last entry.
int32_t stroke_width(unsigned width_index);

// Font height of a text mark committed at this width: 2 x pen width + 20.
int32_t text_font_height(unsigned width_index);

// The mark a press at `press` and a release at `release` commit with `tool`, or nothing
// (a pen stroke of fewer than 2 points, a mosaic without cells, the Text tool, whose marks
// come from the text box). `stroke_points` and `cells` are the mark in progress.
[[nodiscard]] std::optional<Annotation> finish_mark(AnnotationTool tool, PixelPoint press,
                                                    PixelPoint release,
                                                    const std::vector<PixelPoint>& stroke_points,
                                                    const std::vector<PixelRect>& cells,
                                                    uint32_t color, int32_t width);

// A committed text mark.
Annotation text_mark(std::string text, PixelPoint position, uint32_t color, int32_t font_height);

// Removes the newest mark; false (and nothing changes) when there is none.
bool undo_last(std::vector<Annotation>& annotations);
