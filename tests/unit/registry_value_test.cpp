#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "main/tray/registry_value.h"

namespace {

constexpr uint32_t REG_SZ_TYPE = 1;
constexpr uint32_t REG_BINARY_TYPE = 3;
constexpr uint32_t REG_DWORD_BIG_ENDIAN_TYPE = 5;
constexpr uint32_t REG_QWORD_TYPE = 11;

} // namespace

TEST(StoredDword, OnlyASuccessfulReadOfAtMostFourDwordBytesGivesANumber) {
    const uint8_t bytes[8] = {0x50, 0x00, 0x01, 0x80, 0xAA, 0xBB, 0xCC, 0xDD};
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, bytes, 4),
              std::optional<uint32_t>(0x80010050));
    // A value written with fewer bytes fills the low end of the zeroed buffer.
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, bytes, 1), std::optional<uint32_t>(0x50));
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, bytes, 3), std::optional<uint32_t>(0x010050));
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, nullptr, 0), std::optional<uint32_t>(0));

    EXPECT_EQ(stored_dword(false, REGISTRY_TYPE_DWORD, bytes, 4), std::nullopt);
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, bytes, 5), std::nullopt);
    EXPECT_EQ(stored_dword(true, REGISTRY_TYPE_DWORD, nullptr, 4), std::nullopt);
    for (uint32_t type :
         {0u, REG_SZ_TYPE, REG_BINARY_TYPE, REG_DWORD_BIG_ENDIAN_TYPE, REG_QWORD_TYPE, 0xFFFFFFFFu})
        EXPECT_EQ(stored_dword(true, type, bytes, 4), std::nullopt) << type;
}

TEST(StartupEntryDisabled, OnlyAnOddFirstByteOfReadBinaryDataTurnsTheEntryOff) {
    const uint8_t off[12] = {3, 0, 0, 0, 0x10};
    const uint8_t on[12] = {2};
    const uint8_t also_on[12] = {6};
    EXPECT_TRUE(startup_entry_disabled(true, REG_BINARY_TYPE, off, 12));
    EXPECT_TRUE(startup_entry_disabled(true, REG_BINARY_TYPE, off, 1));
    EXPECT_FALSE(startup_entry_disabled(true, REG_BINARY_TYPE, on, 12));
    EXPECT_FALSE(startup_entry_disabled(true, REG_BINARY_TYPE, also_on, 12));
    // No value, a failed or oversized read, another type, or no bytes: Windows' default, on.
    EXPECT_FALSE(startup_entry_disabled(false, REG_BINARY_TYPE, off, 12));
    EXPECT_FALSE(startup_entry_disabled(true, REGISTRY_TYPE_DWORD, off, 4));
    EXPECT_FALSE(startup_entry_disabled(true, REG_SZ_TYPE, off, 12));
    EXPECT_FALSE(startup_entry_disabled(true, REG_BINARY_TYPE, off, 0));
    EXPECT_FALSE(startup_entry_disabled(true, REG_BINARY_TYPE, nullptr, 12));
}
