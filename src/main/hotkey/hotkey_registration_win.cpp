#include "main/hotkey/hotkey_registration_win.h"

#include "main/tray/tray_state_win.h"

bool register_capture_hotkey(HWND window, RegisterHotKeyFunction register_hotkey) {
    // Without MOD_NOREPEAT keyboard auto-repeat turns a held hotkey into a stream of
    // WM_HOTKEY, each opening another full-screen overlay. The stored modifiers stay as
    // they are: the flag is added here only.
    return register_hotkey(window, HOTKEY_ID, tray_app.hotkey.modifiers | MOD_NOREPEAT,
                           tray_app.hotkey.vk) != FALSE;
}

void unregister_capture_hotkey(HWND window) { UnregisterHotKey(window, HOTKEY_ID); }

bool switch_capture_hotkey(HWND window, const Hotkey& hotkey) {
    const Hotkey current = tray_app.hotkey;
    unregister_capture_hotkey(window);
    tray_app.hotkey = hotkey;
    if (register_capture_hotkey(window)) return true;
    tray_app.hotkey = current;
    register_capture_hotkey(window); // ours a moment ago, so it is free again
    return false;
}
