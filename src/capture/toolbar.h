#pragma once
// The overlay toolbar's buttons as last drawn, and their command codes.
#include <cstdint>

// Command codes of the toolbar buttons (not in position order: Pin sits before Copy).
enum ToolbarCommand : int32_t {
    TOOLBAR_PEN = 1,
    TOOLBAR_ARROW = 2,
    TOOLBAR_RECTANGLE = 3,
    TOOLBAR_ELLIPSE = 4,
    TOOLBAR_TEXT = 5,
    TOOLBAR_MOSAIC = 6,
    TOOLBAR_COLOR = 7,
    TOOLBAR_WIDTH = 8,
    TOOLBAR_UNDO = 9,
    TOOLBAR_COPY = 10,
    TOOLBAR_SAVE = 11,
    TOOLBAR_CLOSE = 12,
    TOOLBAR_PIN = 13,
};

// One button: its rectangle (every edge inclusive for the hit test) and command.
struct ToolbarButton {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    int32_t command = 0;
};
