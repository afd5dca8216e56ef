#include "capture/overlay/overlay_internal_win.h"

#include <commdlg.h>

#include <optional>
#include <string>
#include <utility>

#include "capture/output/bmp_writer_win.h"
#include "capture/output/clipboard_win.h"
#include "capture/output/png_writer_win.h"
#include "capture/pin/pin_window_win.h"
#include "main/cli/output_naming.h"
#include "strings/interface_language.h"
#include "strings/strings.h"
#include "strings/wide_win.h"

bool copy_selection(HWND window, const OverlayState& state) {
    const std::optional<PixelImage> image = render_selection(state);
    return image && copy_image_to_clipboard(*image, window);
}

bool pin_selection(const OverlayState& state) {
    const std::optional<PixelImage> image = render_selection(state);
    return image && open_pin_window(*image);
}

namespace {

// The longest path Windows takes (with long paths enabled, 32,767 units and the NUL): the
// dialog never has to refuse a name for want of room, which would close it and ask again.
constexpr size_t SAVE_PATH_UNITS = 32768;

// The path the user chose, or nothing when the dialog was cancelled or failed.
std::optional<std::wstring> ask_save_path(HWND window) {
    const std::wstring default_name = L"screenshot.png";
    // The filter's own NULs, and to_wide's final one, make the list's double NUL.
    const std::wstring filter = to_wide(save_filter(interface_language()));
    const std::wstring title = to_wide(save_dialog_title(interface_language()));
    std::wstring file(SAVE_PATH_UNITS, L'\0');
    for (;;) {
        default_name.copy(file.data(), default_name.size());
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window;
        dialog.lpstrFilter = filter.c_str();
        dialog.nFilterIndex = 1;
        dialog.lpstrFile = file.data();
        dialog.nMaxFile = static_cast<DWORD>(file.size());
        dialog.lpstrTitle = title.c_str();
        // The tray would otherwise keep the chosen folder as its current directory, open
        // for as long as it runs: a USB stick saved to could not be ejected.
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR;
        dialog.lpstrDefExt = L"png";
        if (GetSaveFileNameW(&dialog)) return std::wstring(file.c_str());
        // Too small is not a Cancel: the first unit then holds the room the name needs.
        if (CommDlgExtendedError() != FNERR_BUFFERTOOSMALL) return std::nullopt;
        const size_t needed = file[0];
        if (needed <= file.size()) return std::nullopt; // more room would not help
        file.assign(needed, L'\0');
    }
}

} // namespace

bool save_selection(HWND window, const OverlayState& state) {
    std::optional<PixelImage> image = render_selection(state);
    if (!image) return false;
    // Cancelled: back to the overlay with everything as it was.
    const std::optional<std::wstring> file = ask_save_path(window);
    if (!file) return false;
    // The dialog ran a message loop of its own; the overlay must still be there.
    if (overlay_state(window) != &state) return false;
    const std::string path = from_wide(file->c_str());
    // The name alone decides: ".bmp" in any case is BMP, anything else PNG.
    return is_bmp_path(path) ? write_bmp(path, *image) : write_png(path, std::move(*image));
}
