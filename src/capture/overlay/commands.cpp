#include "capture/overlay/commands.h"

std::optional<ToolbarCommand> key_command(uint32_t key, bool ctrl, bool toolbar_active) {
    // Esc and Enter do not look at Ctrl.
    if (key == KEY_ESCAPE) return TOOLBAR_CLOSE;
    if (key == KEY_RETURN) {
        if (toolbar_active) return TOOLBAR_COPY;
        return std::nullopt;
    }
    if (!ctrl) return std::nullopt;
    switch (key) {
    case 'C':
        return TOOLBAR_COPY;
    case 'P':
        return TOOLBAR_PIN;
    case 'Z':
        return TOOLBAR_UNDO;
    default:
        return std::nullopt;
    }
}
