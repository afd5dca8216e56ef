#pragma once
// The keyboard values the platform-free code compares against: Windows' virtual-key codes
// and RegisterHotKey's modifier flags, fixed by the system, under names of our own so no
// file here needs windows.h. hotkey_registration_win.cpp checks them against the system's.
#include <cstdint>

constexpr uint32_t KEY_RETURN = 0x0D;
constexpr uint32_t KEY_SHIFT = 0x10;
constexpr uint32_t KEY_CONTROL = 0x11;
constexpr uint32_t KEY_ALT = 0x12;
constexpr uint32_t KEY_ESCAPE = 0x1B;
constexpr uint32_t KEY_LEFT_WIN = 0x5B;
constexpr uint32_t KEY_RIGHT_WIN = 0x5C;
constexpr uint32_t KEY_F1 = 0x70;
constexpr uint32_t KEY_F12 = 0x7B;
// What an input method hands on in place of a key it took for composing, and what carries a
// character sent as text (an on-screen keyboard, a handwriting panel): neither is a key.
constexpr uint32_t KEY_PROCESS = 0xE5;
constexpr uint32_t KEY_PACKET = 0xE7;

// Hotkey modifier flags, as stored in the settings and handed to RegisterHotKey.
constexpr uint32_t MODIFIER_ALT = 0x1;
constexpr uint32_t MODIFIER_CONTROL = 0x2;
constexpr uint32_t MODIFIER_SHIFT = 0x4;
constexpr uint32_t MODIFIER_WIN = 0x8;
