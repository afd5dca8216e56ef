#include <gtest/gtest.h>

#include <string>

#include "strings/strings.h"

using std::string_view;

TEST(LanguageForLocale, ChineseOnlyForLocalesBeginningWithLowerCaseZh) {
    for (const char* chinese : {"zh-CN", "zh-TW", "zh-HK", "zh-Hans-SG", "zh"})
        EXPECT_EQ(language_for_locale(chinese), Language::Chinese) << chinese;
    for (const char* english : {"en-US", "ja-JP", "fr-FR", "z", "", "ZH-cn", "Zh-CN", "en", "xzh"})
        EXPECT_EQ(language_for_locale(english), Language::English) << english;
}

TEST(StringTable, EveryEntryHasBothLanguages) {
    using Lookup = string_view (*)(Language);
    const Lookup lookups[] = {
        app_name,       about_description,    about_license,     menu_screenshot,
        menu_autostart, menu_hotkey_settings, menu_language,     menu_about,
        menu_exit,      hotkey_dialog_title,  hotkey_prompt,     hotkey_need_modifier,
        button_ok,      button_cancel,        save_dialog_title, save_filter,
        hotkey_taken,
    };
    for (Lookup lookup : lookups) {
        EXPECT_FALSE(lookup(Language::Chinese).empty());
        EXPECT_FALSE(lookup(Language::English).empty());
    }
    for (unsigned level = 0; level < 4; ++level) {
        EXPECT_FALSE(width_name(Language::Chinese, level).empty());
        EXPECT_FALSE(width_name(Language::English, level).empty());
    }
}

TEST(StringTable, EnglishTexts) {
    const Language en = Language::English;
    EXPECT_EQ(app_name(en), "Vellumshot");
    EXPECT_EQ(about_description(en), "Lightweight Windows screenshot & annotation tool");
    EXPECT_EQ(about_license(en), "License: MIT");
    EXPECT_EQ(menu_screenshot(en), "Screenshot");
    EXPECT_EQ(menu_autostart(en), "Start on boot");
    EXPECT_EQ(menu_hotkey_settings(en), "Hotkey settings");
    EXPECT_EQ(menu_language(en), "Language");
    EXPECT_EQ(menu_about(en), "About");
    EXPECT_EQ(menu_exit(en), "Exit");
    EXPECT_EQ(hotkey_dialog_title(en), "Hotkey Settings");
    EXPECT_EQ(hotkey_prompt(en), "Press a new key combination:");
    EXPECT_EQ(hotkey_need_modifier(en), "At least one modifier key required (Ctrl/Shift/Alt/Win)");
    EXPECT_EQ(hotkey_taken(en), "In use by another program: choose another combination");
    EXPECT_EQ(button_ok(en), "OK");
    EXPECT_EQ(button_cancel(en), "Cancel");
    EXPECT_EQ(save_dialog_title(en), "Save Image");
    EXPECT_EQ(width_name(en, 0), "Thin");
    EXPECT_EQ(width_name(en, 1), "Medium");
    EXPECT_EQ(width_name(en, 2), "Thick");
    EXPECT_EQ(width_name(en, 3), "Bold");
}

// Written as bytes, so a source-encoding mix-up cannot make both sides agree.
TEST(StringTable, ChineseTexts) {
    const Language zh = Language::Chinese;
    EXPECT_EQ(app_name(zh), "Vellumshot");
    EXPECT_EQ(about_description(zh), "\xE8\xBD\xBB\xE9\x87\x8F\xE7\xBA\xA7 Windows "
                                     "\xE6\x88\xAA\xE5\x9B\xBE\xE6\xA0\x87\xE6\xB3\xA8"
                                     "\xE5\xB7\xA5\xE5\x85\xB7");
    EXPECT_EQ(about_license(zh), "\xE8\xAE\xB8\xE5\x8F\xAF\xE8\xAF\x81: MIT"); // ASCII colon
    EXPECT_EQ(menu_screenshot(zh), "\xE6\x88\xAA\xE5\x9B\xBE");
    EXPECT_EQ(menu_autostart(zh), "\xE5\xBC\x80\xE6\x9C\xBA\xE8\x87\xAA\xE5\x90\xAF");
    EXPECT_EQ(menu_hotkey_settings(zh),
              "\xE5\xBF\xAB\xE6\x8D\xB7\xE9\x94\xAE\xE8\xAE\xBE\xE7\xBD\xAE");
    EXPECT_EQ(hotkey_dialog_title(zh), menu_hotkey_settings(zh));
    EXPECT_EQ(menu_language(zh), "\xE8\xAF\xAD\xE8\xA8\x80");
    EXPECT_EQ(menu_about(zh), "\xE5\x85\xB3\xE4\xBA\x8E");
    EXPECT_EQ(menu_exit(zh), "\xE9\x80\x80\xE5\x87\xBA");
    EXPECT_EQ(hotkey_prompt(zh), "\xE6\x8C\x89\xE4\xB8\x8B\xE6\x96\xB0\xE7\x9A\x84\xE5\xBF\xAB"
                                 "\xE6\x8D\xB7\xE9\x94\xAE\xE7\xBB\x84\xE5\x90\x88"
                                 "\xEF\xBC\x9A"); // full-width colon
    EXPECT_EQ(hotkey_need_modifier(zh), "\xE9\x9C\x80\xE8\xA6\x81\xE8\x87\xB3\xE5\xB0\x91\xE4\xB8"
                                        "\x80\xE4\xB8\xAA\xE4\xBF\xAE\xE9\xA5\xB0\xE9\x94\xAE"
                                        " (Ctrl/Shift/Alt/Win)");
    // With a full-width comma.
    EXPECT_EQ(hotkey_taken(zh), "\xE8\xAF\xA5\xE7\xBB\x84\xE5\x90\x88\xE9\x94\xAE"
                                "\xE5\xB7\xB2\xE8\xA2\xAB\xE5\x85\xB6\xE4\xBB\x96"
                                "\xE7\xA8\x8B\xE5\xBA\x8F\xE5\x8D\xA0\xE7\x94\xA8\xEF\xBC\x8C\xE8"
                                "\xAF\xB7\xE6\x8D\xA2\xE4\xB8\x80\xE4\xB8\xAA");
    EXPECT_EQ(button_ok(zh), "\xE7\xA1\xAE\xE5\xAE\x9A");
    EXPECT_EQ(button_cancel(zh), "\xE5\x8F\x96\xE6\xB6\x88");
    EXPECT_EQ(save_dialog_title(zh), "\xE4\xBF\x9D\xE5\xAD\x98\xE5\x9B\xBE\xE7\x89\x87");
    EXPECT_EQ(width_name(zh, 0), "\xE7\xBB\x86");
    EXPECT_EQ(width_name(zh, 1), "\xE4\xB8\xAD");
    EXPECT_EQ(width_name(zh, 2), "\xE7\xB2\x97");
    EXPECT_EQ(width_name(zh, 3), "\xE7\x89\xB9\xE7\xB2\x97");
}

TEST(StringTable, WidthLevelsPastTheTableNameTheThickest) {
    EXPECT_EQ(width_name(Language::English, 4), "Bold");
    EXPECT_EQ(width_name(Language::English, 0xFFFFFFFF), "Bold");
}

TEST(StringTable, SaveFilterIsSixNulTerminatedStringsAndOneMoreNul) {
    const std::string nul(1, '\0');
    const std::string english = "PNG Image" + nul + "*.png" + nul + "BMP Image" + nul + "*.bmp" +
                                nul + "All Files" + nul + "*.*" + nul + nul;
    const std::string chinese = "PNG \xE5\x9B\xBE\xE7\x89\x87" + nul + "*.png" + nul +
                                "BMP \xE5\x9B\xBE\xE7\x89\x87" + nul + "*.bmp" + nul +
                                "\xE6\x89\x80\xE6\x9C\x89\xE6\x96\x87\xE4\xBB\xB6" + nul + "*.*" +
                                nul + nul;
    EXPECT_EQ(english.size(), 47u);
    EXPECT_EQ(std::string(save_filter(Language::English)), english);
    EXPECT_EQ(std::string(save_filter(Language::Chinese)), chinese);
}
