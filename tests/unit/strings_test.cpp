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

// The characters a retyped text gets wrong, written as bytes so that a source-encoding
// mix-up cannot make both sides agree: the ASCII colon in the Chinese licence line, the
// full-width colon and comma in the Chinese hotkey texts, and the four width labels the
// toolbar cycles through.
TEST(StringTable, TheCharactersARetypedTextGetsWrong) {
    const Language zh = Language::Chinese;
    EXPECT_EQ(about_license(zh), "\xE8\xAE\xB8\xE5\x8F\xAF\xE8\xAF\x81: MIT");
    EXPECT_EQ(hotkey_prompt(zh), "\xE6\x8C\x89\xE4\xB8\x8B\xE6\x96\xB0\xE7\x9A\x84\xE5\xBF\xAB"
                                 "\xE6\x8D\xB7\xE9\x94\xAE\xE7\xBB\x84\xE5\x90\x88"
                                 "\xEF\xBC\x9A");
    EXPECT_EQ(hotkey_taken(zh), "\xE8\xAF\xA5\xE7\xBB\x84\xE5\x90\x88\xE9\x94\xAE"
                                "\xE5\xB7\xB2\xE8\xA2\xAB\xE5\x85\xB6\xE4\xBB\x96"
                                "\xE7\xA8\x8B\xE5\xBA\x8F\xE5\x8D\xA0\xE7\x94\xA8\xEF\xBC\x8C\xE8"
                                "\xAF\xB7\xE6\x8D\xA2\xE4\xB8\x80\xE4\xB8\xAA");
    EXPECT_EQ(hotkey_dialog_title(zh), menu_hotkey_settings(zh));
    EXPECT_EQ(hotkey_dialog_title(Language::English), "Hotkey Settings"); // the menu's is not
    const char* english[] = {"Thin", "Medium", "Thick", "Bold"};
    const char* chinese[] = {"\xE7\xBB\x86", "\xE4\xB8\xAD", "\xE7\xB2\x97",
                             "\xE7\x89\xB9\xE7\xB2\x97"};
    for (unsigned level = 0; level < 4; ++level) {
        EXPECT_EQ(width_name(Language::English, level), english[level]);
        EXPECT_EQ(width_name(zh, level), chinese[level]);
    }
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
