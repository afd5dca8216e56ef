// The screen grab under Wine: regions clamped to the primary display, a failed grab no image.
#include <gtest/gtest.h>

#include <windows.h>

#include "capture/image/screen_grab_testing_win.h"
#include "capture/image/screen_grab_win.h"

TEST(ScreenGrab, RegionsAreClampedToThePrimaryDisplay) {
    const int sw = GetSystemMetrics(SM_CXSCREEN), sh = GetSystemMetrics(SM_CYSCREEN);
    std::optional<PixelImage> full = capture_screen(std::nullopt);
    ASSERT_TRUE(full);
    EXPECT_EQ(full->width, sw);
    EXPECT_EQ(full->height, sh);
    EXPECT_EQ(full->pixels.size(), static_cast<size_t>(sw) * sh * 4);
    std::optional<PixelImage> slid = capture_screen(ScreenRect{-100, 0, 300, 200});
    ASSERT_TRUE(slid);
    EXPECT_EQ(slid->width, 300);
    EXPECT_EQ(slid->height, 200);
    std::optional<PixelImage> cut = capture_screen(ScreenRect{sw - 120, 0, 400, 100});
    ASSERT_TRUE(cut);
    EXPECT_EQ(cut->width, 120);
    EXPECT_FALSE(capture_screen(ScreenRect{sw, 0, 10, 10}));
    EXPECT_FALSE(capture_screen(ScreenRect{sw + 80, 0, 100, 100}));
}

TEST(ScreenGrab, AScreenGdiCannotReadIsNoImage) {
    // As on a locked workstation or the secure desktop: no black picture passed off as one.
    fail_next_screen_copy();
    EXPECT_FALSE(capture_screen(std::nullopt));
    EXPECT_TRUE(capture_screen(ScreenRect{0, 0, 10, 10})) << "the fault was spent";
}
