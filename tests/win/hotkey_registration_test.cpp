// In-process tests of the capture hotkey's registration.
#include <gtest/gtest.h>

#include <windows.h>

#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/tray_state_win.h"

namespace {

UINT registered_modifiers = 0;
UINT registered_vk = 0;

BOOL WINAPI record_registration(HWND, int, UINT modifiers, UINT vk) {
    registered_modifiers = modifiers;
    registered_vk = vk;
    return TRUE;
}

} // namespace

TEST(HotkeyRegistration, AsksForNoAutoRepeatAndKeepsTheStoredModifiers) {
    // A held hotkey must not open one overlay per auto-repeated key press.
    tray_app.hotkey = Hotkey{MOD_CONTROL | MOD_ALT, 'K'};
    EXPECT_TRUE(register_capture_hotkey(nullptr, record_registration));
    EXPECT_EQ(registered_modifiers, UINT{MOD_CONTROL | MOD_ALT | MOD_NOREPEAT});
    EXPECT_EQ(registered_vk, UINT{'K'});
    EXPECT_EQ(tray_app.hotkey.modifiers, uint32_t{MOD_CONTROL | MOD_ALT});
}
