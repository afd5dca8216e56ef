// In-process tests of the command line's console handling. Wine's AttachConsole fails
// where Windows 8 and later succeed and swap the standard handles for the console's, so
// that swap is played by a stand-in attach.
#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>
#include <iterator>
#include <string>

#include "main/cli/console_win.h"

namespace {

HANDLE console_stand_in = nullptr; // where a Windows-8-style attach points standard output

BOOL WINAPI attach_like_windows_8(DWORD) {
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

// Attaches with standard output set to `out`, prints one line and gives the console back.
bool print_after_attach(HANDLE out) {
    const HANDLE kept = GetStdHandle(STD_OUTPUT_HANDLE);
    SetStdHandle(STD_OUTPUT_HANDLE, out);
    const bool attached = attach_parent_console(attach_like_windows_8);
    print_line("Saved log line");
    SetStdHandle(STD_OUTPUT_HANDLE, kept);
    return attached;
}

} // namespace

TEST(Console, ARedirectionIsKeptAndOnlyNoStandardOutputBorrowsTheConsole) {
    console_stand_in = create_file("console.txt");
    HANDLE log = create_file("log.txt");
    ASSERT_NE(log, INVALID_HANDLE_VALUE);
    EXPECT_FALSE(print_after_attach(log));
    CloseHandle(log);
    EXPECT_EQ(read_file("log.txt"), "Saved log line\n");
    EXPECT_EQ(read_file("console.txt"), "") << "the attach took the redirection's line";

    EXPECT_TRUE(print_after_attach(nullptr));
    CloseHandle(console_stand_in);
    EXPECT_EQ(read_file("console.txt"), "Saved log line\n");
    DeleteFileA("log.txt");
    DeleteFileA("console.txt");
}
