#include "main/hotkey/hotkey.h"

#include <string_view>
#include <utility>

#include "capture/key_codes.h"

namespace {

struct NamedKey {
    uint32_t vk;
    std::string_view name;
};

constexpr NamedKey NAMED_KEYS[] = {
    {0x09, "Tab"},  {0x0D, "Enter"}, {0x1B, "Esc"},    {0x20, "Space"},  {0x21, "PgUp"},
    {0x22, "PgDn"}, {0x23, "End"},   {0x24, "Home"},   {0x25, "←"},      {0x26, "↑"},
    {0x27, "→"},    {0x28, "↓"},     {0x2D, "Insert"}, {0x2E, "Delete"},
};

std::string key_name(uint32_t vk) {
    if ((vk >= '0' && vk <= '9') || (vk >= 'A' && vk <= 'Z')) return std::string(1, char(vk));
    if (vk >= KEY_F1 && vk <= KEY_F12)
        return std::string("F").append(std::to_string(vk - KEY_F1 + 1));
    for (const NamedKey& key : NAMED_KEYS)
        if (key.vk == vk) return std::string(key.name);
    // Upper-case hexadecimal without leading zeros, written from the last digit back.
    char digits[8];
    size_t count = 0;
    do {
        digits[sizeof digits - ++count] = "0123456789ABCDEF"[vk & 0xF];
        vk >>= 4;
    } while (vk != 0);
    return std::string("VK_0x").append(digits + sizeof digits - count, count);
}

} // namespace

std::string format_hotkey(uint32_t modifiers, uint32_t vk) {
    std::string text;
    // Fixed reading order, whatever the bit order; unknown bits are not named.
    for (const auto& [bit, name] :
         {std::pair{MODIFIER_CONTROL, "Ctrl"}, std::pair{MODIFIER_SHIFT, "Shift"},
          std::pair{MODIFIER_ALT, "Alt"}, std::pair{MODIFIER_WIN, "Win"}}) {
        if (modifiers & bit) {
            text += name;
            text += " + ";
        }
    }
    text += key_name(vk);
    return text;
}
