#include "main/dpi_win.h"

namespace {

// A typed GetProcAddress on user32, which every process here has loaded.
template <typename Function>
Function user32_function(const char* name) {
    HMODULE user32 = GetModuleHandleW(L"user32.dll");
    if (user32 == nullptr) return nullptr;
    // The cast through void (*)() keeps GCC's -Wcast-function-type quiet.
    return reinterpret_cast<Function>(reinterpret_cast<void (*)()>(GetProcAddress(user32, name)));
}

} // namespace

void set_per_monitor_dpi_awareness() {
    using SetContext = BOOL(WINAPI*)(DPI_AWARENESS_CONTEXT);
    if (auto set = user32_function<SetContext>("SetProcessDpiAwarenessContext"))
        set(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2); // already set by the manifest: fails
}

namespace {

UINT screen_dpi() {
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    if (HDC screen = GetDC(nullptr)) {
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}

} // namespace

UINT window_dpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (auto get = user32_function<GetDpi>("GetDpiForWindow")) {
        if (const UINT dpi = get(window)) return dpi;
    }
    return screen_dpi();
}

bool message_font_at_dpi(UINT dpi, LOGFONTW& font) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof(metrics);
    using ParametersForDpi = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
    if (auto get = user32_function<ParametersForDpi>("SystemParametersInfoForDpi")) {
        if (get(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0, dpi)) {
            font = metrics.lfMessageFont;
            return true;
        }
    }
    // Older Windows gives the metrics at the system's DPI only.
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return false;
    font = metrics.lfMessageFont;
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), static_cast<int>(screen_dpi()));
    return true;
}
