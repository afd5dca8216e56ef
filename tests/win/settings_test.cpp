// In-process tests of the settings kept in the registry: start on boot.
#include <gtest/gtest.h>

#include <windows.h>

#include "main/tray/settings_win.h"
#include "window_driver.h"

TEST(StartOnBoot, AnEntryTheStartupListsTurnedOffIsOffUntilTurnedOnAgain) {
    const wchar_t* run = L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
    const wchar_t* approved =
        L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";
    // As Task Manager leaves them: first byte 3 is off, 2 is on, then a time stamp.
    const BYTE off[12] = {3, 0, 0, 0, 0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x01};
    const BYTE on[12] = {2};
    auto set_approved = [&](const wchar_t* name, const BYTE* data) {
        return RegSetKeyValueW(HKEY_CURRENT_USER, approved, name, REG_BINARY, data, 12);
    };
    auto approved_exists = [&](const wchar_t* name) {
        return RegGetValueW(HKEY_CURRENT_USER, approved, name, RRF_RT_ANY, nullptr, nullptr,
                            nullptr) == ERROR_SUCCESS;
    };
    auto clean = [&] {
        RegDeleteKeyValueW(HKEY_CURRENT_USER, approved, L"Vellumshot");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, approved, L"Another program");
        RegDeleteKeyValueW(HKEY_CURRENT_USER, run, L"Vellumshot");
    };
    clean();
    const wchar_t path[] = L"\"C:\\Vellumshot.exe\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, run, L"Vellumshot", REG_SZ, path, sizeof path),
              ERROR_SUCCESS);
    ASSERT_EQ(set_approved(L"Vellumshot", on), ERROR_SUCCESS);
    ASSERT_EQ(set_approved(L"Another program", off), ERROR_SUCCESS);
    EXPECT_TRUE(is_autostart_enabled());

    ASSERT_EQ(set_approved(L"Vellumshot", off), ERROR_SUCCESS);
    EXPECT_FALSE(is_autostart_enabled()) << "Windows will not start it";
    // Turning it on from the menu gives the choice back to Windows' default, on.
    toggle_autostart();
    EXPECT_TRUE(run_value_exists());
    EXPECT_FALSE(approved_exists(L"Vellumshot"));
    EXPECT_TRUE(approved_exists(L"Another program"));
    EXPECT_TRUE(is_autostart_enabled());
    toggle_autostart();
    EXPECT_FALSE(run_value_exists());
    clean();
}
