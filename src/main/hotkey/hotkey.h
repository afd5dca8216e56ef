#pragma once
// The capture hotkey: MOD_* flags plus a virtual-key code, and its display name.
#include <cstdint>
#include <string>

struct Hotkey {
    uint32_t modifiers = 6; // MOD_ALT 0x1, MOD_CONTROL 0x2, MOD_SHIFT 0x4, MOD_WIN 0x8
    uint32_t vk = 0x41;     // virtual-key code; the default is Ctrl+Shift+A
};

// The id the hotkey is registered under, carried by WM_HOTKEY in wParam.
constexpr int HOTKEY_ID = 1;

// "Ctrl + Shift + A": modifiers in the order Ctrl, Shift, Alt, Win, then the key name.
std::string format_hotkey(uint32_t modifiers, uint32_t vk);
