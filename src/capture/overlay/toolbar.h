#pragma once
// The overlay toolbar: 13 square buttons on a panel beside the confirmed selection, where
// it stands, and which button a press hits. No Win32 here.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "capture/marks/annotation.h"
#include "capture/overlay/selection.h"

// Command codes of the toolbar buttons (not in position order: Pin sits before Copy).
enum class ToolbarCommand : int32_t {
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
using enum ToolbarCommand;

// One button: its rectangle (every edge inclusive for the hit test) and command.
struct ToolbarButton {
    int32_t left = 0;
    int32_t top = 0;
    int32_t right = 0;
    int32_t bottom = 0;
    ToolbarCommand command{};
    bool operator==(const ToolbarButton&) const = default;
};

constexpr int32_t TOOLBAR_PANEL_WIDTH = 450;
constexpr int32_t TOOLBAR_PANEL_HEIGHT = 42;
constexpr int32_t TOOLBAR_BUTTON_SIZE = 30;
constexpr int32_t TOOLBAR_BUTTON_PITCH = 34; // 4 pixels between neighbours
constexpr int32_t TOOLBAR_MARGIN = 6;

// The commands from left to right.
constexpr std::array<ToolbarCommand, 13> TOOLBAR_ORDER = {
    TOOLBAR_PEN,    TOOLBAR_ARROW, TOOLBAR_RECTANGLE, TOOLBAR_ELLIPSE, TOOLBAR_TEXT,
    TOOLBAR_MOSAIC, TOOLBAR_COLOR, TOOLBAR_WIDTH,     TOOLBAR_UNDO,    TOOLBAR_PIN,
    TOOLBAR_COPY,   TOOLBAR_SAVE,  TOOLBAR_CLOSE};

// Top-left of the panel: right-aligned with the selection (pushed right only at the
// screen's left edge); 8 pixels below it, else 8 above it, else 4 inside its top.
PixelPoint toolbar_origin(const PixelRect& selection, int32_t screen_height);

// The 13 buttons of a panel whose top-left is `origin`, in position order.
std::array<ToolbarButton, 13> toolbar_layout(PixelPoint origin);

// The command of the first button whose rectangle, edges included, holds (x, y).
std::optional<ToolbarCommand> toolbar_hit(const std::vector<ToolbarButton>& buttons, int32_t x,
                                          int32_t y);

// The tool a command picks (nothing for the seven that are not tools), and the command of
// the button that picks a tool: the one place where the two sets of codes meet.
std::optional<AnnotationTool> command_tool(ToolbarCommand command);
ToolbarCommand tool_command(AnnotationTool tool);
