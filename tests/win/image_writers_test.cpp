// In-process tests of the file writers under Wine: what they write, how they report a
// file they could not make, and how they replace a hidden or system file, from the command
// line's writers and from the overlay's Save.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "capture/output/bmp_writer_win.h"
#include "capture/output/output_file_testing_win.h"
#include "capture/output/output_file_win.h"
#include "capture/output/png_writer_win.h"
#include "capture/overlay/toolbar.h"
#include "window_driver.h"

namespace {

std::vector<uint8_t> read_file(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool exists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

PixelImage two_by_one() { return {{1, 2, 3, 4, 5, 6, 7, 8}, 2, 1}; }

constexpr DWORD HIDDEN_OR_SYSTEM = FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM;

// CreateFileW as Windows answers it: replacing an existing hidden or system file is refused
// with ERROR_ACCESS_DENIED unless the attributes passed carry the same bits. Wine replaces
// such a file whatever is passed.
HANDLE WINAPI create_file_as_windows(LPCWSTR path, DWORD access, DWORD share,
                                     LPSECURITY_ATTRIBUTES security, DWORD disposition, DWORD flags,
                                     HANDLE template_file) {
    const DWORD existing = GetFileAttributesW(path);
    const bool replaces = disposition == CREATE_ALWAYS || disposition == TRUNCATE_EXISTING;
    if (replaces && existing != INVALID_FILE_ATTRIBUTES &&
        (existing & HIDDEN_OR_SYSTEM & ~flags) != 0) {
        SetLastError(ERROR_ACCESS_DENIED);
        return INVALID_HANDLE_VALUE;
    }
    return CreateFileW(path, access, share, security, disposition, flags, template_file);
}

const std::vector<uint8_t> PNG_SIGNATURE{0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

bool starts_with(const std::vector<uint8_t>& bytes, const std::vector<uint8_t>& start) {
    return bytes.size() >= start.size() && std::equal(start.begin(), start.end(), bytes.begin());
}

// Files made hidden or system in a folder of their own, and CreateFileW answering as on
// Windows, for one test.
class HiddenFiles : public testing::Test {
  protected:
    void SetUp() override {
        folder = std::filesystem::temp_directory_path() /
                 ("vls-hidden-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::create_directories(folder);
        set_create_file_function(create_file_as_windows);
    }
    void TearDown() override {
        set_create_file_function(nullptr);
        for (const auto& entry : std::filesystem::directory_iterator(folder))
            SetFileAttributesW(entry.path().c_str(), FILE_ATTRIBUTE_NORMAL);
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    // An old file of 1000 bytes at `name`, given `attribute`.
    std::filesystem::path old_file(const char* name, DWORD attribute) {
        const std::filesystem::path path = folder / name;
        std::ofstream(path, std::ios::binary) << std::string(1000, 'x');
        EXPECT_TRUE(SetFileAttributesW(path.c_str(), attribute));
        EXPECT_EQ(GetFileAttributesW(path.c_str()) & HIDDEN_OR_SYSTEM, attribute)
            << "the attribute did not take";
        // The stand-in plays Windows' refusal, or the test proves nothing.
        HANDLE plain = create_file_as_windows(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        EXPECT_EQ(plain, INVALID_HANDLE_VALUE);
        EXPECT_EQ(GetLastError(), DWORD{ERROR_ACCESS_DENIED});
        return path;
    }

    std::filesystem::path folder;
};

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

TEST_F(HiddenFiles, TheWritersReplaceAHiddenOrSystemFileWhichStaysSo) {
    for (DWORD attribute : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attribute == FILE_ATTRIBUTE_HIDDEN ? "hidden" : "system");
        // As the command line opens them: through write_png and write_bmp.
        const std::filesystem::path png = old_file("shot.png", attribute);
        EXPECT_TRUE(write_png(png.string(), two_by_one()));
        EXPECT_TRUE(starts_with(read_file(png), PNG_SIGNATURE));
        EXPECT_EQ(GetFileAttributesW(png.c_str()) & HIDDEN_OR_SYSTEM, attribute);

        const std::filesystem::path bmp = old_file("shot.bmp", attribute);
        EXPECT_TRUE(write_bmp(bmp.string(), two_by_one()));
        const std::vector<uint8_t> bytes = read_file(bmp);
        EXPECT_EQ(bytes.size(), 62u);
        EXPECT_TRUE(starts_with(bytes, {'B', 'M'}));
        EXPECT_EQ(GetFileAttributesW(bmp.c_str()) & HIDDEN_OR_SYSTEM, attribute);
    }
}

TEST_F(HiddenFiles, SaveReplacesAHiddenOrSystemFileTheUserChoseToOverwrite) {
    const std::filesystem::path working = std::filesystem::current_path();
    for (DWORD attribute : {DWORD{FILE_ATTRIBUTE_HIDDEN}, DWORD{FILE_ATTRIBUTE_SYSTEM}}) {
        SCOPED_TRACE(attribute == FILE_ATTRIBUTE_HIDDEN ? "hidden" : "system");
        const std::filesystem::path file = old_file("saved.png", attribute);
        HWND window = open_new_overlay();
        ASSERT_NE(window, nullptr);
        drag(window, 100, 100, 300, 250);
        with_save_dialog_answered(file.wstring(),
                                  [&] { press_toolbar_button(window, TOOLBAR_SAVE); });
        pump();
        EXPECT_FALSE(IsWindow(window)) << "the save did not finish the overlay";
        const std::vector<uint8_t> bytes = read_file(file);
        EXPECT_TRUE(starts_with(bytes, PNG_SIGNATURE)) << bytes.size() << " bytes";
        EXPECT_EQ(GetFileAttributesW(file.c_str()) & HIDDEN_OR_SYSTEM, attribute);
        if (IsWindow(window)) DestroyWindow(window);
    }
    std::filesystem::current_path(working); // Wine's dialog moves into the folder
}
