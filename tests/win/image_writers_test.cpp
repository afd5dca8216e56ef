// In-process tests of the file writers under Wine: what they write and how they report a
// file they could not make.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <vector>

#include "capture/output/bmp_writer_win.h"
#include "capture/output/output_file_win.h"
#include "capture/output/png_writer_win.h"

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
