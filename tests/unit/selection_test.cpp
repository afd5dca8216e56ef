#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "capture/overlay/selection.h"

TEST(PointerFromLparam, SignExtendsBothWords) {
    EXPECT_EQ(pointer_from_lparam(0x00C8012C), (PixelPoint{300, 200}));
    EXPECT_EQ(pointer_from_lparam(0xFFD8FFE2), (PixelPoint{-30, -40}));
    EXPECT_EQ(pointer_from_lparam(0x7FFF8000), (PixelPoint{-32768, 32767}));
    // Upper bits of a 64-bit lParam (sign extension of the 32-bit value) are ignored.
    EXPECT_EQ(pointer_from_lparam(static_cast<int64_t>(0xFFFFFFFFFFD8FFE2)),
              (PixelPoint{-30, -40}));
    EXPECT_EQ(pointer_from_lparam(0x12340000FFFF0001), (PixelPoint{1, -1}));
}

TEST(ConfirmsSelection, NeedsFourPixelsInBothDirections) {
    EXPECT_TRUE(confirms_selection({10, 10}, {14, 14}));
    EXPECT_TRUE(confirms_selection({14, 14}, {10, 10}));
    EXPECT_FALSE(confirms_selection({10, 10}, {13, 100}));
    EXPECT_FALSE(confirms_selection({10, 10}, {100, 7}));
    EXPECT_FALSE(confirms_selection({10, 10}, {10, 10}));
    EXPECT_TRUE(confirms_selection({-32768, -32768}, {32767, 32767}));
    EXPECT_TRUE(confirms_selection({INT32_MIN, INT32_MAX}, {INT32_MAX, INT32_MIN}));
}

TEST(SizeLabel, TextUsesTheMultiplicationSign) {
    EXPECT_EQ(size_label_text(640, 480), u"640 \u00D7 480");
    EXPECT_EQ(size_label_text(4, 65535), u"4 \u00D7 65535");
}
TEST(SizeLabel, AboveTheSelectionWhenThereIsRoomElseInside) {
    EXPECT_EQ(size_label_top(100, 19), 75);
    EXPECT_EQ(size_label_top(26, 19), 1);
    EXPECT_EQ(size_label_top(25, 19), 29); // would touch y = 0: inside instead
    EXPECT_EQ(size_label_top(0, 19), 4);
    EXPECT_EQ(size_label_top(-50, 19), -46);
    // At the ends of the coordinate range the label still lands inside, without overflow.
    EXPECT_EQ(size_label_top(INT32_MAX, INT32_MAX), INT32_MAX);
    EXPECT_EQ(size_label_top(INT32_MAX - 4, INT32_MAX), INT32_MAX);
    EXPECT_EQ(size_label_top(INT32_MIN, INT32_MIN), INT32_MIN + 4);
}
