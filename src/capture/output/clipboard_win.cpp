#include "capture/output/clipboard_win.h"

#include <cstring>

#include "capture/image/pixel_convert.h"
#include "capture/output/bmp_layout.h"

namespace {

constexpr int OPEN_ATTEMPTS = 11;
constexpr DWORD OPEN_RETRY_MS = 25;

// Clipboard history and clipboard managers open the clipboard for a moment after every
// change, so a single failed OpenClipboard is often only a brief wait.
bool open_clipboard_patiently(HWND owner) {
    for (int attempt = 1;; ++attempt) {
        if (OpenClipboard(owner)) return true;
        if (attempt == OPEN_ATTEMPTS) return false;
        Sleep(OPEN_RETRY_MS);
    }
}

} // namespace

bool copy_image_to_clipboard(const PixelImage& image, HWND owner) {
    const size_t pixel_bytes = static_cast<size_t>(image.width) * image.height * 4;
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE, DIB_HEADER_SIZE + pixel_bytes);
    if (block == nullptr) return false;
    auto* bytes = static_cast<unsigned char*>(GlobalLock(block));
    if (bytes == nullptr) {
        GlobalFree(block);
        return false;
    }
    const auto header = clipboard_dib_header(image.width, image.height);
    std::memcpy(bytes, header.data(), header.size());
    std::memcpy(bytes + DIB_HEADER_SIZE, image.pixels.data(), pixel_bytes);
    // Readers that take the fourth byte as alpha would show GDI's zeros as holes.
    set_opaque_alpha(reinterpret_cast<uint32_t*>(bytes + DIB_HEADER_SIZE), pixel_bytes / 4);
    GlobalUnlock(block); // the result tells the lock count, not an error

    if (!open_clipboard_patiently(owner)) {
        GlobalFree(block);
        return false;
    }
    EmptyClipboard();
    // From a successful SetClipboardData on, the block belongs to the system.
    const bool accepted = SetClipboardData(CF_DIB, block) != nullptr;
    CloseClipboard();
    if (!accepted) GlobalFree(block);
    return accepted;
}
