#pragma once
#include <windows.h>

#include "main/hotkey/hotkey.h"

using RegisterHotKeyFunction = BOOL(WINAPI*)(HWND, int, UINT, UINT);

// RegisterHotKey(window, HOTKEY_ID) with the tray's current hotkey plus MOD_NOREPEAT; false
// when another program holds the combination. Tests pass their own register function.
bool register_capture_hotkey(HWND window, RegisterHotKeyFunction register_hotkey = RegisterHotKey);
// UnregisterHotKey(window, HOTKEY_ID); the result is ignored.
void unregister_capture_hotkey(HWND window);
// Registers `hotkey` in place of the current one and makes it current; when it cannot be
// registered, the current one stays registered and current, and false comes back.
bool switch_capture_hotkey(HWND window, const Hotkey& hotkey);
