#include "capture/window_class_win.h"

void register_window_class(HINSTANCE module, const WindowClass& fields) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    if (GetClassInfoExW(module, fields.name, &wc)) return;
    wc.style = fields.style;
    wc.lpfnWndProc = fields.procedure;
    wc.hInstance = module;
    wc.hCursor = fields.cursor;
    wc.hbrBackground = fields.background;
    wc.lpszClassName = fields.name;
    if (fields.load_icon) {
        wc.hIcon = fields.load_icon(32, 32);
        wc.hIconSm = fields.load_icon(16, 16);
    }
    if (RegisterClassExW(&wc)) return;
    if (wc.hIcon) DestroyIcon(wc.hIcon);
    if (wc.hIconSm) DestroyIcon(wc.hIconSm);
}
