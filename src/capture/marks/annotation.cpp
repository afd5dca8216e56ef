#include "capture/marks/annotation.h"

#include <utility>

unsigned next_width_index(unsigned width_index) { return (width_index + 1) % STROKE_WIDTHS.size(); }

int32_t stroke_width(unsigned width_index) {
    return STROKE_WIDTHS[width_index < STROKE_WIDTHS.size() ? width_index
                                                            : STROKE_WIDTHS.size() - 1];
}

int32_t text_font_height(unsigned width_index) { return 2 * stroke_width(width_index) + 20; }

std::optional<Annotation> finish_mark(AnnotationTool tool, PixelPoint press, PixelPoint release,
                                      const std::vector<PixelPoint>& stroke_points,
                                      const std::vector<PixelRect>& cells, uint32_t color,
                                      int32_t width) {
    Annotation mark;
    mark.kind = tool;
    mark.color = color;
    mark.width = width;
    switch (tool) {
    case AnnotationTool::Pen:
        // The release point itself is not added: the stroke is what the moves drew.
        if (stroke_points.size() < 2) return std::nullopt;
        mark.points = stroke_points;
        return mark;
    case AnnotationTool::Arrow:
        mark.tail = press;
        mark.head = release;
        return mark;
    case AnnotationTool::Rectangle:
    case AnnotationTool::Ellipse:
        mark.bounds = normalised_rect(press, release);
        return mark;
    case AnnotationTool::Mosaic:
        if (cells.empty()) return std::nullopt;
        mark.cells = cells;
        return mark;
    case AnnotationTool::Text:
        break;
    }
    return std::nullopt;
}

Annotation text_mark(std::string text, PixelPoint position, uint32_t color, int32_t font_height) {
    Annotation mark;
    mark.kind = AnnotationTool::Text;
    mark.text = std::move(text);
    mark.position = position;
    mark.color = color;
    mark.font_height = font_height;
    return mark;
}

bool undo_last(std::vector<Annotation>& annotations) {
    if (annotations.empty()) return false;
    annotations.pop_back();
    return true;
}
