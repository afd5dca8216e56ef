#pragma once
// The file handling the image writers share: a save either completes, or leaves no file
// of its own making behind.
#include <windows.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

struct OutputFile {
    HANDLE handle = INVALID_HANDLE_VALUE;
    std::wstring path;
};

// Creates or replaces the file for writing; other processes may read, write and delete
// it meanwhile. A hidden or system file stays hidden or system. Absent when it cannot be
// opened or opens anything but a file on disk (a device such as NUL or COM1, a pipe);
// nothing is written or removed then.
[[nodiscard]] std::optional<OutputFile> create_output_file(std::string_view path);

// Writes the whole block to a file, pipe or console handle, continuing after short writes;
// false on any failure. The console's standard output uses it too.
[[nodiscard]] bool write_all(HANDLE handle, const void* data, size_t size);

// Closes the file. When `complete` is false or the close fails, removes the partial file.
// True when the whole file was written and closed.
[[nodiscard]] bool finish_output_file(OutputFile& file, bool complete);
