#include "main/hotkey_registration.h"

#include "main/tray_state.h"

void register_capture_hotkey(HWND window) {
    // A combination another program holds simply stays unregistered, without a message.
    RegisterHotKey(window, HOTKEY_ID, tray_app.hotkey.modifiers, tray_app.hotkey.vk);
}

void unregister_capture_hotkey(HWND window) { UnregisterHotKey(window, HOTKEY_ID); }
