// The arrow's head at the end of its shaft.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "capture/marks/arrow_head.h"

constexpr double PI_6 = 0.5235987755982988;

TEST(ArrowHead, EquilateralAtTheReleasePoint) {
    // 200 px long at width 10: side 37; horizontal shaft, wings 30 degrees either side.
    auto head = arrow_head(0, 0, 200, 0, 10);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->apex, (PixelPoint{200, 0}));
    const int32_t back = static_cast<int32_t>(200 - 37 * std::cos(PI_6));
    const int32_t half = static_cast<int32_t>(37 * std::sin(PI_6)); // 18.5 truncated
    EXPECT_EQ(head->wings[0], (PixelPoint{back, half}));
    EXPECT_EQ(head->wings[1], (PixelPoint{back, -half}));
    // 10 px long: side 4 whatever the width.
    head = arrow_head(0, 0, 0, 10, 10);
    ASSERT_TRUE(head);
    EXPECT_EQ(head->wings[0].y, static_cast<int32_t>(10 - 4 * std::cos(PI_6)));
    // Shorter than a pixel: no head.
    EXPECT_FALSE(arrow_head(5, 5, 5, 5, 4));
    // The widest shaft: every coordinate stays inside i32.
    EXPECT_TRUE(arrow_head(INT_MIN, INT_MIN, INT_MAX, INT_MAX, INT_MAX));
    EXPECT_EQ(to_coordinate(std::numeric_limits<double>::quiet_NaN()), 0);
    EXPECT_EQ(to_coordinate(1e300), INT_MAX);
    EXPECT_EQ(to_coordinate(-1e300), INT_MIN);
    EXPECT_EQ(to_coordinate(-2.9), -2);
}
