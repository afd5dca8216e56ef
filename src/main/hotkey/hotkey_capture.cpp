#include "main/hotkey/hotkey_capture.h"

#include "capture/key_codes.h"

KeyPress classify_key_press(uint32_t vk, uint32_t modifiers) {
    if ((vk >= KEY_SHIFT && vk <= KEY_ALT) || vk == KEY_LEFT_WIN || vk == KEY_RIGHT_WIN ||
        vk == KEY_PROCESS || vk == KEY_PACKET)
        return KeyPress::Ignored;
    const bool function_key = vk >= KEY_F1 && vk <= KEY_F12;
    if (modifiers == 0 && !function_key) return KeyPress::NeedsModifier;
    return KeyPress::Accepted;
}
