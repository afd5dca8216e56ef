// The clipboard block under Wine: one top-down CF_DIB, and what a busy clipboard does.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <vector>

#include "capture/output/clipboard_win.h"

namespace {

PixelImage two_by_one() { return {{1, 2, 3, 4, 5, 6, 7, 8}, 2, 1}; }

} // namespace

TEST(Clipboard, PublishesOneTopDownDibAndDropsThePreviousContents) {
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL text = GlobalAlloc(GMEM_MOVEABLE, 6);
    std::memcpy(GlobalLock(text), "hello", 6);
    GlobalUnlock(text);
    SetClipboardData(CF_TEXT, text);
    CloseClipboard();

    const PixelImage image{
        {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18, 19, 20, 21, 22, 23, 24},
        3,
        2};
    ASSERT_TRUE(copy_image_to_clipboard(image, nullptr));
    EXPECT_FALSE(IsClipboardFormatAvailable(CF_TEXT));
    ASSERT_TRUE(OpenClipboard(nullptr));
    HANDLE dib = GetClipboardData(CF_DIB);
    ASSERT_NE(dib, nullptr);
    ASSERT_GE(GlobalSize(dib), 40u + 24u);
    const auto* bytes = static_cast<const uint8_t*>(GlobalLock(dib));
    BITMAPINFOHEADER header;
    std::memcpy(&header, bytes, sizeof header);
    EXPECT_EQ(header.biSize, 40u);
    EXPECT_EQ(header.biWidth, 3);
    EXPECT_EQ(header.biHeight, -2);
    EXPECT_EQ(header.biBitCount, 32);
    EXPECT_EQ(header.biCompression, static_cast<DWORD>(BI_RGB));
    EXPECT_EQ(header.biSizeImage, 24u);
    // Colours as given; the fourth byte opaque whatever the image held there.
    EXPECT_EQ(std::vector<uint8_t>(bytes + 40, bytes + 64),
              (std::vector<uint8_t>{1,  2,  3,  255, 5,  6,  7,  255, 9,  10, 11, 255,
                                    13, 14, 15, 255, 17, 18, 19, 255, 21, 22, 23, 255}));
    GlobalUnlock(dib);
    CloseClipboard();
}

TEST(Clipboard, FailsWhileTheClipboardIsHeldOpen) {
    // A clipboard opened by this thread counts as held for another owner window.
    HWND other =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    ASSERT_TRUE(OpenClipboard(other));
    HWND mine =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    const bool copied = copy_image_to_clipboard(two_by_one(), mine);
    CloseClipboard();
    DestroyWindow(mine);
    DestroyWindow(other);
    EXPECT_FALSE(copied);
}

TEST(Clipboard, WaitsOutAnotherProgramHoldingItForAMoment) {
    // Another thread stands in for a clipboard manager that opens the clipboard briefly.
    HANDLE opened = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    HANDLE holder = CreateThread(
        nullptr, 0,
        [](void* event) -> DWORD {
            HWND own = CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                       nullptr, nullptr);
            if (!OpenClipboard(own)) return 1;
            SetEvent(static_cast<HANDLE>(event));
            Sleep(100); // how long the other program keeps it
            CloseClipboard();
            DestroyWindow(own);
            return 0;
        },
        opened, 0, nullptr);
    ASSERT_NE(holder, nullptr);
    ASSERT_EQ(WaitForSingleObject(opened, 5000), WAIT_OBJECT_0);
    EXPECT_TRUE(copy_image_to_clipboard(two_by_one(), nullptr));
    WaitForSingleObject(holder, 5000);
    CloseHandle(holder);
    CloseHandle(opened);
}
