#include <gtest/gtest.h>

#include "main/cli/display_path.h"

namespace {
std::string shown(const char* dir, const char* path) {
    return display_path(std::string(dir), path);
}
} // namespace

TEST(DisplayPath, RelativePathsJoinTheCurrentDirectory) {
    EXPECT_EQ(shown("C:\\work", ".\\a.png"), "C:\\work\\.\\a.png");
    EXPECT_EQ(shown("C:\\work", "a.png"), "C:\\work\\a.png");
    EXPECT_EQ(shown("C:\\work", "..\\up\\a.png"), "C:\\work\\..\\up\\a.png");
    EXPECT_EQ(shown("C:\\", "a.png"), "C:\\a.png");
    EXPECT_EQ(shown("C:\\work\\", "a.png"), "C:\\work\\a.png");
    EXPECT_EQ(shown("C:/proj/", "sub/a.png"), "C:/proj/sub/a.png");
    EXPECT_EQ(shown("\\\\server\\share\\dir", "a.png"), "\\\\server\\share\\dir\\a.png");
    EXPECT_EQ(shown("C:\\w\xC3\xA9rk", "\xE4\xB8\xAD.png"), "C:\\w\xC3\xA9rk\\\xE4\xB8\xAD.png");
}

TEST(DisplayPath, AbsoluteAndDriveRelativePathsStandAsTyped) {
    for (const char* path : {"D:\\x\\a.png", "d:/x/a.png", "D:x.png", "\\\\server\\share\\a.png",
                             "//server/share/a.png", "\\\\?\\C:\\a.png"})
        EXPECT_EQ(shown("C:\\work", path), path);
}

TEST(DisplayPath, RootRelativePathsKeepOnlyTheDriveOrShare) {
    EXPECT_EQ(shown("C:\\work\\deep", "\\x.png"), "C:\\x.png");
    EXPECT_EQ(shown("C:\\work", "/x.png"), "C:/x.png");
    EXPECT_EQ(shown("\\\\server\\share\\dir", "\\x.png"), "\\\\server\\share\\x.png");
}

TEST(DisplayPath, WithoutCurrentDirectoryThePathItself) {
    EXPECT_EQ(display_path(std::nullopt, "a.png"), "a.png");
}

TEST(DisplayPath, Absoluteness) {
    for (const char* yes : {"C:\\", "c:/x", "\\\\server\\share", "\\\\server\\share\\x",
                            "\\\\?\\C:\\x", "\\\\.\\pipe\\x"})
        EXPECT_TRUE(is_absolute_windows_path(yes)) << yes;
    for (const char* no : {"", "x", ".\\x", "\\x", "/x", "C:", "C:x", "\\\\server", "1:\\x"})
        EXPECT_FALSE(is_absolute_windows_path(no)) << no;
}
