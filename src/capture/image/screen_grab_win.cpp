#include "capture/image/screen_grab_win.h"

#include "capture/image/dib_header_win.h"

#include <windows.h>

#include "capture/image/capture_rect.h"

namespace {

bool fail_next_copy = false;

} // namespace

std::optional<PixelImage> capture_screen(const std::optional<ScreenRect>& region) {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const std::optional<ScreenRect> rect = clamp_capture_rect(region, sw, sh);
    if (!rect) return std::nullopt;

    PixelImage image;
    image.width = rect->width;
    image.height = rect->height;
    image.pixels.assign(static_cast<size_t>(rect->width) * rect->height * 4, 0);

    // On a locked workstation, the secure desktop or a disconnected session GDI fails and
    // the image would stay black: that is a failed capture, not a black screenshot.
    HDC screen = GetDC(nullptr);
    HDC memory = screen ? CreateCompatibleDC(screen) : nullptr;
    HBITMAP bitmap = screen ? CreateCompatibleBitmap(screen, rect->width, rect->height) : nullptr;
    bool copied = false;
    if (memory && bitmap) {
        HGDIOBJ previous = SelectObject(memory, bitmap);
        copied = copy_from_screen(memory, screen, rect->x, rect->y, rect->width, rect->height);
        // GetDIBits must not read a bitmap that is still selected into a DC.
        SelectObject(memory, previous);
        BITMAPINFOHEADER header = top_down_dib_header(rect->width, rect->height);
        copied = copied &&
                 GetDIBits(memory, bitmap, 0, static_cast<UINT>(rect->height), image.pixels.data(),
                           reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS) == rect->height;
    }
    if (bitmap) DeleteObject(bitmap);
    if (memory) DeleteDC(memory);
    if (screen) ReleaseDC(nullptr, screen);
    if (!copied) return std::nullopt;
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
