// Arbitrary bytes as UTF-8, and the same bytes as UTF-16 code units (lone surrogates
// included): conversion never fails and always yields well-formed text.
#include <memory>
#include <string>

#include "fuzz_input.h"
#include "strings/utf.h"

namespace {

bool well_formed_utf16(const std::u16string& text) {
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] >= 0xDC00 && text[i] <= 0xDFFF) return false;
        if (text[i] >= 0xD800 && text[i] <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            ++i;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::u16string wide = utf8_to_utf16(bytes);
    FUZZ_CHECK(well_formed_utf16(wide));
    FUZZ_CHECK(wide.size() <= bytes.size());
    // Well-formed text survives the round trip unchanged, whichever side it started on.
    const std::string narrow = utf16_to_utf8(wide);
    FUZZ_CHECK(utf8_to_utf16(narrow) == wide);

    // The units sit in a block of exactly their size, so that a read past the last one
    // is caught rather than landing on a string's terminating NUL.
    const size_t count = size / 2;
    const std::unique_ptr<char16_t[]> block(new char16_t[count]);
    for (size_t i = 0; i < count; ++i)
        block[i] = static_cast<char16_t>(data[2 * i] | (data[2 * i + 1] << 8));
    const std::u16string units(block.get(), count);
    const std::string from_units = utf16_to_utf8(std::u16string_view(block.get(), count));
    const std::u16string back = utf8_to_utf16(from_units);
    FUZZ_CHECK(well_formed_utf16(back));
    FUZZ_CHECK(utf16_to_utf8(back) == from_units);
    if (well_formed_utf16(units)) FUZZ_CHECK(back == units);

    const std::string lower = ascii_lower(bytes);
    FUZZ_CHECK(lower.size() == bytes.size());
    return 0;
}
