#include "main/hotkey/hotkey_registration_win.h"

#include "main/tray/tray_state_win.h"

static_assert(KEY_RETURN == VK_RETURN && KEY_ESCAPE == VK_ESCAPE);
static_assert(KEY_SHIFT == VK_SHIFT && KEY_CONTROL == VK_CONTROL && KEY_ALT == VK_MENU);
static_assert(KEY_LEFT_WIN == VK_LWIN && KEY_RIGHT_WIN == VK_RWIN);
static_assert(KEY_F1 == VK_F1 && KEY_F12 == VK_F12);
static_assert(KEY_PROCESS == VK_PROCESSKEY && KEY_PACKET == VK_PACKET);
static_assert(MODIFIER_ALT == MOD_ALT && MODIFIER_CONTROL == MOD_CONTROL &&
              MODIFIER_SHIFT == MOD_SHIFT && MODIFIER_WIN == MOD_WIN);

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
