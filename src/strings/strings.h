#pragma once
// The interface's texts in Chinese and English, and the rule that picks the language
// from the user's locale. The command line does not use this table.
#include <string_view>

enum class Language { Chinese, English };

// Chinese when the locale text begins with the lower-case bytes "zh", else English.
Language language_for_locale(std::string_view locale_text);

// One lookup per entry: the entry's UTF-8 text in `language`.
std::string_view app_name(Language language);
std::string_view about_description(Language language);
std::string_view about_license(Language language);
std::string_view menu_screenshot(Language language);
std::string_view menu_autostart(Language language);
std::string_view menu_hotkey_settings(Language language);
std::string_view menu_language(Language language);
std::string_view menu_about(Language language);
std::string_view menu_exit(Language language);
std::string_view hotkey_dialog_title(Language language);
std::string_view hotkey_prompt(Language language);
std::string_view hotkey_need_modifier(Language language);
// Shown when the combination chosen in the hotkey dialog cannot be registered.
std::string_view hotkey_taken(Language language);
std::string_view button_ok(Language language);
std::string_view button_cancel(Language language);
std::string_view save_dialog_title(Language language);
// The save dialog's file-type list: description, pattern, ... each NUL-terminated, and
// one more NUL at the end (all included in the view's size).
std::string_view save_filter(Language language);
// Name of stroke-width level 0-3 (Thin, Medium, Thick, Bold); higher levels name level 3.
std::string_view width_name(Language language, unsigned level);
