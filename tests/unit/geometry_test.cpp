// The shared rectangle rules: corners put in order, wide sums saturated into 32 bits.
#include <gtest/gtest.h>

#include <cstdint>

#include "capture/image/geometry.h"

TEST(NormalisedRect, OrdersEachAxis) {
    EXPECT_EQ(normalised_rect({10, 20}, {30, 5}), (PixelRect{10, 5, 30, 20}));
    EXPECT_EQ(normalised_rect({30, 5}, {10, 20}), (PixelRect{10, 5, 30, 20}));
    EXPECT_EQ(normalised_rect({-5, -6}, {-5, -6}), (PixelRect{-5, -6, -5, -6}));
}

TEST(SaturateI32, ClampsAtBothEndsAndKeepsEverythingBetween) {
    EXPECT_EQ(saturate_i32(0), 0);
    EXPECT_EQ(saturate_i32(-7), -7);
    EXPECT_EQ(saturate_i32(INT32_MAX), INT32_MAX);
    EXPECT_EQ(saturate_i32(int64_t{INT32_MAX} + 1), INT32_MAX);
    EXPECT_EQ(saturate_i32(INT32_MIN), INT32_MIN);
    EXPECT_EQ(saturate_i32(int64_t{INT32_MIN} - 1), INT32_MIN);
    EXPECT_EQ(saturate_i32(INT64_MAX), INT32_MAX);
    EXPECT_EQ(saturate_i32(INT64_MIN), INT32_MIN);
    // Sums of two extremes, as the pin and toolbar code makes them.
    EXPECT_EQ(saturate_i32(int64_t{INT32_MAX} + INT32_MAX), INT32_MAX);
    EXPECT_EQ(saturate_i32(int64_t{INT32_MIN} + INT32_MIN), INT32_MIN);
}
