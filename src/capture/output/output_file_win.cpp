#include "capture/output/output_file_win.h"

#include "capture/output/output_file_testing_win.h"
#include "strings/wide_win.h"

namespace {

CreateFileFunction create_file = CreateFileW; // or a test's stand-in

// Windows refuses CREATE_ALWAYS on an existing hidden or system file with
// ERROR_ACCESS_DENIED unless the attributes passed carry the same bits, and then gives the
// new file those bits: the file is replaced and stays as hidden as the user made it.
DWORD attributes_to_keep(const std::wstring& path) {
    const DWORD existing = GetFileAttributesW(path.c_str());
    if (existing == INVALID_FILE_ATTRIBUTES) return FILE_ATTRIBUTE_NORMAL;
    const DWORD kept = existing & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM);
    return kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL;
}

} // namespace

void set_create_file_function(CreateFileFunction create) {
    create_file = create ? create : CreateFileW;
}

std::optional<OutputFile> create_output_file(std::string_view path) {
    OutputFile file;
    file.path = to_wide(path);
    file.handle = create_file(file.path.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              CREATE_ALWAYS, attributes_to_keep(file.path), nullptr);
    if (file.handle == INVALID_HANDLE_VALUE) return std::nullopt;
    // A name such as NUL, CON, COM1.png or a pipe opens a device, which takes the bytes and
    // keeps nothing: only a file on disk is a save. The device is closed untouched.
    if (GetFileType(file.handle) != FILE_TYPE_DISK) {
        CloseHandle(file.handle);
        return std::nullopt;
    }
    return file;
}

bool write_all(HANDLE handle, const void* data, size_t size) {
    const auto* bytes = static_cast<const unsigned char*>(data);
    while (size > 0) {
        const DWORD chunk = size > 0x40000000 ? 0x40000000 : static_cast<DWORD>(size);
        DWORD written = 0;
        if (!WriteFile(handle, bytes, chunk, &written, nullptr) || written == 0) return false;
        bytes += written;
        size -= written;
    }
    return true;
}

bool finish_output_file(OutputFile& file, bool complete) {
    const bool closed = CloseHandle(file.handle) != FALSE;
    file.handle = INVALID_HANDLE_VALUE;
    if (complete && closed) return true;
    DeleteFileW(file.path.c_str());
    return false;
}
