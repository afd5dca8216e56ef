#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "capture/pin/pin_geometry.h"

namespace {
constexpr int32_t MIN32 = std::numeric_limits<int32_t>::min();
constexpr int32_t MAX32 = std::numeric_limits<int32_t>::max();
} // namespace

TEST(PinInitialOrigin, CentredAndNeverAboveOrLeftOfTheScreen) {
    EXPECT_EQ(pin_initial_origin(1920, 1080, 300, 200), (PixelPoint{810, 440}));
    EXPECT_EQ(pin_initial_origin(1920, 1080, 301, 201), (PixelPoint{809, 439}));
    EXPECT_EQ(pin_initial_origin(1920, 1080, 1919, 1079), (PixelPoint{0, 0}));
    // Larger than the screen: at (0, 0), running past the right and bottom edges.
    EXPECT_EQ(pin_initial_origin(1920, 1080, 2500, 1080), (PixelPoint{0, 0}));
    EXPECT_EQ(pin_initial_origin(0, 0, MAX32, MAX32), (PixelPoint{0, 0}));
    EXPECT_EQ(pin_initial_origin(MAX32, MAX32, MIN32, 1).x, MAX32);
}

TEST(PinDragZoom, HalfAPercentPerPixelFromTheStartZoom) {
    EXPECT_FLOAT_EQ(pin_drag_zoom(500, 400, 1.0f), 1.5f);
    // A second drag starts where the first left off.
    EXPECT_FLOAT_EQ(pin_drag_zoom(500, 400, 1.5f), 2.25f);
    EXPECT_FLOAT_EQ(pin_drag_zoom(500, 600, 1.0f), 0.5f);
    EXPECT_FLOAT_EQ(pin_drag_zoom(-20, -20, 3.0f), 3.0f);
}

TEST(PinDragZoom, ClampedToATenthAndEight) {
    EXPECT_FLOAT_EQ(pin_drag_zoom(0, 180, 1.0f), 0.1f);
    for (int32_t down : {181, 199, 200, 201, 5000}) EXPECT_EQ(pin_drag_zoom(0, down, 1.0f), 0.1f);
    EXPECT_FLOAT_EQ(pin_drag_zoom(0, -1399, 1.0f), 7.995f);
    for (int32_t up : {1400, 1401, 100000}) EXPECT_EQ(pin_drag_zoom(0, -up, 1.0f), 8.0f);
    // Cursor positions 2^32 - 1 apart neither overflow nor escape the range.
    EXPECT_EQ(pin_drag_zoom(MAX32, MIN32, 8.0f), 8.0f);
    EXPECT_EQ(pin_drag_zoom(MIN32, MAX32, 0.1f), 0.1f);
}

TEST(PinZoomChanges, OnlyAboveATenThousandth) {
    EXPECT_FALSE(pin_zoom_changes(1.0f, 1.0f));
    EXPECT_FALSE(pin_zoom_changes(1.0f, 1.00005f));
    EXPECT_FALSE(pin_zoom_changes(2.0f, 1.99995f));
    EXPECT_TRUE(pin_zoom_changes(1.0f, 1.0002f));
    EXPECT_TRUE(pin_zoom_changes(1.0f, 0.9998f));
    // One pixel of drag is a change; pushing past a clamp is not.
    EXPECT_TRUE(pin_zoom_changes(1.0f, pin_drag_zoom(10, 9, 1.0f)));
    EXPECT_FALSE(pin_zoom_changes(8.0f, pin_drag_zoom(0, -2000, 8.0f)));
    EXPECT_FALSE(pin_zoom_changes(0.1f, pin_drag_zoom(0, 300, 0.1f)));
}

TEST(PinScaledLength, NearestHalvesAwayAtLeastOneSaturated) {
    EXPECT_EQ(pin_scaled_length(1, 0.1f), 1);
    EXPECT_EQ(pin_scaled_length(3, 0.5f), 2); // 1.5 goes up
    EXPECT_EQ(pin_scaled_length(3, 1.5f), 5); // 4.5 goes up
    EXPECT_EQ(pin_scaled_length(2, 0.25f), 1);
    EXPECT_EQ(pin_scaled_length(7, 0.25f), 2); // 1.75
    EXPECT_EQ(pin_scaled_length(1000, 1.5f), 1500);
    EXPECT_EQ(pin_scaled_length(640, 0.1f), 64);
    EXPECT_EQ(pin_scaled_length(16777217, 1.0f), 16777217); // past float's exact integers
    EXPECT_EQ(pin_scaled_length(268435455, 8.0f), 2147483640);
    EXPECT_EQ(pin_scaled_length(268435456, 8.0f), MAX32);
    EXPECT_EQ(pin_scaled_length(MAX32, 8.0f), MAX32);
    EXPECT_EQ(pin_scaled_length(0, 1.0f), 1);
    EXPECT_EQ(pin_scaled_length(MIN32, 8.0f), 1);
    EXPECT_EQ(pin_scaled_length(10, std::numeric_limits<float>::quiet_NaN()), 1);
}

TEST(PinCentredOrigin, KeepsTheCentreWithTruncatingHalves) {
    EXPECT_EQ(pin_centred_origin({100, 100, 200, 200}, 150, 150), (PixelPoint{75, 75}));
    EXPECT_EQ(pin_centred_origin({0, 0, 3, 3}, 2, 2), (PixelPoint{0, 0}));
    EXPECT_EQ(pin_centred_origin({10, 20, 13, 23}, 5, 4), (PixelPoint{9, 19}));
    // Towards zero, not down: the centre of -5..0 is -2.
    EXPECT_EQ(pin_centred_origin({-5, -5, 0, 0}, 3, 3), (PixelPoint{-3, -3}));
    EXPECT_EQ(pin_centred_origin({MAX32 - 1, MAX32 - 1, MAX32, MAX32}, 1, 1),
              (PixelPoint{MAX32 - 1, MAX32 - 1}));
    EXPECT_EQ(pin_centred_origin({MIN32, MIN32, MIN32 + 2, MIN32 + 2}, MAX32, MAX32),
              (PixelPoint{MIN32, MIN32}));
}

TEST(PinMovedEdge, FollowsTheCursorAndSaturates) {
    EXPECT_EQ(pin_moved_edge(100, 500, 520), 120);
    EXPECT_EQ(pin_moved_edge(100, 500, 380), -20);
    EXPECT_EQ(pin_moved_edge(MAX32, MIN32, MAX32), MAX32);
    EXPECT_EQ(pin_moved_edge(MIN32, MAX32, MIN32), MIN32);
}

TEST(PinCloseButton, TwentyPixelSquareInTheTopRight) {
    EXPECT_TRUE(pin_in_close_button(100, 80, 0));
    EXPECT_TRUE(pin_in_close_button(100, 99, 19));
    EXPECT_FALSE(pin_in_close_button(100, 79, 0));
    EXPECT_FALSE(pin_in_close_button(100, 99, 20));
    EXPECT_FALSE(pin_in_close_button(100, 99, -1));
    // A window narrower than the square is all close button across its width.
    EXPECT_TRUE(pin_in_close_button(10, 0, 5));
    EXPECT_TRUE(pin_in_close_button(MIN32, MIN32, 0));
    EXPECT_FALSE(pin_in_close_button(MAX32, MAX32 - 21, 0));
    EXPECT_TRUE(pin_in_close_button(MAX32, MAX32 - 20, 0));
}

TEST(PinPressCloses, XIsSignedAndYUnsigned) {
    EXPECT_TRUE(pin_press_closes(100, 0x0005005F));  // (95, 5)
    EXPECT_FALSE(pin_press_closes(100, 0x0014005F)); // (95, 20)
    EXPECT_FALSE(pin_press_closes(100, 0xFFFF005F)); // y -1 read as 65535
    EXPECT_FALSE(pin_press_closes(100, 0x0005FFF0)); // x -16, not 65520
    // Upper bits of a sign-extended 64-bit lParam do not matter.
    EXPECT_TRUE(pin_press_closes(100, static_cast<int64_t>(0xFFFFFFFF0005005F)));
}
