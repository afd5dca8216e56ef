#include "strings/strings.h"

#include <iterator>

using namespace std::string_view_literals;

namespace {

// One entry of the table: the same text in both languages.
struct Entry {
    std::string_view chinese;
    std::string_view english;
};

std::string_view pick(const Entry& entry, Language language) {
    return language == Language::Chinese ? entry.chinese : entry.english;
}

constexpr Entry APP_NAME{"Vellumshot", "Vellumshot"};
constexpr Entry ABOUT_DESCRIPTION{"轻量级 Windows 截图标注工具",
                                  "Lightweight Windows screenshot & annotation tool"};
constexpr Entry ABOUT_LICENSE{"许可证: MIT", "License: MIT"};
constexpr Entry MENU_SCREENSHOT{"截图", "Screenshot"};
constexpr Entry MENU_AUTOSTART{"开机自启", "Start on boot"};
constexpr Entry MENU_HOTKEY_SETTINGS{"快捷键设置", "Hotkey settings"};
constexpr Entry MENU_LANGUAGE{"语言", "Language"};
constexpr Entry MENU_ABOUT{"关于", "About"};
constexpr Entry MENU_EXIT{"退出", "Exit"};
constexpr Entry HOTKEY_DIALOG_TITLE{"快捷键设置", "Hotkey Settings"};
constexpr Entry HOTKEY_PROMPT{"按下新的快捷键组合：", "Press a new key combination:"};
constexpr Entry HOTKEY_NEED_MODIFIER{"需要至少一个修饰键 (Ctrl/Shift/Alt/Win)",
                                     "At least one modifier key required (Ctrl/Shift/Alt/Win)"};
constexpr Entry HOTKEY_TAKEN{"该组合键已被其他程序占用，请换一个",
                             "In use by another program: choose another combination"};
constexpr Entry BUTTON_OK{"确定", "OK"};
constexpr Entry BUTTON_CANCEL{"取消", "Cancel"};
constexpr Entry SAVE_DIALOG_TITLE{"保存图片", "Save Image"};
// The "sv" literals keep the embedded NULs and the final extra one in the view.
constexpr Entry SAVE_FILTER{"PNG 图片\0*.png\0BMP 图片\0*.bmp\0所有文件\0*.*\0\0"sv,
                            "PNG Image\0*.png\0BMP Image\0*.bmp\0All Files\0*.*\0\0"sv};
constexpr Entry WIDTH_NAMES[] = {
    {"细", "Thin"},
    {"中", "Medium"},
    {"粗", "Thick"},
    {"特粗", "Bold"},
};

} // namespace

Language language_for_locale(std::string_view locale_text) {
    return locale_text.starts_with("zh") ? Language::Chinese : Language::English;
}

std::string_view app_name(Language language) { return pick(APP_NAME, language); }
std::string_view about_description(Language language) { return pick(ABOUT_DESCRIPTION, language); }
std::string_view about_license(Language language) { return pick(ABOUT_LICENSE, language); }
std::string_view menu_screenshot(Language language) { return pick(MENU_SCREENSHOT, language); }
std::string_view menu_autostart(Language language) { return pick(MENU_AUTOSTART, language); }
std::string_view menu_hotkey_settings(Language language) {
    return pick(MENU_HOTKEY_SETTINGS, language);
}
std::string_view menu_language(Language language) { return pick(MENU_LANGUAGE, language); }
std::string_view menu_about(Language language) { return pick(MENU_ABOUT, language); }
std::string_view menu_exit(Language language) { return pick(MENU_EXIT, language); }
std::string_view hotkey_dialog_title(Language language) {
    return pick(HOTKEY_DIALOG_TITLE, language);
}
std::string_view hotkey_prompt(Language language) { return pick(HOTKEY_PROMPT, language); }
std::string_view hotkey_need_modifier(Language language) {
    return pick(HOTKEY_NEED_MODIFIER, language);
}
std::string_view hotkey_taken(Language language) { return pick(HOTKEY_TAKEN, language); }
std::string_view button_ok(Language language) { return pick(BUTTON_OK, language); }
std::string_view button_cancel(Language language) { return pick(BUTTON_CANCEL, language); }
std::string_view save_dialog_title(Language language) { return pick(SAVE_DIALOG_TITLE, language); }
std::string_view save_filter(Language language) { return pick(SAVE_FILTER, language); }

std::string_view width_name(Language language, unsigned level) {
    // A level past the table names the thickest width rather than reading beyond it.
    constexpr unsigned LAST = std::size(WIDTH_NAMES) - 1;
    return pick(WIDTH_NAMES[level < LAST ? level : LAST], language);
}
