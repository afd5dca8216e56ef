// The read-back every capture goes through: what was drawn comes back row for row, and
// every failure along the way is no image.
#include <gtest/gtest.h>

#include <windows.h>

#include "capture/image/bitmap_read_win.h"

namespace {

// A screen-compatible DC to read through, as the grab and the overlay have.
struct ScreenReference {
    HDC screen = GetDC(nullptr);
    HDC dc = CreateCompatibleDC(screen);
    ~ScreenReference() {
        DeleteDC(dc);
        ReleaseDC(nullptr, screen);
    }
};

} // namespace

TEST(BitmapRead, WhatFillDrawsComesBackTopDown) {
    ScreenReference reference;
    ASSERT_NE(reference.screen, nullptr);
    // Top row blue, bottom row red: a bottom-up read would swap them.
    const std::optional<PixelImage> image =
        read_bitmap_block(reference.screen, 3, 2, [](HDC memory) {
            const RECT top{0, 0, 3, 1}, bottom{0, 1, 3, 2};
            HBRUSH blue = CreateSolidBrush(0xFF0000);
            HBRUSH red = CreateSolidBrush(0x0000FF);
            FillRect(memory, &top, blue);
            FillRect(memory, &bottom, red);
            DeleteObject(red);
            DeleteObject(blue);
            return true;
        });
    ASSERT_TRUE(image);
    ASSERT_EQ(image->width, 3);
    ASSERT_EQ(image->height, 2);
    for (int x = 0; x < 3; ++x) {
        EXPECT_EQ(image->pixels[x * 4 + 0], 0xFF) << x; // B of the top row
        EXPECT_EQ(image->pixels[x * 4 + 2], 0x00) << x;
        EXPECT_EQ(image->pixels[12 + x * 4 + 0], 0x00) << x; // R of the bottom row
        EXPECT_EQ(image->pixels[12 + x * 4 + 2], 0xFF) << x;
    }
}

TEST(BitmapRead, NoImageWhenFillFailsTheReferenceIsMissingOrTheBlockTooLarge) {
    ScreenReference reference;
    bool ran = false;
    EXPECT_FALSE(read_bitmap_block(reference.screen, 4, 4, [&](HDC) { return !(ran = true); }));
    EXPECT_TRUE(ran);
    ran = false;
    const auto draw = [&](HDC) { return ran = true; };
    EXPECT_FALSE(read_bitmap_block(nullptr, 4, 4, draw));
    EXPECT_FALSE(read_bitmap_block(reference.screen, 65535, 65535, draw));
    EXPECT_FALSE(read_bitmap_block(reference.screen, 0, 4, draw));
    EXPECT_FALSE(ran); // none of them got as far as drawing
    // A reference that is no DC at all: GDI makes nothing, and nothing is drawn.
    EXPECT_FALSE(read_bitmap_block(reinterpret_cast<HDC>(0x1234), 4, 4, draw));
    EXPECT_FALSE(ran);
}
