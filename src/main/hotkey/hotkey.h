#pragma once
// The capture hotkey: MODIFIER_* flags plus a virtual-key code, and its display name.
#include <cstdint>
#include <string>

#include "capture/key_codes.h"

struct Hotkey {
    uint32_t modifiers = MODIFIER_CONTROL | MODIFIER_SHIFT;
    uint32_t vk = 'A'; // virtual-key code: a letter's is its capital
};

// The id the hotkey is registered under, carried by WM_HOTKEY in wParam.
constexpr int HOTKEY_ID = 1;

// "Ctrl + Shift + A": modifiers in the order Ctrl, Shift, Alt, Win, then the key name.
std::string format_hotkey(uint32_t modifiers, uint32_t vk);
