#include <gtest/gtest.h>

#include <string>

#include "main/hotkey/hotkey.h"

TEST(FormatHotkey, NamesTheFourteenNamedKeys) {
    const std::pair<uint32_t, const char*> named[] = {
        {0x09, "Tab"},          {0x0D, "Enter"},        {0x1B, "Esc"},
        {0x20, "Space"},        {0x21, "PgUp"},         {0x22, "PgDn"},
        {0x23, "End"},          {0x24, "Home"},         {0x25, "\xE2\x86\x90"},
        {0x26, "\xE2\x86\x91"}, {0x27, "\xE2\x86\x92"}, {0x28, "\xE2\x86\x93"},
        {0x2D, "Insert"},       {0x2E, "Delete"},
    };
    for (const auto& [vk, name] : named) EXPECT_EQ(format_hotkey(0, vk), name) << vk;
    EXPECT_EQ(format_hotkey(0x2, 0x25), "Ctrl + \xE2\x86\x90");
}

TEST(FormatHotkey, DigitsAndLettersAreTheirOwnCharacter) {
    const std::string digits = "0123456789";
    for (uint32_t i = 0; i < digits.size(); ++i)
        EXPECT_EQ(format_hotkey(0, 0x30 + i), digits.substr(i, 1));
    const std::string letters = "ABCDEFGHIJKLMNOPQRSTUVWXYZ";
    for (uint32_t i = 0; i < letters.size(); ++i)
        EXPECT_EQ(format_hotkey(0, 0x41 + i), letters.substr(i, 1));
}

TEST(FormatHotkey, FunctionKeysAreF1ToF12) {
    const char* names[] = {"F1", "F2", "F3", "F4",  "F5",  "F6",
                           "F7", "F8", "F9", "F10", "F11", "F12"};
    for (uint32_t i = 0; i < 12; ++i) EXPECT_EQ(format_hotkey(0, 0x70 + i), names[i]);
}

TEST(FormatHotkey, CodesJustOutsideEachRangeTakeTheHexForm) {
    // Neighbours of the digits, letters, function keys and named keys.
    const std::pair<uint32_t, const char*> outside[] = {
        {0x2F, "VK_0x2F"},       {0x3A, "VK_0x3A"},
        {0x40, "VK_0x40"},       {0x5B, "VK_0x5B"},
        {0x6F, "VK_0x6F"},       {0x7C, "VK_0x7C"},
        {0x08, "VK_0x8"},        {0x0A, "VK_0xA"},
        {0x0C, "VK_0xC"},        {0x0E, "VK_0xE"},
        {0x1A, "VK_0x1A"},       {0x1C, "VK_0x1C"},
        {0x1F, "VK_0x1F"},       {0x29, "VK_0x29"},
        {0x2C, "VK_0x2C"},       {0x00, "VK_0x0"},
        {0x60, "VK_0x60"},       {0x69, "VK_0x69"},
        {0xBA, "VK_0xBA"},       {0x100, "VK_0x100"},
        {0x10041, "VK_0x10041"}, {0xFFFFFFFF, "VK_0xFFFFFFFF"},
    };
    for (const auto& [vk, name] : outside) EXPECT_EQ(format_hotkey(0, vk), name) << vk;
}

TEST(FormatHotkey, ModifiersComeInTheOrderCtrlShiftAltWin) {
    // Indexed by the MOD_* bits: Alt 1, Ctrl 2, Shift 4, Win 8.
    const char* prefixes[16] = {
        "",
        "Alt + ",
        "Ctrl + ",
        "Ctrl + Alt + ",
        "Shift + ",
        "Shift + Alt + ",
        "Ctrl + Shift + ",
        "Ctrl + Shift + Alt + ",
        "Win + ",
        "Alt + Win + ",
        "Ctrl + Win + ",
        "Ctrl + Alt + Win + ",
        "Shift + Win + ",
        "Shift + Alt + Win + ",
        "Ctrl + Shift + Win + ",
        "Ctrl + Shift + Alt + Win + ",
    };
    // Unknown bits, MOD_NOREPEAT (0x4000) among them, are never named.
    for (uint32_t unknown : {0x0u, 0x10u, 0x4000u, 0x80000000u, 0xFFFFFFF0u}) {
        for (uint32_t bits = 0; bits < 16; ++bits) {
            EXPECT_EQ(format_hotkey(bits | unknown, 0x41), std::string(prefixes[bits]) + "A")
                << bits << " " << unknown;
        }
    }
    EXPECT_EQ(format_hotkey(6, 0x41), "Ctrl + Shift + A");
    EXPECT_EQ(format_hotkey(0xF, 0x31), "Ctrl + Shift + Alt + Win + 1");
    EXPECT_EQ(format_hotkey(0x9, 0xBA), "Alt + Win + VK_0xBA");
    EXPECT_EQ(format_hotkey(0x10, 0x20), "Space");
    EXPECT_EQ(format_hotkey(0, 0x71), "F2");
}
