#include "capture/overlay/toolbar.h"

#include <utility>

namespace {

constexpr std::pair<ToolbarCommand, AnnotationTool> TOOL_BUTTONS[] = {
    {TOOLBAR_PEN, AnnotationTool::Pen},
    {TOOLBAR_ARROW, AnnotationTool::Arrow},
    {TOOLBAR_RECTANGLE, AnnotationTool::Rectangle},
    {TOOLBAR_ELLIPSE, AnnotationTool::Ellipse},
    {TOOLBAR_TEXT, AnnotationTool::Text},
    {TOOLBAR_MOSAIC, AnnotationTool::Mosaic}};

} // namespace

// Sums of pointer-range coordinates and small constants are saturated into i32.

PixelPoint toolbar_origin(const PixelRect& selection, int32_t screen_height) {
    const int64_t right_aligned = static_cast<int64_t>(selection.right) - TOOLBAR_PANEL_WIDTH;
    const int64_t x = right_aligned > 0 ? right_aligned : 0;
    int64_t y = static_cast<int64_t>(selection.bottom) + 50 <= screen_height
                    ? static_cast<int64_t>(selection.bottom) + 8
                    : static_cast<int64_t>(selection.top) - 50;
    if (y < 0) y = static_cast<int64_t>(selection.top) + 4;
    return {saturate_i32(x), saturate_i32(y)};
}

std::array<ToolbarButton, 13> toolbar_layout(PixelPoint origin) {
    std::array<ToolbarButton, 13> buttons;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const int64_t left =
            static_cast<int64_t>(origin.x) + TOOLBAR_MARGIN + TOOLBAR_BUTTON_PITCH * int64_t(i);
        const int64_t top = static_cast<int64_t>(origin.y) + TOOLBAR_MARGIN;
        buttons[i] = {saturate_i32(left), saturate_i32(top),
                      saturate_i32(left + TOOLBAR_BUTTON_SIZE),
                      saturate_i32(top + TOOLBAR_BUTTON_SIZE), TOOLBAR_ORDER[i]};
    }
    return buttons;
}

std::optional<ToolbarCommand> toolbar_hit(const std::vector<ToolbarButton>& buttons, int32_t x,
                                          int32_t y) {
    for (const ToolbarButton& b : buttons) {
        if (b.left <= x && x <= b.right && b.top <= y && y <= b.bottom) return b.command;
    }
    return std::nullopt;
}

std::optional<AnnotationTool> command_tool(ToolbarCommand command) {
    for (const auto& [button, tool] : TOOL_BUTTONS)
        if (button == command) return tool;
    return std::nullopt;
}

ToolbarCommand tool_command(AnnotationTool tool) {
    for (const auto& [button, button_tool] : TOOL_BUTTONS)
        if (button_tool == tool) return button;
    return TOOLBAR_PEN; // every tool has its button
}
