#include "capture/screen_grab.h"

#include "capture/dib_header.h"

#include <windows.h>

#include "capture/capture_rect.h"

std::optional<PixelImage> capture_screen(const std::optional<ScreenRect>& region) {
    const int sw = GetSystemMetrics(SM_CXSCREEN);
    const int sh = GetSystemMetrics(SM_CYSCREEN);
    const std::optional<ScreenRect> rect = clamp_capture_rect(region, sw, sh);
    if (!rect) return std::nullopt;

    PixelImage image;
    image.width = rect->width;
    image.height = rect->height;
    image.pixels.assign(static_cast<size_t>(rect->width) * rect->height * 4, 0);

    // Failures of the GDI calls are not detected: rows GDI does not fill stay zero.
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, rect->width, rect->height);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    // SRCCOPY alone: CAPTUREBLT makes the mouse cursor flicker while the grab runs.
    BitBlt(memory, 0, 0, rect->width, rect->height, screen, rect->x, rect->y, SRCCOPY);
    BITMAPINFOHEADER header = top_down_dib_header(rect->width, rect->height);
    GetDIBits(memory, bitmap, 0, static_cast<UINT>(rect->height), image.pixels.data(),
              reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    SelectObject(memory, previous);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(nullptr, screen);
    return image;
}
