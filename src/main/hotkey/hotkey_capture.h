#pragma once
// How the hotkey dialog treats one key press.
#include <cstdint>

enum class KeyPress {
    Ignored,       // a modifier key on its own, or an input method's key: nothing changes
    NeedsModifier, // a plain key without Ctrl, Shift, Alt or Win: show the rule
    Accepted,      // a usable combination
};

// `modifiers` are the MODIFIER_* flags held down when `vk` was pressed. F1-F12 need no modifier.
KeyPress classify_key_press(uint32_t vk, uint32_t modifiers);
