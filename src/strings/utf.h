#pragma once
// UTF-8 <-> UTF-16 conversion. Malformed input never fails: each bad UTF-8 sequence and
// each unpaired surrogate becomes U+FFFD, so text read from the system is always printable.
#include <string>
#include <string_view>

std::u16string utf8_to_utf16(std::string_view text);
std::string utf16_to_utf8(std::u16string_view text);

// Lower-cases A-Z only; every other byte (including all of UTF-8 beyond ASCII) is kept.
std::string ascii_lower(std::string_view text);
