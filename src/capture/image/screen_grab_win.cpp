#include "capture/image/screen_grab_win.h"

#include "capture/image/bitmap_read_win.h"
#include "capture/image/capture_rect.h"
#include "capture/image/screen_grab_testing_win.h"

namespace {

bool fail_next_copy = false;

} // namespace

std::optional<PixelImage> capture_screen(const std::optional<ScreenRect>& region) {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const std::optional<PixelRect> rect =
        clamp_capture_rect(region ? std::optional(to_pixel_rect(*region)) : std::nullopt, sw, sh);
    if (!rect) return std::nullopt;
    const int width = rect->right - rect->left;
    const int height = rect->bottom - rect->top;
    // On a locked workstation, the secure desktop or a disconnected session GDI fails and
    // the image would stay black: that is a failed capture, not a black screenshot.
    HDC screen = GetDC(nullptr);
    std::optional<PixelImage> image = read_bitmap_block(screen, width, height, [&](HDC memory) {
        return copy_from_screen(memory, screen, rect->left, rect->top, width, height);
    });
    if (screen) ReleaseDC(nullptr, screen);
    return image;
}

bool copy_from_screen(HDC target, HDC screen, int x, int y, int w, int h) {
    if (fail_next_copy) {
        fail_next_copy = false;
        return false;
    }
    // SRCCOPY alone: CAPTUREBLT makes the mouse cursor flicker while the grab runs.
    return BitBlt(target, 0, 0, w, h, screen, x, y, SRCCOPY) != FALSE;
}

void fail_next_screen_copy() { fail_next_copy = true; }
