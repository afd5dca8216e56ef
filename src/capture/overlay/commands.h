#pragma once
// The overlay's keys as the toolbar's commands, so a key and its button run the same
// code. No Win32 here.
#include <cstdint>
#include <optional>

#include "capture/key_codes.h"
#include "capture/overlay/toolbar.h"

// The command a key press runs: Esc closes in every state, Enter copies once the
// toolbar is live, Ctrl+C copies, Ctrl+P pins, Ctrl+Z undoes. Nothing for any other key.
// `ctrl` is whether Ctrl was held when the key arrived.
std::optional<ToolbarCommand> key_command(uint32_t key, bool ctrl, bool toolbar_active);
