#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/image/pixel_convert.h"

TEST(PixelConvert, SwapsRedAndBlueAndMakesEveryPixelOpaque) {
    const std::vector<uint8_t> in = {0x10, 0x20, 0x30, 0x00, 0x01, 0x02,
                                     0x03, 0x7F, 0xAA, 0xBB, 0xCC, 0xFF};
    std::vector<uint8_t> out(in.size(), 0x55);
    bgrx_to_rgba(in.data(), out.data(), 3);
    EXPECT_EQ(out, (std::vector<uint8_t>{0x30, 0x20, 0x10, 0xFF, 0x03, 0x02, 0x01, 0xFF, 0xCC, 0xBB,
                                         0xAA, 0xFF}));
}

TEST(PixelConvert, LongRunsMatchThePixelByPixelRule) {
    // Long enough for the vectorised body and an odd tail.
    std::vector<uint8_t> in(4 * 1037);
    for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<uint8_t>(i * 131 + 7);
    std::vector<uint8_t> out(in.size());
    bgrx_to_rgba(in.data(), out.data(), 1037);
    for (size_t p = 0; p < 1037; ++p) {
        ASSERT_EQ(out[4 * p + 0], in[4 * p + 2]) << p;
        ASSERT_EQ(out[4 * p + 1], in[4 * p + 1]) << p;
        ASSERT_EQ(out[4 * p + 2], in[4 * p + 0]) << p;
        ASSERT_EQ(out[4 * p + 3], 0xFF) << p;
    }
}

TEST(SetOpaqueAlpha, SetsOnlyTheFourthByteOfEveryPixel) {
    for (size_t count : {0u, 1u, 15u, 16u, 17u, 100u}) {
        std::vector<uint32_t> pixels(count + 1);
        for (size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<uint32_t>(i * 0x010203);
        set_opaque_alpha(pixels.data(), count);
        for (size_t i = 0; i < count; ++i) {
            EXPECT_EQ(pixels[i], (i * 0x010203 & 0xFFFFFF) | 0xFF000000u) << count << " " << i;
        }
        EXPECT_EQ(pixels[count], count * 0x010203) << "pixel past the end changed";
    }
}
