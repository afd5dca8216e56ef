#include <gtest/gtest.h>

#include "capture/image/capture_rect.h"

namespace {
// A --region value, taken to edges as capture_screen takes it.
std::optional<PixelRect> clamp(std::optional<ScreenRect> r) {
    return clamp_capture_rect(r ? std::optional(to_pixel_rect(*r)) : std::nullopt, 1920, 1080);
}
} // namespace

TEST(CaptureRect, NoRegionIsTheWholeDisplay) {
    EXPECT_EQ(clamp(std::nullopt), (PixelRect{0, 0, 1920, 1080}));
}

TEST(CaptureRect, InsideRegionIsKept) {
    EXPECT_EQ(clamp(ScreenRect{100, 100, 50, 40}), (PixelRect{100, 100, 150, 140}));
}

TEST(CaptureRect, NegativeOriginSlidesToTheEdgeKeepingItsSize) {
    EXPECT_EQ(clamp(ScreenRect{-100, 0, 300, 200}), (PixelRect{0, 0, 300, 200}));
    EXPECT_EQ(clamp(ScreenRect{-5000, -5000, 10, 10}), (PixelRect{0, 0, 10, 10}));
    EXPECT_EQ(clamp(ScreenRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}),
              (PixelRect{0, 0, 1920, 1080}));
}

TEST(CaptureRect, SizeIsCutAtTheRightAndBottomEdges) {
    EXPECT_EQ(clamp(ScreenRect{1800, 0, 400, 100}), (PixelRect{1800, 0, 1920, 100}));
    EXPECT_EQ(clamp(ScreenRect{0, 1000, 10, INT32_MAX}), (PixelRect{0, 1000, 10, 1080}));
}

TEST(CaptureRect, NothingLeftIsAbsent) {
    EXPECT_FALSE(clamp(ScreenRect{1920, 0, 10, 10}));
    EXPECT_FALSE(clamp(ScreenRect{0, 1080, 10, 10}));
    EXPECT_FALSE(clamp(ScreenRect{2000, 0, 100, 100}));
    EXPECT_FALSE(clamp(ScreenRect{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX}));
    EXPECT_FALSE(clamp_capture_rect(std::nullopt, 0, 0));
}
