#include "capture/overlay/overlay_internal_win.h"

void close_overlay(HWND window, OverlayState& state) {
    remove_text_entry(state);
    DestroyWindow(window);
}

// Every toolbar button, every key and the right button come here. Nothing touches `state`
// after a command that may have closed the overlay, or after a dialog's own message loop.
void run_command(HWND window, OverlayState& state, ToolbarCommand command) {
    if (const std::optional<AnnotationTool> tool = command_tool(command)) {
        // An open text box stays open: the press does not move the focus.
        state.tool = *tool;
        request_repaint(window);
        return;
    }
    switch (command) {
    case TOOLBAR_COLOR:
        choose_color(window, state);
        break;
    case TOOLBAR_WIDTH:
        state.width_index = next_width_index(state.width_index);
        request_repaint(window);
        break;
    case TOOLBAR_UNDO:
        // Also while a mark is in progress, which then carries on.
        undo_last(state.annotations); // false when there was none: nothing to do
        request_repaint(window);
        break;
    case TOOLBAR_PIN:
        if (pin_selection(state)) close_overlay(window, state);
        break;
    case TOOLBAR_COPY:
        if (copy_selection(window, state)) close_overlay(window, state);
        break;
    case TOOLBAR_SAVE:
        if (save_selection(window, state)) close_overlay(window, state);
        break;
    case TOOLBAR_CLOSE:
        close_overlay(window, state);
        break;
    default:
        break;
    }
}
