// In-process tests of the Win32 image output: the writers' outcome reporting, the
// clipboard block and the screen grab's clamping, run under Wine.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "capture/image/bmp_writer_win.h"
#include "capture/image/clipboard_win.h"
#include "capture/image/output_file_win.h"
#include "capture/image/png_writer_win.h"
#include "capture/image/screen_grab_win.h"

namespace {

std::vector<uint8_t> read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

PixelImage two_by_one() { return {{1, 2, 3, 4, 5, 6, 7, 8}, 2, 1}; }

} // namespace

TEST(BmpWriter, WritesHeaderThenRowsBottomUp) {
    const PixelImage image{{0xAA, 0xAA, 0xAA, 0xAA, 0xBB, 0xBB, 0xBB, 0xBB}, 1, 2};
    ASSERT_TRUE(write_bmp("tall.bmp", image));
    const std::vector<uint8_t> file = read_file("tall.bmp");
    ASSERT_EQ(file.size(), 62u);
    EXPECT_EQ(file[54], 0xBB); // bottom row first
    EXPECT_EQ(file[58], 0xAA);
    DeleteFileA("tall.bmp");
}

TEST(BmpWriter, EveryPixelIsOpaqueWithItsColourKept) {
    const PixelImage image{{1, 2, 3, 0, 5, 6, 7, 0x80}, 2, 1};
    ASSERT_TRUE(write_bmp("opaque.bmp", image));
    const std::vector<uint8_t> file = read_file("opaque.bmp");
    ASSERT_EQ(file.size(), 62u);
    EXPECT_EQ(std::vector<uint8_t>(file.begin() + 54, file.end()),
              (std::vector<uint8_t>{1, 2, 3, 255, 5, 6, 7, 255}));
    EXPECT_EQ(image.pixels[3], 0); // the caller's image is left as it was
    DeleteFileA("opaque.bmp");
}

TEST(BmpWriter, ReplacesAnExistingFileInsteadOfAppending) {
    std::ofstream("replace.bmp", std::ios::binary) << std::string(1000, 'x');
    ASSERT_TRUE(write_bmp("replace.bmp", two_by_one()));
    EXPECT_EQ(read_file("replace.bmp").size(), 62u);
    DeleteFileA("replace.bmp");
}

TEST(ImageWriters, ReportFailureAndCreateNothingInAMissingDirectory) {
    EXPECT_FALSE(write_bmp("no_such_dir\\x.bmp", two_by_one()));
    EXPECT_FALSE(write_png("no_such_dir\\x.png", two_by_one()));
    EXPECT_FALSE(exists("no_such_dir"));
}

TEST(ImageWriters, ReportFailureWhenThePathIsADirectory) {
    CreateDirectoryA("a_dir.png", nullptr);
    EXPECT_FALSE(write_png("a_dir.png", two_by_one()));
    EXPECT_FALSE(write_bmp("a_dir.png", two_by_one()));
    EXPECT_TRUE(GetFileAttributesA("a_dir.png") & FILE_ATTRIBUTE_DIRECTORY);
    RemoveDirectoryA("a_dir.png");
}

TEST(OutputFile, AnIncompleteFileIsRemovedAndAFailedOpenTouchesNothing) {
    std::optional<OutputFile> file = create_output_file("partial.bin");
    ASSERT_TRUE(file);
    ASSERT_TRUE(write_all(file->handle, "abc", 3));
    EXPECT_FALSE(finish_output_file(*file, false));
    EXPECT_FALSE(exists("partial.bin"));

    // Held open without sharing, the file cannot be replaced.
    std::ofstream("locked.bin") << "keep";
    HANDLE holder = CreateFileA("locked.bin", GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(holder, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(create_output_file("locked.bin"));
    EXPECT_FALSE(write_png("locked.bin", two_by_one()));
    EXPECT_FALSE(write_bmp("locked.bin", two_by_one()));
    CloseHandle(holder);
    EXPECT_EQ(read_file("locked.bin").size(), 4u);
    DeleteFileA("locked.bin");
}

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
