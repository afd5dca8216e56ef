#pragma once
#include <windows.h>

// RegisterHotKey(window, HOTKEY_ID) with the tray's current hotkey; a failure is ignored.
void register_capture_hotkey(HWND window);
// UnregisterHotKey(window, HOTKEY_ID); the result is ignored.
void unregister_capture_hotkey(HWND window);
