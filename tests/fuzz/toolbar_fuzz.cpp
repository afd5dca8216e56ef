// Pointer positions at the extremes of their types: the selection two of them span, its
// size label, the toolbar placed beside it and the button a third position hits.
#include <cstdint>
#include <utility>
#include <vector>

#include "capture/overlay/selection.h"
#include "capture/overlay/toolbar.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    // Half the inputs come as mouse-message words, half as any 32-bit coordinates.
    const bool from_messages = take<uint8_t>(in) & 1;
    PixelPoint a{take<int32_t>(in), take<int32_t>(in)};
    PixelPoint b{take<int32_t>(in), take<int32_t>(in)};
    if (from_messages) {
        a = pointer_from_lparam(take<int64_t>(in));
        b = pointer_from_lparam(take<int64_t>(in));
    }
    const PixelRect selection = normalised_rect(a, b);
    FUZZ_CHECK(selection.left <= selection.right && selection.top <= selection.bottom);
    FUZZ_CHECK(confirms_selection(a, b) == confirms_selection(b, a));

    const std::u16string label = size_label_text(take<int32_t>(in), take<int32_t>(in));
    FUZZ_CHECK(label.size() >= 5);
    const int32_t label_top = size_label_top(selection.top, take<int32_t>(in));
    (void)label_top;

    const PixelPoint origin = toolbar_origin(selection, take<int32_t>(in));
    FUZZ_CHECK(origin.x >= 0);
    const std::array<ToolbarButton, 13> layout = toolbar_layout(origin);
    const std::vector<ToolbarButton> buttons(layout.begin(), layout.end());
    // Unless the panel is cut at the end of the coordinate range, every button is a 30 x 30
    // square of the panel's row whose four corners and centre hit that very button, and the
    // three columns right of it (the gap, or the panel's margin) hit none.
    const bool whole = int64_t{origin.x} + TOOLBAR_PANEL_WIDTH <= INT32_MAX &&
                       int64_t{origin.y} + TOOLBAR_PANEL_HEIGHT <= INT32_MAX;
    for (size_t i = 0; i < buttons.size(); ++i) {
        const ToolbarButton& button = buttons[i];
        FUZZ_CHECK(button.left <= button.right && button.top <= button.bottom);
        FUZZ_CHECK(button.command == TOOLBAR_ORDER[i]);
        if (!whole) continue;
        FUZZ_CHECK(button.right - button.left == 30 && button.bottom - button.top == 30);
        FUZZ_CHECK(button.left >= origin.x && button.right <= origin.x + TOOLBAR_PANEL_WIDTH);
        FUZZ_CHECK(button.top >= origin.y && button.bottom <= origin.y + TOOLBAR_PANEL_HEIGHT);
        const int32_t cx = button.left + 15, cy = button.top + 15;
        for (const auto& [px, py] :
             {std::pair{button.left, button.top}, std::pair{button.right, button.top},
              std::pair{button.left, button.bottom}, std::pair{button.right, button.bottom},
              std::pair{cx, cy}})
            FUZZ_CHECK(toolbar_hit(buttons, px, py) == button.command);
        for (int32_t gap = 1; gap <= 3; ++gap)
            FUZZ_CHECK(!toolbar_hit(buttons, button.right + gap, cy));
    }
    const int32_t x = take<int32_t>(in);
    const int32_t y = take<int32_t>(in);
    if (const std::optional<ToolbarCommand> hit = toolbar_hit(buttons, x, y)) {
        bool inside = false;
        for (const ToolbarButton& b : buttons)
            inside = inside || (b.command == *hit && b.left <= x && x <= b.right && b.top <= y &&
                                y <= b.bottom);
        FUZZ_CHECK(inside);
    }
    return 0;
}
