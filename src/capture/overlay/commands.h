#pragma once
// The overlay's keys as the toolbar's commands, so a key and its button run the same
// code. No Win32 here: the virtual-key codes are the system's fixed values.
#include <cstdint>
#include <optional>

constexpr uint32_t KEY_RETURN = 0x0D; // VK_RETURN
constexpr uint32_t KEY_ESCAPE = 0x1B; // VK_ESCAPE

// The ToolbarCommand a key press runs: Esc closes in every state, Enter copies once the
// toolbar is live, Ctrl+C copies, Ctrl+P pins, Ctrl+Z undoes. Nothing for any other key.
// `ctrl` is whether Ctrl was held when the key arrived.
std::optional<int32_t> key_command(uint32_t key, bool ctrl, bool toolbar_active);
