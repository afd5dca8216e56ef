#include "main/hotkey/hotkey_capture.h"

namespace {

constexpr uint32_t VK_SHIFT_KEY = 0x10, VK_MENU_KEY = 0x12; // Shift, Ctrl, Alt
constexpr uint32_t VK_LWIN_KEY = 0x5B, VK_RWIN_KEY = 0x5C;
constexpr uint32_t VK_F1_KEY = 0x70, VK_F12_KEY = 0x7B;
// What an input method hands on in place of a key it took for composing, and what carries a
// character sent as text (an on-screen keyboard, a handwriting panel): neither is a key.
constexpr uint32_t VK_PROCESSKEY_CODE = 0xE5, VK_PACKET_CODE = 0xE7;

} // namespace

KeyPress classify_key_press(uint32_t vk, uint32_t modifiers) {
    if ((vk >= VK_SHIFT_KEY && vk <= VK_MENU_KEY) || vk == VK_LWIN_KEY || vk == VK_RWIN_KEY ||
        vk == VK_PROCESSKEY_CODE || vk == VK_PACKET_CODE)
        return KeyPress::Ignored;
    const bool function_key = vk >= VK_F1_KEY && vk <= VK_F12_KEY;
    if (modifiers == 0 && !function_key) return KeyPress::NeedsModifier;
    return KeyPress::Accepted;
}
