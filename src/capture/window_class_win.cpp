#include "capture/window_class_win.h"

void register_window_class(HINSTANCE module, const WindowClass& spec) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(module, spec.name, &wc)) return;
    wc.style = spec.style;
    wc.lpfnWndProc = spec.procedure;
    wc.hInstance = module;
    wc.hCursor = spec.cursor;
    wc.hbrBackground = spec.background;
    wc.lpszClassName = spec.name;
    if (spec.load_icon) {
        wc.hIcon = spec.load_icon(32, 32);
        wc.hIconSm = spec.load_icon(16, 16);
    }
    if (RegisterClassExW(&wc)) return;
    if (wc.hIcon) DestroyIcon(wc.hIcon);
    if (wc.hIconSm) DestroyIcon(wc.hIconSm);
}
