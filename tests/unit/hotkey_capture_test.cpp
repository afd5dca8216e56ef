// The hotkey dialog's rule for single key presses.
#include <gtest/gtest.h>

#include "main/hotkey/hotkey_capture.h"

TEST(HotkeyCapture, ModifierKeysAloneAndTheInputMethodsKeysChangeNothing) {
    // 0xE5 is VK_PROCESSKEY, a key an input method took; 0xE7 VK_PACKET, a character typed
    // by an on-screen keyboard or handwriting panel: no hotkey can ever fire on either.
    for (uint32_t vk : {0x10u, 0x11u, 0x12u, 0x5Bu, 0x5Cu, 0xE5u, 0xE7u}) {
        EXPECT_EQ(classify_key_press(vk, 0), KeyPress::Ignored) << vk;
        EXPECT_EQ(classify_key_press(vk, 0x4), KeyPress::Ignored) << vk;
        EXPECT_EQ(classify_key_press(vk, 0x6), KeyPress::Ignored) << vk;
    }
    for (uint32_t vk : {0xE4u, 0xE6u, 0xE8u})
        EXPECT_EQ(classify_key_press(vk, 0x4), KeyPress::Accepted) << vk;
}

TEST(HotkeyCapture, PlainKeysNeedAModifierButFunctionKeysDoNot) {
    for (uint32_t vk : {0x51u, 0x0Du, 0x1Bu, 0x09u, 0x20u, 0x30u, 0x6Fu, 0x7Cu, 0xA0u})
        EXPECT_EQ(classify_key_press(vk, 0), KeyPress::NeedsModifier) << vk;
    for (uint32_t vk = 0x70; vk <= 0x7B; ++vk)
        EXPECT_EQ(classify_key_press(vk, 0), KeyPress::Accepted) << vk;
}

TEST(HotkeyCapture, AnyOneModifierMakesAKeyUsable) {
    for (uint32_t mods : {0x1u, 0x2u, 0x4u, 0x8u, 0x6u, 0xFu}) {
        EXPECT_EQ(classify_key_press(0x50, mods), KeyPress::Accepted) << mods;
        EXPECT_EQ(classify_key_press(0x0D, mods), KeyPress::Accepted) << mods;
    }
}
