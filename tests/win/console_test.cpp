// In-process tests of the command line's console handling. Wine's AttachConsole fails
// where Windows 8 and later succeed and swap the standard handles for the console's, so
// that swap is played by a stand-in attach.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "main/console.h"

namespace {

HANDLE console_stand_in = nullptr; // where a Windows-8-style attach points standard output
int attach_calls = 0;

BOOL WINAPI attach_like_windows_8(DWORD) {
    ++attach_calls;
    SetStdHandle(STD_OUTPUT_HANDLE, console_stand_in);
    return TRUE;
}

HANDLE create_file(const char* path) {
    return CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS,
                       FILE_ATTRIBUTE_NORMAL, nullptr);
}

std::string read_file(const char* path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class Console : public testing::Test {
  protected:
    void SetUp() override {
        kept = GetStdHandle(STD_OUTPUT_HANDLE);
        console_stand_in = create_file("console.txt");
        ASSERT_NE(console_stand_in, INVALID_HANDLE_VALUE);
        attach_calls = 0;
    }
    void TearDown() override {
        SetStdHandle(STD_OUTPUT_HANDLE, kept);
        CloseHandle(console_stand_in);
        DeleteFileA("console.txt");
    }
    HANDLE kept = nullptr;
};

} // namespace

TEST_F(Console, RedirectedOutputKeepsTheLinesWhereAnAttachWouldTakeThem) {
    HANDLE log = create_file("log.txt");
    ASSERT_NE(log, INVALID_HANDLE_VALUE);
    SetStdHandle(STD_OUTPUT_HANDLE, log);
    const bool attached = attach_parent_console(attach_like_windows_8);
    print_line("Saved log line");
    release_console(attached);
    SetStdHandle(STD_OUTPUT_HANDLE, kept);
    CloseHandle(log);
    EXPECT_FALSE(attached);
    EXPECT_EQ(read_file("log.txt"), "Saved log line\n");
    EXPECT_EQ(read_file("console.txt"), "");
    DeleteFileA("log.txt");
}

TEST_F(Console, WithoutStandardOutputTheParentConsoleIsBorrowed) {
    SetStdHandle(STD_OUTPUT_HANDLE, nullptr);
    const bool attached = attach_parent_console(attach_like_windows_8);
    EXPECT_TRUE(attached);
    EXPECT_EQ(attach_calls, 1);
    print_line("to the console");
    SetStdHandle(STD_OUTPUT_HANDLE, kept);
    EXPECT_EQ(read_file("console.txt"), "to the console\n");
}
