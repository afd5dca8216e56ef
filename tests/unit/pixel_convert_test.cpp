// Opaque alpha for the BMP writer and the clipboard.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/image/pixel_convert.h"

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
