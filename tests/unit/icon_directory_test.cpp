// The ICO entry choice and the embedded application icon's layout.
#include <gtest/gtest.h>

#include <climits>
#include <cstring>
#include <vector>

#include "main/tray/app_icon_image.h"
#include "main/tray/icon_directory.h"

namespace {

uint32_t le32(const uint8_t* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t{p[3]} << 24; }
uint32_t be32(const uint8_t* p) { return uint32_t{p[0]} << 24 | p[1] << 16 | p[2] << 8 | p[3]; }

void put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// A directory with the given stored sizes; entry i's bytes are 10 bytes at 100 + 10 * i.
std::vector<uint8_t> directory(std::initializer_list<uint8_t> sizes) {
    std::vector<uint8_t> ico(100 + 10 * sizes.size(), 0);
    ico[2] = 1;
    ico[4] = static_cast<uint8_t>(sizes.size());
    size_t i = 0;
    for (uint8_t s : sizes) {
        const size_t e = 6 + 16 * i;
        ico[e] = ico[e + 1] = s;
        put32(ico, e + 8, 10);
        put32(ico, e + 12, static_cast<uint32_t>(100 + 10 * i));
        ++i;
    }
    return ico;
}

std::span<const uint8_t> embedded() { return {app_icon_image, app_icon_image_size}; }

// Which entry of the embedded icon a request gets, by the image offset it points at.
int embedded_entry(int32_t cx, int32_t cy) {
    const auto chosen = choose_icon_image(embedded(), cx, cy);
    if (!chosen) return -1;
    for (int i = 0; i < 6; ++i)
        if (le32(app_icon_image + 6 + 16 * i + 12) == chosen->offset) return i;
    return -2;
}

} // namespace

TEST(EmbeddedIcon, HasSixPngEntriesFrom16To256InOrderBackToBack) {
    const uint8_t* ico = app_icon_image;
    ASSERT_GE(app_icon_image_size, 102u);
    EXPECT_EQ(ico[0] | ico[1] << 8, 0);
    EXPECT_EQ(ico[2] | ico[3] << 8, 1);
    ASSERT_EQ(ico[4] | ico[5] << 8, 6);
    const uint32_t sizes[] = {16, 32, 48, 64, 128, 256};
    uint32_t expected_offset = 6 + 6 * 16;
    for (int i = 0; i < 6; ++i) {
        SCOPED_TRACE(sizes[i]);
        const uint8_t* e = ico + 6 + 16 * i;
        EXPECT_EQ(e[0], sizes[i] & 0xFF);
        EXPECT_EQ(e[1], sizes[i] & 0xFF);
        EXPECT_EQ(e[6] | e[7] << 8, 32); // bit count
        const uint32_t bytes = le32(e + 8), offset = le32(e + 12);
        EXPECT_EQ(offset, expected_offset);
        ASSERT_LE(uint64_t{offset} + bytes, app_icon_image_size);
        expected_offset = offset + bytes;
        const uint8_t* png = ico + offset;
        ASSERT_EQ(std::memcmp(png, "\x89PNG\r\n\x1a\n", 8), 0);
        ASSERT_EQ(std::memcmp(png + 12, "IHDR", 4), 0);
        EXPECT_EQ(be32(png + 16), sizes[i]);
        EXPECT_EQ(be32(png + 20), sizes[i]);
        EXPECT_EQ(png[24], 8); // bits per channel
        EXPECT_EQ(png[25], 6); // colour with alpha
    }
    EXPECT_EQ(expected_offset, app_icon_image_size);
}

TEST(IconChoice, TakesTheNearestEntryAndTheEarlierOneOnATie) {
    EXPECT_EQ(embedded_entry(16, 16), 0);
    EXPECT_EQ(embedded_entry(24, 24), 0); // 16 from both 16 and 32
    EXPECT_EQ(embedded_entry(40, 40), 1); // 16 from both 32 and 48
    EXPECT_EQ(embedded_entry(32, 32), 1);
    EXPECT_EQ(embedded_entry(100, 100), 4);
    EXPECT_EQ(embedded_entry(256, 256), 5);
    EXPECT_EQ(embedded_entry(300, 300), 5);
    EXPECT_EQ(embedded_entry(16, 250), 0); // 16 to 128 are all 234 away: the first wins
}

TEST(IconChoice, SurvivesExtremeRequests) {
    EXPECT_EQ(embedded_entry(0, 0), 0);
    EXPECT_EQ(embedded_entry(-5, -5), 0);
    EXPECT_EQ(embedded_entry(INT32_MAX, INT32_MAX), 5);
    EXPECT_EQ(embedded_entry(INT32_MIN, INT32_MIN), 0);
}

TEST(IconChoice, StoredZeroMeans256) {
    const std::vector<uint8_t> ico = directory({0, 255});
    EXPECT_EQ(choose_icon_image(ico, 256, 256)->offset, 100u);
    EXPECT_EQ(choose_icon_image(ico, 250, 250)->offset, 110u);
}

TEST(IconChoice, RefusesEntriesOutsideTheImage) {
    std::vector<uint8_t> ico = directory({16, 32});
    put32(ico, 6 + 16 + 12, static_cast<uint32_t>(ico.size() - 9)); // one byte too long
    EXPECT_FALSE(choose_icon_image(ico, 32, 32));
    EXPECT_TRUE(choose_icon_image(ico, 16, 16));
    put32(ico, 6 + 16 + 8, 0xFFFFFFFFu); // offset + size wraps in 32 bits
    put32(ico, 6 + 16 + 12, 2);
    EXPECT_FALSE(choose_icon_image(ico, 32, 32));
}

TEST(IconChoice, ReadsOnlyTheDirectoryThatIsThere) {
    EXPECT_FALSE(choose_icon_image({}, 16, 16));
    std::vector<uint8_t> ico = directory({16});
    EXPECT_FALSE(choose_icon_image(std::span(ico).first(5), 16, 16));
    ico[4] = 200; // claims far more entries than the bytes hold
    ASSERT_TRUE(choose_icon_image(ico, 16, 16));
    EXPECT_EQ(choose_icon_image(ico, 16, 16)->offset, 100u);
    ico[4] = 0;
    EXPECT_FALSE(choose_icon_image(ico, 16, 16));
}
