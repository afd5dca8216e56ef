#pragma once
// UTF-8 <-> UTF-16 conversion. Malformed input never fails: each bad UTF-8 sequence and
// each unpaired surrogate becomes U+FFFD, so text read from the system is always printable.
#include <string>
#include <string_view>

std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

// Lower-cases A-Z only; every other byte (including all of UTF-8 beyond ASCII) is kept.
std::string ascii_lower(std::string_view text);

#ifdef _WIN32
#include <cwchar>
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
#endif
