#include <gtest/gtest.h>

#include "strings/utf.h"

TEST(Utf, RoundTripsEveryPlane) {
    const std::string text = "a\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z"; // a é 中 😀 z
    const std::u16string wide = utf8_to_utf16(text);
    EXPECT_EQ(wide, (std::u16string{u'a', 0xE9, 0x4E2D, 0xD83D, 0xDE00, u'z'}));
    EXPECT_EQ(utf16_to_utf8(wide), text);
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacters) {
    EXPECT_EQ(utf16_to_utf8(std::u16string{u'x', 0xD800}), "x\xEF\xBF\xBD");
    EXPECT_EQ(utf16_to_utf8(std::u16string{0xDC00, u'y'}), "\xEF\xBF\xBDy");
    EXPECT_EQ(utf16_to_utf8(std::u16string{0xDBFF, 0xDBFF, 0xDFFF}),
              "\xEF\xBF\xBD\xF4\x8F\xBF\xBF");
}

TEST(Utf, MalformedUtf8BecomesReplacementCharacters) {
    EXPECT_EQ(utf8_to_utf16("\xFF"), std::u16string{0xFFFD});
    EXPECT_EQ(utf8_to_utf16("\xC0\xAF"), (std::u16string{0xFFFD, 0xFFFD})); // overlong '/'
    EXPECT_EQ(utf8_to_utf16("\xED\xA0\x80"),
              (std::u16string{0xFFFD, 0xFFFD, 0xFFFD}));            // encoded surrogate
    EXPECT_EQ(utf8_to_utf16("\xE4\xB8"), (std::u16string{0xFFFD})); // cut short at the end
    EXPECT_EQ(utf8_to_utf16("\xE4\xB8z"), (std::u16string{0xFFFD, u'z'}));
}

TEST(Utf, AsciiLowerTouchesOnlyAToZ) {
    EXPECT_EQ(ascii_lower("SCREENSHOT Version-1 \xC3\x89"), "screenshot version-1 \xC3\x89");
}
