#include "capture/clipboard.h"

#include <cstring>

#include "capture/bmp_layout.h"

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
    GlobalUnlock(block); // the result tells the lock count, not an error

    if (!OpenClipboard(owner)) {
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
