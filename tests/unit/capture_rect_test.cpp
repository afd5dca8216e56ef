#include <gtest/gtest.h>

#include "capture/image/capture_rect.h"

namespace {
std::optional<ScreenRect> clamp(std::optional<ScreenRect> r) {
    return clamp_capture_rect(r, 1920, 1080);
}
} // namespace

TEST(CaptureRect, NoRegionIsTheWholeDisplay) {
    EXPECT_EQ(clamp(std::nullopt), (ScreenRect{0, 0, 1920, 1080}));
}

TEST(CaptureRect, InsideRegionIsKept) {
    EXPECT_EQ(clamp(ScreenRect{100, 100, 50, 40}), (ScreenRect{100, 100, 50, 40}));
}

TEST(CaptureRect, NegativeOriginSlidesToTheEdgeKeepingItsSize) {
    EXPECT_EQ(clamp(ScreenRect{-100, 0, 300, 200}), (ScreenRect{0, 0, 300, 200}));
    EXPECT_EQ(clamp(ScreenRect{-5000, -5000, 10, 10}), (ScreenRect{0, 0, 10, 10}));
    EXPECT_EQ(clamp(ScreenRect{INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX}),
              (ScreenRect{0, 0, 1920, 1080}));
}

TEST(CaptureRect, SizeIsCutAtTheRightAndBottomEdges) {
    EXPECT_EQ(clamp(ScreenRect{1800, 0, 400, 100}), (ScreenRect{1800, 0, 120, 100}));
    EXPECT_EQ(clamp(ScreenRect{0, 1000, 10, INT32_MAX}), (ScreenRect{0, 1000, 10, 80}));
}

TEST(CaptureRect, NothingLeftIsAbsent) {
    EXPECT_FALSE(clamp(ScreenRect{1920, 0, 10, 10}));
    EXPECT_FALSE(clamp(ScreenRect{0, 1080, 10, 10}));
    EXPECT_FALSE(clamp(ScreenRect{2000, 0, 100, 100}));
    EXPECT_FALSE(clamp(ScreenRect{INT32_MAX, INT32_MIN, INT32_MAX, INT32_MAX}));
    EXPECT_FALSE(clamp_capture_rect(std::nullopt, 0, 0));
}
