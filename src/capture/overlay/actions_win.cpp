#include "capture/overlay/actions_win.h"

#include <commdlg.h>

#include <array>
#include <optional>
#include <string>

#include "capture/image/bmp_writer_win.h"
#include "capture/image/clipboard_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/overlay/overlay_state_win.h"
#include "capture/pin/pin_window_win.h"
#include "capture/image/png_writer_win.h"
#include "capture/overlay/render_selection_win.h"
#include "main/cli/output_naming.h"
#include "main/tray/tray_state_win.h"
#include "strings/strings.h"
#include "strings/wide_win.h"

void copy_selection(HWND window, OverlayState& state) {
    std::optional<PixelImage> image = render_selection(state);
    if (!image) return;
    if (copy_image_to_clipboard(*image, window)) close_overlay(window, state);
}

void pin_selection(HWND window, OverlayState& state) {
    std::optional<PixelImage> image = render_selection(state);
    if (!image) return;
    if (open_pin_window(*image)) close_overlay(window, state);
}

void save_selection(HWND window, OverlayState& state) {
    std::optional<PixelImage> image = render_selection(state);
    if (!image) return;
    std::array<wchar_t, MAX_PATH> file{};
    const std::wstring default_name = L"screenshot.png";
    default_name.copy(file.data(), default_name.size());
    // The filter's own NULs, and to_wide's final one, make the list's double NUL.
    const std::wstring filter = to_wide(save_filter(tray_app.language));
    const std::wstring title = to_wide(save_dialog_title(tray_app.language));
    OPENFILENAMEW dialog{};
    dialog.lStructSize = sizeof dialog;
    dialog.hwndOwner = window;
    dialog.lpstrFilter = filter.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = file.data();
    dialog.nMaxFile = static_cast<DWORD>(file.size());
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST;
    dialog.lpstrDefExt = L"png";
    // Cancelled: back to the overlay with everything as it was.
    if (!GetSaveFileNameW(&dialog)) return;
    // The dialog ran a message loop of its own; the overlay must still be there.
    if (overlay_state(window) != &state) return;
    const std::string path = from_wide(file.data());
    // The name alone decides: ".bmp" in any case is BMP, anything else PNG.
    const bool saved = is_bmp_path(path) ? write_bmp(path, *image) : write_png(path, *image);
    if (saved) close_overlay(window, state);
}
