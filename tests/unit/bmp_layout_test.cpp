#include <gtest/gtest.h>

#include <vector>

#include "capture/output/bmp_layout.h"

namespace {
std::vector<uint8_t> bytes(std::initializer_list<int> list) { return {list.begin(), list.end()}; }
} // namespace

TEST(BmpLayout, TwoByOneHeaderMatchesTheFileFormat) {
    const auto h = bmp_header_bytes(2, 1);
    const std::vector<uint8_t> expected =
        bytes({'B',  'M', 0x3E, 0, 0, 0, 0, 0, 0,    0,    0x36, 0, 0,    0, // file header
               0x28, 0,   0,    0, 2, 0, 0, 0, 1,    0,    0,    0, 1,    0,
               0x20, 0, // size, width, height, planes, bpp
               0,    0,   0,    0, 8, 0, 0, 0, 0x13, 0x0B, 0,    0, 0x13, 0x0B,
               0,    0, // BI_RGB, image size, 2835 ppm
               0,    0,   0,    0, 0, 0, 0, 0});
    EXPECT_EQ(std::vector<uint8_t>(h.begin(), h.end()), expected);
}

TEST(BmpLayout, ClipboardHeaderIsTopDownWithNoResolution) {
    const auto h = clipboard_dib_header(1920, 1080);
    auto u32 = [&](int at) {
        return uint32_t(h[at]) | uint32_t(h[at + 1]) << 8 | uint32_t(h[at + 2]) << 16 |
               uint32_t(h[at + 3]) << 24;
    };
    EXPECT_EQ(u32(0), 40u);
    EXPECT_EQ(u32(4), 1920u);
    EXPECT_EQ(static_cast<int32_t>(u32(8)), -1080);
    EXPECT_EQ(h[12] | h[13] << 8, 1);
    EXPECT_EQ(h[14] | h[15] << 8, 32);
    EXPECT_EQ(u32(16), 0u);
    EXPECT_EQ(u32(20), 8294400u);
    for (int at = 24; at < 40; at += 4) EXPECT_EQ(u32(at), 0u) << at;
}
