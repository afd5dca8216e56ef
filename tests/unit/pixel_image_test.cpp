// Which images can be made: the guard every pixel buffer of a capture goes through.
#include <gtest/gtest.h>

#include <cstdint>

#include "capture/image/pixel_image.h"

TEST(MakePixelImage, ZerosOfTheSizeAskedFor) {
    const std::optional<PixelImage> image = make_pixel_image(3, 2);
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->pixels, std::vector<uint8_t>(24, 0));
    // The PNG encoder filters in place and needs a byte more a row; a vector grown past
    // its capacity would copy the whole image.
    EXPECT_GE(image->pixels.capacity(), 24u + 2u);
}

TEST(MakePixelImage, NothingEmptyAndNothingOfTwoGibibytesOrMore) {
    for (int64_t side : {int64_t{0}, int64_t{-1}, int64_t{INT32_MIN}}) {
        EXPECT_FALSE(make_pixel_image(side, 10)) << side;
        EXPECT_FALSE(make_pixel_image(10, side)) << side;
    }
    // 2^31 bytes exactly, and the 65535 x 65535 a far-dragged selection can span.
    EXPECT_FALSE(make_pixel_image(32768, 16384));
    EXPECT_FALSE(make_pixel_image(16384, 32768));
    EXPECT_FALSE(make_pixel_image(65535, 65535));
    // Sides whose product would overflow 64 bits unless each is checked first.
    EXPECT_FALSE(make_pixel_image(int64_t{1} << 40, int64_t{1} << 40));
    EXPECT_FALSE(make_pixel_image(int64_t{INT32_MAX} + 1, 1));
    // A long strip is no problem.
    const std::optional<PixelImage> strip = make_pixel_image(1024, 1);
    ASSERT_TRUE(strip);
    EXPECT_EQ(strip->pixels.size(), 4096u);
}
