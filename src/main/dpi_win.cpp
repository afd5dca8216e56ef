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

UINT window_dpi(HWND window) {
    using GetDpi = UINT(WINAPI*)(HWND);
    if (auto get = user32_function<GetDpi>("GetDpiForWindow")) {
        if (const UINT dpi = get(window)) return dpi;
    }
    UINT dpi = USER_DEFAULT_SCREEN_DPI;
    if (HDC screen = GetDC(nullptr)) {
        dpi = static_cast<UINT>(GetDeviceCaps(screen, LOGPIXELSX));
        ReleaseDC(nullptr, screen);
    }
    return dpi > 0 ? dpi : USER_DEFAULT_SCREEN_DPI;
}
