#include "main/tray/app_icon_win.h"

#include "main/tray/app_icon_image.h"
#include "main/tray/icon_directory.h"

HICON load_app_icon(int cx, int cy) {
    const std::span<const uint8_t> ico(app_icon_image, app_icon_image_size);
    const std::optional<IconImageSpan> chosen = choose_icon_image(ico, cx, cy);
    if (!chosen) return nullptr;
    // The API takes a non-const pointer but only reads the bytes.
    auto* bits = const_cast<PBYTE>(app_icon_image + chosen->offset);
    return CreateIconFromResourceEx(bits, chosen->size, TRUE, 0x00030000, cx, cy, LR_DEFAULTCOLOR);
}
