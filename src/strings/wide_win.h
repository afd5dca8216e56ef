#pragma once
// The UTF-16 the system takes and gives, over the platform-free conversion.
#include <cwchar>
#include <string>
#include <string_view>

#include "strings/utf.h"

// Every text handed to the system goes through this: UTF-8 in, NUL-terminated UTF-16 out.
inline std::wstring to_wide(std::string_view text) {
    std::u16string u = utf8_to_utf16(text);
    return std::wstring(u.begin(), u.end());
}
// Text read back from the system, to UTF-8.
inline std::string from_wide(const wchar_t* text, size_t length) {
    return utf16_to_utf8(std::u16string_view(reinterpret_cast<const char16_t*>(text), length));
}
inline std::string from_wide(const wchar_t* text) { return from_wide(text, std::wcslen(text)); }
