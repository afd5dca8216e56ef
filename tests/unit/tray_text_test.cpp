// What the tray writes from the string table: tip and About text, and the hotkey
// dialog's rule for single key presses.
#include <gtest/gtest.h>

#include <algorithm>

#include "main/hotkey/hotkey_capture.h"
#include "main/tray/tray_text.h"

TEST(TrayText, TipIsTheNameAndVersionInBothLanguages) {
    EXPECT_EQ(tray_tip_text(Language::English), "Vellumshot v1.0.0");
    EXPECT_EQ(tray_tip_text(Language::Chinese), "Vellumshot v1.0.0");
}

TEST(TrayText, AboutHasNameDescriptionAndLicenceSeparatedByBlankLines) {
    const std::string en = about_text(Language::English);
    const std::string en_head =
        "Vellumshot v1.0.0\n\nLightweight Windows screenshot & annotation tool\n\n";
    ASSERT_EQ(en.substr(0, en_head.size()), en_head);
    EXPECT_EQ(en.substr(en_head.size()), about_license(Language::English));
    EXPECT_FALSE(about_license(Language::English).empty());

    const std::string zh = about_text(Language::Chinese);
    const std::string zh_head = "Vellumshot v1.0.0\n\n轻量级 Windows 截图标注工具\n\n";
    ASSERT_EQ(zh.substr(0, zh_head.size()), zh_head);
    EXPECT_EQ(zh.substr(zh_head.size()), about_license(Language::Chinese));
    EXPECT_EQ(std::count(zh.begin(), zh.end(), '\r'), 0); // single line feeds only
}

TEST(HotkeyCapture, ModifierKeysAloneAndTheInputMethodsKeyChangeNothing) {
    // 0xE5 is VK_PROCESSKEY: a key an input method took, which no hotkey can ever fire on.
    for (uint32_t vk : {0x10u, 0x11u, 0x12u, 0x5Bu, 0x5Cu, 0xE5u}) {
        EXPECT_EQ(classify_key_press(vk, 0), KeyPress::Ignored) << vk;
        EXPECT_EQ(classify_key_press(vk, 0x4), KeyPress::Ignored) << vk;
        EXPECT_EQ(classify_key_press(vk, 0x6), KeyPress::Ignored) << vk;
    }
    EXPECT_EQ(classify_key_press(0xE4, 0x4), KeyPress::Accepted);
    EXPECT_EQ(classify_key_press(0xE6, 0x4), KeyPress::Accepted);
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
