// Test helper: registers the capture hotkey, as the tray does, on a message-only window
// and reports what arrives. Arguments: optional MODIFIERS VK for the hotkey (default
// Ctrl+Shift+A). Prints "ready" once registered; "hotkey ID" (hex) for each WM_HOTKEY, after
// the first of which it unregisters and prints "unregistered"; "key VK" (hex) for each
// key pressed in its visible window, where Esc ends the program.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/tray_state_win.h"

namespace {

// Flushed at once: the test reads the output while the program runs.
void say(const char* text) {
    std::printf("%s\n", text);
    std::fflush(stdout);
}

void say(const char* label, unsigned value) {
    std::printf("%s %X\n", label, value);
    std::fflush(stdout);
}

LRESULT CALLBACK hotkey_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_HOTKEY) {
        say("hotkey", static_cast<unsigned>(wparam));
        unregister_capture_hotkey(window);
        say("unregistered");
        return 0;
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT CALLBACK key_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_KEYDOWN || message == WM_SYSKEYDOWN) {
        say("key", static_cast<unsigned>(wparam));
        if (wparam == VK_ESCAPE) PostQuitMessage(0);
        return 0;
    }
    if (message == WM_DESTROY) PostQuitMessage(0);
    return DefWindowProcW(window, message, wparam, lparam);
}

HWND create(const wchar_t* class_name, WNDPROC procedure, HWND parent, DWORD style) {
    WNDCLASSW window_class = {};
    window_class.lpfnWndProc = procedure;
    window_class.hInstance = GetModuleHandleW(nullptr);
    window_class.lpszClassName = class_name;
    window_class.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    RegisterClassW(&window_class);
    return CreateWindowExW(0, class_name, L"Vellumshot hotkey probe", style, 100, 100, 400, 200,
                           parent, nullptr, window_class.hInstance, nullptr);
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 3) {
        tray_app.hotkey.modifiers = static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 0));
        tray_app.hotkey.vk = static_cast<uint32_t>(std::strtoul(argv[2], nullptr, 0));
    }
    HWND hotkey_window = create(L"VLS_TestHotkey", hotkey_window_proc, HWND_MESSAGE, 0);
    HWND key_window = create(L"VLS_TestKeys", key_window_proc, nullptr, WS_OVERLAPPEDWINDOW);
    if (!hotkey_window || !key_window) return 1;
    ShowWindow(key_window, SW_SHOW);
    SetForegroundWindow(key_window);
    register_capture_hotkey(hotkey_window);
    say("ready");
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}
