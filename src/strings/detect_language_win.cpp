#include "strings/detect_language_win.h"

#include <windows.h>

#include "strings/wide_win.h"

Language detect_language() {
    wchar_t name[LOCALE_NAME_MAX_LENGTH] = {};
    const int length = GetUserDefaultLocaleName(name, LOCALE_NAME_MAX_LENGTH);
    // The count includes the terminating NUL; a failure leaves us with English.
    const std::string locale = length > 0 ? from_wide(name, static_cast<size_t>(length - 1)) : "en";
    return language_for_locale(locale);
}
