// The byte order the file and registry formats share.
#include <gtest/gtest.h>

#include <array>
#include <cstdint>

#include "capture/output/little_endian.h"

TEST(LittleEndian, LowByteFirstAndOnlyTheBytesAskedFor) {
    std::array<uint8_t, 6> out{};
    out.fill(0xEE);
    put_le(out.data() + 1, 0x11223344u, 4);
    EXPECT_EQ(out, (std::array<uint8_t, 6>{0xEE, 0x44, 0x33, 0x22, 0x11, 0xEE}));
    put_le(out.data(), 0xABCDu | 0xFF0000u, 2); // higher bytes of the value are dropped
    EXPECT_EQ(out, (std::array<uint8_t, 6>{0xCD, 0xAB, 0x33, 0x22, 0x11, 0xEE}));

    const uint8_t in[] = {0x78, 0x56, 0x34, 0x12, 0x99};
    EXPECT_EQ(read_le(in, 4), 0x12345678u);
    EXPECT_EQ(read_le(in, 3), 0x345678u);
    EXPECT_EQ(read_le(in, 1), 0x78u);
    EXPECT_EQ(read_le(in, 0), 0u);
    const uint8_t high[] = {0xFF, 0xFF, 0xFF, 0xFF};
    EXPECT_EQ(read_le(high, 4), 0xFFFFFFFFu); // no sign extension of the top byte
}
