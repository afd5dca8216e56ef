#pragma once
// The persisted settings in the per-user registry: the hotkey under SOFTWARE\Vellumshot
// and start-on-boot as the "Vellumshot" value of the Run key. Every failure is silent.
#include "main/hotkey/hotkey.h"

struct Settings {
    Hotkey hotkey;          // HotkeyModifiers and HotkeyVk
    bool autostart = false; // the Run value exists and the startup lists leave it on
};

// The stored hotkey; each value falls back to its default (6, 65) when absent or not a DWORD.
Hotkey load_hotkey_settings();
void save_hotkey_settings(const Hotkey& hotkey);
// True whenever a Run value named "Vellumshot" exists, whatever its type or length, and
// the startup lists (Explorer\StartupApproved\Run) have not turned it off.
bool is_autostart_enabled();
// Off: deletes the Run value. On: writes the quoted path of this executable and removes
// our own StartupApproved\Run value.
void toggle_autostart();
