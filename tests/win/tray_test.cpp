// In-process tests of the tray: the context menu as built, the application icon, the tray
// window's commands and the hotkey dialog driven with synthetic messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>
#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "main/tray/app_icon_win.h"
#include "main/hotkey/hotkey_dialog_win.h"
#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/settings_win.h"
#include "main/tray/tray_app_win.h"
#include "main/tray/tray_icon_win.h"
#include "main/tray/tray_menu_win.h"
#include "main/tray/tray_state_win.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"
#include "window_driver.h"

namespace {

struct Item {
    UINT type, state, id;
    HMENU submenu;
    std::string text;
};

Item item(HMENU menu, int position) {
    wchar_t text[128] = {};
    MENUITEMINFOW info{};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_FTYPE | MIIM_STATE | MIIM_ID | MIIM_SUBMENU | MIIM_STRING;
    info.dwTypeData = text;
    info.cch = 127;
    EXPECT_TRUE(GetMenuItemInfoW(menu, position, TRUE, &info));
    return {info.fType, info.fState, info.wID, info.hSubMenu, from_wide(text)};
}

void expect_item(HMENU menu, int position, UINT id, const char* text, bool checked) {
    SCOPED_TRACE(text);
    const Item it = item(menu, position);
    EXPECT_EQ(it.id, id);
    EXPECT_EQ(it.type, UINT{MFT_STRING});
    EXPECT_EQ(it.text, text);
    EXPECT_EQ((it.state & MFS_CHECKED) != 0, checked);
    EXPECT_EQ(it.submenu, nullptr);
}

void expect_separator(HMENU menu, int position) {
    EXPECT_TRUE(item(menu, position).type & MFT_SEPARATOR) << position;
}

// A message-only window standing in for the tray's, with the real window procedure.
HWND make_tray_window() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = tray_window_proc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"VLS_TestTray";
    RegisterClassExW(&wc);
    return CreateWindowExW(0, L"VLS_TestTray", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                           wc.hInstance, nullptr);
}

std::string window_text(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return from_wide(text);
}

bool combination_is_taken(uint32_t modifiers, uint32_t vk) {
    if (RegisterHotKey(nullptr, 77, modifiers, vk)) {
        UnregisterHotKey(nullptr, 77);
        return false;
    }
    return true;
}

std::optional<DWORD> stored_dword(const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vellumshot", name, RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
}

bool run_value_exists() {
    return RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                        L"Vellumshot", RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

// Holds a key down in the system's key state for as long as it lives.
struct HeldKey {
    WORD vk;
    // Sent twice: under Wine the process's first injected key can miss the key state.
    explicit HeldKey(WORD key) : vk(key) {
        send(0);
        send(0);
    }
    ~HeldKey() { send(KEYEVENTF_KEYUP); }
    void send(DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        SendInput(1, &input, sizeof(input));
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
};

// Stands in front of the dialog's procedure: keeps the window-menu requests it would act on.
WNDPROC dialog_procedure = nullptr;
std::vector<LPARAM> menu_requests; // SC_KEYMENU's character, one per request

LRESULT CALLBACK record_menu_requests(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_SYSCOMMAND && (wparam & 0xFFF0) == SC_KEYMENU) {
        menu_requests.push_back(lparam);
        return 0;
    }
    return CallWindowProcW(dialog_procedure, window, message, wparam, lparam);
}

// A notification area that refuses the first `adds_refused` NIM_ADDs and knows no icon to
// modify unless told; it keeps every request.
std::vector<DWORD> icon_requests;
int adds_refused = 0;
bool modify_finds_icon = false;

BOOL WINAPI busy_notification_area(DWORD message, PNOTIFYICONDATAW) {
    icon_requests.push_back(message);
    if (message == NIM_ADD) return adds_refused-- > 0 ? FALSE : TRUE;
    return message == NIM_MODIFY && modify_finds_icon;
}

class TrayIcon : public testing::Test {
  protected:
    void SetUp() override {
        icon_requests.clear();
        modify_finds_icon = false;
        set_notify_icon_function(busy_notification_area);
        tray = make_tray_window();
        ASSERT_NE(tray, nullptr);
    }
    void TearDown() override {
        DestroyWindow(tray);
        set_notify_icon_function(nullptr);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
    }
    // Runs the message loop until `requests` icon requests were made, for at most `ms`.
    void run_until(size_t requests, DWORD ms) {
        const ULONGLONG end = GetTickCount64() + ms;
        while (icon_requests.size() < requests && GetTickCount64() < end) {
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 100, QS_ALLINPUT);
            MSG msg;
            while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
        }
    }

    HWND tray = nullptr;
};

UINT registered_modifiers = 0;
UINT registered_vk = 0;

BOOL WINAPI record_registration(HWND, int, UINT modifiers, UINT vk) {
    registered_modifiers = modifiers;
    registered_vk = vk;
    return TRUE;
}

class HotkeyDialog : public testing::Test {
  protected:
    void SetUp() override {
        RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vellumshot");
        tray = make_tray_window();
        ASSERT_NE(tray, nullptr);
        set_interface_language(Language::English);
        tray_app.hotkey = Hotkey{6, 0x41};
        register_capture_hotkey(tray);
    }
    void TearDown() override {
        unregister_capture_hotkey(tray);
        DestroyWindow(tray);
        MSG msg; // the tray procedure's WM_DESTROY posts a quit: not ours to keep
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        }
        RegDeleteTreeW(HKEY_CURRENT_USER, L"SOFTWARE\\Vellumshot");
    }
    void key(HWND dialog, WPARAM vk) { SendMessageW(dialog, WM_KEYDOWN, vk, 0); }
    // A click as the button itself takes it: the press gives it the focus, the release
    // in its area tells the dialog.
    void click(HWND dialog, int id) {
        HWND button = GetDlgItem(dialog, id);
        RECT r;
        GetClientRect(button, &r);
        const LPARAM middle = MAKELPARAM(r.right / 2, r.bottom / 2);
        PostMessageW(button, WM_LBUTTONDOWN, MK_LBUTTON, middle);
        PostMessageW(button, WM_LBUTTONUP, 0, middle);
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    }
    std::string label() { return window_text(tray_app.dialog_key_label); }

    HWND tray = nullptr;
};

} // namespace

TEST(TrayMenu, EnglishItemsIdsAndFlags) {
    HMENU menu = build_tray_menu(Language::English, false);
    ASSERT_EQ(GetMenuItemCount(menu), 8);
    expect_item(menu, 0, 40001, "Screenshot", false);
    expect_separator(menu, 1);
    expect_item(menu, 2, 40002, "Start on boot", false);
    expect_item(menu, 3, 40003, "Hotkey settings", false);
    const Item language = item(menu, 4);
    EXPECT_EQ(language.text, "Language");
    ASSERT_NE(language.submenu, nullptr);
    expect_separator(menu, 5);
    expect_item(menu, 6, 40006, "About", false);
    expect_item(menu, 7, 40007, "Exit", false);

    ASSERT_EQ(GetMenuItemCount(language.submenu), 2);
    expect_item(language.submenu, 0, 40004, "中文", false);
    expect_item(language.submenu, 1, 40005, "English", true);
    DestroyMenu(menu);
}

TEST(TrayMenu, ChineseTextsAndTheStartOnBootCheck) {
    HMENU menu = build_tray_menu(Language::Chinese, true);
    ASSERT_EQ(GetMenuItemCount(menu), 8);
    expect_item(menu, 0, 40001, "截图", false);
    expect_item(menu, 2, 40002, "开机自启", true);
    expect_item(menu, 3, 40003, "快捷键设置", false);
    const Item language = item(menu, 4);
    EXPECT_EQ(language.text, "语言");
    expect_item(menu, 6, 40006, "关于", false);
    expect_item(menu, 7, 40007, "退出", false);
    expect_item(language.submenu, 0, 40004, "中文", true);
    expect_item(language.submenu, 1, 40005, "English", false);
    DestroyMenu(menu);
}

TEST(AppIcon, EveryEntryDecodesAtItsSize) {
    for (int size : {16, 32, 48, 64, 128, 256}) {
        SCOPED_TRACE(size);
        HICON icon = load_app_icon(size, size);
        ASSERT_NE(icon, nullptr);
        ICONINFO info{};
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm{};
        GetObjectW(info.hbmColor, sizeof(bm), &bm);
        EXPECT_EQ(bm.bmWidth, size);
        EXPECT_EQ(bm.bmHeight, size);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
        DestroyIcon(icon);
    }
}

TEST(AppIcon, InBetweenSizesAreMadeFromTheNearestEntry) {
    for (int size : {24, 40, 300}) {
        HICON icon = load_app_icon(size, size);
        EXPECT_NE(icon, nullptr) << size;
        DestroyIcon(icon);
    }
}

TEST(AppIcon, TheExecutableCarriesItAsItsFirstIcon) {
    wchar_t path[MAX_PATH];
    GetFullPathNameW(L"..\\Vellumshot.exe", MAX_PATH, path, nullptr);
    HICON large = nullptr, small = nullptr;
    EXPECT_GE(ExtractIconExW(path, 0, &large, &small, 1), 1u);
    EXPECT_NE(large, nullptr);
    EXPECT_NE(small, nullptr);
    DestroyIcon(large);
    DestroyIcon(small);
}

TEST(AppManifest, AsksForLongPathsAndPerMonitorAwarenessWithItsFallback) {
    // Wine ignores both settings. Windows gives paths past MAX_PATH only to a program that
    // asks, and 1607, which knows no PerMonitorV2, takes the next name in the list.
    HMODULE exe = LoadLibraryExW(L"..\\Vellumshot.exe", nullptr, LOAD_LIBRARY_AS_DATAFILE);
    ASSERT_NE(exe, nullptr);
    HRSRC found = FindResourceW(exe, MAKEINTRESOURCEW(1), RT_MANIFEST);
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(LockResource(LoadResource(exe, found)));
    const std::string manifest(text, SizeofResource(exe, found));
    EXPECT_NE(manifest.find("<longPathAware xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">true</longPathAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("<dpiAwareness xmlns=\"http://schemas.microsoft.com/SMI/2016/"
                            "WindowsSettings\">PerMonitorV2, PerMonitor</dpiAwareness>"),
              std::string::npos);
    FreeLibrary(exe);
}

TEST(TrayWindow, LanguageCommandsSwitchAndOtherIdsDoNothing) {
    HWND tray = make_tray_window();
    set_interface_language(Language::Chinese);
    EXPECT_EQ(SendMessageW(tray, WM_COMMAND, 40005, 0), 0);
    EXPECT_EQ(interface_language(), Language::English);
    EXPECT_EQ(SendMessageW(tray, WM_COMMAND, 40099, 0), 0);
    EXPECT_EQ(SendMessageW(tray, WM_HOTKEY, 2, 0), 0);
    EXPECT_EQ(interface_language(), Language::English);
    SendMessageW(tray, WM_COMMAND, 40004, 0);
    EXPECT_EQ(interface_language(), Language::Chinese);
    DestroyWindow(tray);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST(TrayWindow, StartOnBootCommandTogglesTheRunValue) {
    HWND tray = make_tray_window();
    const bool before = run_value_exists();
    SendMessageW(tray, WM_COMMAND, 40002, 0);
    EXPECT_NE(run_value_exists(), before);
    SendMessageW(tray, WM_COMMAND, 40002, 0);
    EXPECT_EQ(run_value_exists(), before);
    DestroyWindow(tray);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

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

TEST(HotkeyRegistration, AsksForNoAutoRepeatAndKeepsTheStoredModifiers) {
    // A held hotkey must not open one overlay per auto-repeated key press.
    tray_app.hotkey = Hotkey{MOD_CONTROL | MOD_ALT, 'K'};
    EXPECT_TRUE(register_capture_hotkey(nullptr, record_registration));
    EXPECT_EQ(registered_modifiers, UINT{MOD_CONTROL | MOD_ALT | MOD_NOREPEAT});
    EXPECT_EQ(registered_vk, UINT{'K'});
    EXPECT_EQ(tray_app.hotkey.modifiers, uint32_t{MOD_CONTROL | MOD_ALT});
}

TEST(TrayWindow, ExitFreesTheHotkeyAndAsksToQuit) {
    HWND tray = make_tray_window();
    tray_app.hotkey = Hotkey{0x7, 0x4B};
    register_capture_hotkey(tray);
    ASSERT_TRUE(combination_is_taken(0x7, 0x4B));
    SendMessageW(tray, WM_COMMAND, 40007, 0);
    EXPECT_FALSE(combination_is_taken(0x7, 0x4B));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(IsWindow(tray)); // the window lives on until the process ends
    DestroyWindow(tray);
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

TEST_F(HotkeyDialog, ShowsItsControlsWithTheCurrentHotkey) {
    HWND dialog = create_hotkey_dialog(tray);
    EXPECT_EQ(window_text(dialog), "Hotkey Settings");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDC_HOTKEY_PROMPT)), "Press a new key combination:");
    EXPECT_EQ(GetDlgItem(dialog, IDC_HOTKEY_NAME), tray_app.dialog_key_label);
    EXPECT_EQ(label(), "Ctrl + Shift + A");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDOK)), "OK");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDCANCEL)), "Cancel");
    RECT r;
    GetWindowRect(dialog, &r);
    EXPECT_EQ(r.right - r.left, 420);
    EXPECT_EQ(r.bottom - r.top, 180);
    EXPECT_EQ(r.left, (GetSystemMetrics(SM_CXSCREEN) - 420) / 2);
    EXPECT_EQ(tray_app.dialog_state, HotkeyDialogState::Open);
    DestroyWindow(dialog);
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.dialog_state, HotkeyDialogState::Closed);
}

TEST_F(HotkeyDialog, ChineseTexts) {
    set_interface_language(Language::Chinese);
    HWND dialog = create_hotkey_dialog(tray);
    EXPECT_EQ(window_text(dialog), "快捷键设置");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDC_HOTKEY_PROMPT)), "按下新的快捷键组合：");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDOK)), "确定");
    EXPECT_EQ(window_text(GetDlgItem(dialog, IDCANCEL)), "取消");
    key(dialog, 'Q');
    EXPECT_EQ(label(), "需要至少一个修饰键 (Ctrl/Shift/Alt/Win)");
    DestroyWindow(dialog);
    run_hotkey_dialog(tray, dialog);
}

TEST_F(HotkeyDialog, PlainKeysShowTheRuleAndKeepTheLastCombination) {
    HWND dialog = create_hotkey_dialog(tray);
    key(dialog, VK_F9);
    EXPECT_EQ(label(), "F9");
    for (WPARAM vk : {WPARAM{'Q'}, WPARAM{VK_RETURN}, WPARAM{VK_ESCAPE}}) {
        key(dialog, vk);
        EXPECT_EQ(label(), "At least one modifier key required (Ctrl/Shift/Alt/Win)") << vk;
        EXPECT_TRUE(IsWindow(dialog)) << "Enter and Esc are keys here, not OK or Cancel";
    }
    key(dialog, VK_SHIFT);
    key(dialog, VK_CONTROL);
    EXPECT_EQ(label(), "At least one modifier key required (Ctrl/Shift/Alt/Win)");
    EXPECT_EQ(tray_app.pending_hotkey.modifiers, 0u);
    EXPECT_EQ(tray_app.pending_hotkey.vk, UINT{VK_F9});
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    EXPECT_FALSE(IsWindow(dialog));
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.hotkey.modifiers, 0u);
    EXPECT_EQ(tray_app.hotkey.vk, UINT{VK_F9});
    EXPECT_EQ(stored_dword(L"HotkeyModifiers"), 0u);
    EXPECT_EQ(stored_dword(L"HotkeyVk"), DWORD{VK_F9});
    EXPECT_TRUE(combination_is_taken(0, VK_F9));
    EXPECT_FALSE(combination_is_taken(6, 'A'));
}

TEST_F(HotkeyDialog, HeldModifiersMakeTheCombination) {
    HWND dialog = create_hotkey_dialog(tray);
    // When the window manager focuses the new dialog, Wine re-reads the X keyboard, where
    // nothing is held, and lets go of injected keys; a press that lost them shows the
    // modifier rule, and the keys are held again for the next one.
    for (int attempt = 0; attempt < 5 && label() != "Ctrl + Shift + P"; ++attempt) {
        HeldKey ctrl(VK_CONTROL);
        HeldKey shift(VK_SHIFT);
        key(dialog, 'P');
    }
    EXPECT_EQ(label(), "Ctrl + Shift + P");
    SendMessageW(dialog, WM_COMMAND, IDOK, 0);
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.hotkey.modifiers, 6u);
    EXPECT_EQ(tray_app.hotkey.vk, 0x50u);
    EXPECT_EQ(stored_dword(L"HotkeyModifiers"), 6u);
    EXPECT_EQ(stored_dword(L"HotkeyVk"), 0x50u);
}

// Ctrl and P pressed and let go before the dialog reads any of it: still Ctrl + P.
TEST_F(HotkeyDialog, ModifiersCountAsTheyWereWhenTheKeyWasPressed) {
    HWND dialog = create_hotkey_dialog(tray);
    // Retried as above, for a press whose keys Wine let go of when the dialog was focused.
    for (int attempt = 0; attempt < 5 && label() != "Ctrl + P"; ++attempt) {
        SetFocus(dialog);
        type_keys({'P'}, VK_CONTROL);
        Sleep(50); // all four are through before the first is read
        pump_typed();
    }
    EXPECT_EQ(label(), "Ctrl + P");
    SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    run_hotkey_dialog(tray, dialog);
}

TEST_F(HotkeyDialog, CancelAndCloseChangeNothing) {
    for (UINT how : {UINT{WM_CLOSE}, UINT{WM_COMMAND}}) {
        HWND dialog = create_hotkey_dialog(tray);
        key(dialog, VK_F9);
        if (how == WM_CLOSE)
            SendMessageW(dialog, WM_CLOSE, 0, 0);
        else
            SendMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
        EXPECT_FALSE(IsWindow(dialog));
        run_hotkey_dialog(tray, dialog);
        EXPECT_EQ(tray_app.hotkey.modifiers, 6u);
        EXPECT_EQ(tray_app.hotkey.vk, 0x41u);
        EXPECT_EQ(tray_app.dialog_state, HotkeyDialogState::Closed);
        EXPECT_FALSE(stored_dword(L"HotkeyVk"));
        EXPECT_TRUE(combination_is_taken(6, 'A'));
        EXPECT_FALSE(combination_is_taken(0, VK_F9));
    }
}

TEST_F(HotkeyDialog, AQuitRequestClosesItUnappliedAndReachesTheMainLoop) {
    HWND dialog = create_hotkey_dialog(tray);
    key(dialog, VK_F9);
    PostQuitMessage(7);
    run_hotkey_dialog(tray, dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_TRUE(IsWindowEnabled(tray));
    EXPECT_EQ(tray_app.dialog_state, HotkeyDialogState::Closed);
    EXPECT_EQ(tray_app.hotkey.vk, 0x41u);
    EXPECT_FALSE(stored_dword(L"HotkeyVk"));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 7u);
}

TEST_F(HotkeyDialog, ACombinationAnotherProgramHoldsIsRefusedAndTheNextKeysChooseAnother) {
    ASSERT_TRUE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_ALT, 'K')); // the other holder
    HWND dialog = create_hotkey_dialog(tray);
    tray_app.pending_hotkey = Hotkey{MOD_CONTROL | MOD_ALT, 'K'}; // as typed: key capture aside
    click(dialog, IDOK);
    EXPECT_TRUE(IsWindow(dialog)) << "a hotkey that does nothing must not be accepted";
    EXPECT_EQ(label(), "In use by another program: choose another combination");
    EXPECT_EQ(tray_app.hotkey.modifiers, 6u);
    EXPECT_EQ(tray_app.hotkey.vk, 0x41u);
    EXPECT_TRUE(UnregisterHotKey(tray, HOTKEY_ID)) << "the old hotkey is still the tray's";
    EXPECT_TRUE(register_capture_hotkey(tray));

    // The user chooses another: the next key goes to whatever has the focus after the
    // click, and OK takes the new combination.
    EXPECT_EQ(GetFocus(), dialog) << "the click left the keyboard on the OK button";
    SendMessageW(GetFocus(), WM_KEYDOWN, VK_F9, 0);
    EXPECT_EQ(label(), "F9");
    click(dialog, IDOK);
    run_hotkey_dialog(tray, dialog);
    EXPECT_FALSE(IsWindow(dialog));
    EXPECT_EQ(tray_app.hotkey.modifiers, 0u);
    EXPECT_EQ(stored_dword(L"HotkeyVk"), DWORD{VK_F9});
    EXPECT_TRUE(combination_is_taken(0, VK_F9));
    EXPECT_FALSE(combination_is_taken(6, 0x41)) << "the old hotkey was given up";
    UnregisterHotKey(nullptr, 99);
}

TEST_F(HotkeyDialog, OkWithNothingChangedClosesAndSavesTheCurrentHotkeyEvenWhenHeldElsewhere) {
    // Another program took Ctrl+Shift+A before this tray started: the tray does not hold it.
    unregister_capture_hotkey(tray);
    ASSERT_TRUE(RegisterHotKey(nullptr, 99, MOD_CONTROL | MOD_SHIFT, 'A'));
    HWND dialog = create_hotkey_dialog(tray);
    click(dialog, IDOK);
    EXPECT_FALSE(IsWindow(dialog)) << "OK must not keep the user here: " << label();
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.dialog_state, HotkeyDialogState::Closed);
    EXPECT_EQ(tray_app.hotkey.modifiers, 6u);
    EXPECT_EQ(tray_app.hotkey.vk, 0x41u);
    EXPECT_EQ(stored_dword(L"HotkeyModifiers"), 6u) << "the current hotkey is saved again";
    EXPECT_EQ(stored_dword(L"HotkeyVk"), 0x41u);
    EXPECT_TRUE(UnregisterHotKey(nullptr, 99)) << "the other holder keeps its hotkey";
}

TEST_F(HotkeyDialog, APressOnOkReleasedOffItLeavesTheKeysWithTheDialog) {
    HWND dialog = create_hotkey_dialog(tray);
    HWND ok = GetDlgItem(dialog, IDOK);
    PostMessageW(ok, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(5, 5));
    PostMessageW(ok, WM_LBUTTONUP, 0, MAKELPARAM(-40, -40)); // the user thought better of it
    pump();
    ASSERT_TRUE(IsWindow(dialog));
    PostMessageW(GetFocus(), WM_KEYDOWN, VK_F9, 0);
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.pending_hotkey.vk, UINT{VK_F9}) << "F9 went to the button";
}

TEST_F(HotkeyDialog, HasNoInputMethodAndTakesNoInputMethodKey) {
    HWND dialog = create_hotkey_dialog(tray);
    HIMC context = ImmGetContext(dialog);
    EXPECT_EQ(context, nullptr) << "an input method would compose the keys typed here";
    ImmReleaseContext(dialog, context);
    // Only this window: its controls keep what the thread gives them.
    HWND ok = GetDlgItem(dialog, IDOK);
    context = ImmGetContext(ok);
    EXPECT_NE(context, nullptr);
    ImmReleaseContext(ok, context);

    // Should a key still come as VK_PROCESSKEY, Shift held with it makes no hotkey; the
    // same Shift with P does, which shows it was held.
    std::string before, after_ime, after_p;
    for (int attempt = 0; attempt < 5 && after_p != "Shift + P"; ++attempt) {
        HeldKey shift(VK_SHIFT);
        before = label();
        key(dialog, VK_PROCESSKEY);
        after_ime = label();
        EXPECT_EQ(tray_app.pending_hotkey.vk, 0x41u);
        key(dialog, 'P');
        after_p = label();
    }
    EXPECT_EQ(after_p, "Shift + P");
    EXPECT_EQ(after_ime, before);
    DestroyWindow(dialog);
    run_hotkey_dialog(tray, dialog);
}

TEST_F(HotkeyDialog, AltLettersLookForNoMenuMnemonic) {
    // With no menu to find the letter in, the system beeps at each one.
    HWND dialog = create_hotkey_dialog(tray);
    dialog_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(dialog, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(record_menu_requests)));
    menu_requests.clear();
    const LPARAM alt_down = 1 | (LPARAM{1} << 29);
    for (WPARAM letter : {WPARAM{'x'}, WPARAM{'1'}})
        SendMessageW(dialog, WM_SYSCHAR, letter, alt_down);
    EXPECT_TRUE(menu_requests.empty());
    // Alt+Space is the window menu's own key.
    SendMessageW(dialog, WM_SYSCHAR, ' ', alt_down);
    EXPECT_EQ(menu_requests, std::vector<LPARAM>{' '});
    DestroyWindow(dialog);
    run_hotkey_dialog(tray, dialog);
}

TEST_F(HotkeyDialog, MovedToA200PercentMonitorItTakesTheSuggestedRectangleAndScalesItsContent) {
    HWND dialog = create_hotkey_dialog(tray);
    auto font_height = [&] {
        LOGFONTW font{};
        HFONT used =
            reinterpret_cast<HFONT>(SendMessageW(tray_app.dialog_key_label, WM_GETFONT, 0, 0));
        if (used) GetObjectW(used, sizeof(font), &font);
        return std::abs(font.lfHeight);
    };
    const int height_at_96 = font_height();
    // What Windows suggests there: the client area twice as large, inside a frame and
    // caption of the new DPI.
    RECT suggested{300, 200, 300 + 840, 200 + 380};
    SendMessageW(dialog, WM_DPICHANGED, MAKEWPARAM(192, 192), reinterpret_cast<LPARAM>(&suggested));
    RECT now;
    GetWindowRect(dialog, &now);
    EXPECT_TRUE(EqualRect(&now, &suggested))
        << now.left << "," << now.top << " " << now.right - now.left << "x" << now.bottom - now.top;
    RECT client;
    GetClientRect(dialog, &client);
    for (int id : {IDOK, IDCANCEL}) {
        SCOPED_TRACE(id);
        RECT button;
        GetWindowRect(GetDlgItem(dialog, id), &button);
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&button), 2);
        EXPECT_EQ(button.right - button.left, 160);
        EXPECT_EQ(button.bottom - button.top, 60);
        RECT inside;
        IntersectRect(&inside, &button, &client);
        EXPECT_TRUE(EqualRect(&inside, &button))
            << "cut off at " << client.right << "x" << client.bottom;
    }
    EXPECT_GT(height_at_96, 0);
    EXPECT_GE(font_height(), 2 * height_at_96 - 1) << "the text stayed at 100 %";
    DestroyWindow(dialog);
    run_hotkey_dialog(tray, dialog);
    EXPECT_EQ(tray_app.dialog_font, nullptr);
}

TEST_F(TrayIcon, AnAddRefusedTwiceIsTriedAgainOnATimerModifyFirst) {
    adds_refused = 2;
    add_tray_icon(tray);
    run_until(5, 4 * TRAY_RETRY_MS);
    EXPECT_EQ(icon_requests,
              (std::vector<DWORD>{NIM_ADD, NIM_MODIFY, NIM_ADD, NIM_MODIFY, NIM_ADD}));
    EXPECT_FALSE(KillTimer(tray, TRAY_RETRY_TIMER)) << "the tries go on after the icon showed";
}

TEST_F(TrayIcon, TheTriesLastAboutAMinuteAndATaskbarCreatedStillAddsIt) {
    EXPECT_GE(TRAY_RETRIES * TRAY_RETRY_MS, 45000u);
    EXPECT_LE(TRAY_RETRIES * TRAY_RETRY_MS, 75000u);
    adds_refused = 1000; // no notification area at all
    add_tray_icon(tray);
    for (int tick = 0; tick < TRAY_RETRIES + 10; ++tick)
        SendMessageW(tray, WM_TIMER, TRAY_RETRY_TIMER, 0);
    EXPECT_EQ(std::count(icon_requests.begin(), icon_requests.end(), DWORD{NIM_ADD}),
              1 + TRAY_RETRIES);
    EXPECT_FALSE(KillTimer(tray, TRAY_RETRY_TIMER)) << "the tries never end";

    // Much later the taskbar comes: its broadcast adds the icon, and one refused there
    // starts the tries again, which end when a late add shows through a modify.
    tray_app.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    icon_requests.clear();
    SendMessageW(tray, tray_app.taskbar_created, 0, 0);
    EXPECT_EQ(icon_requests, std::vector<DWORD>{NIM_ADD});
    modify_finds_icon = true;
    SendMessageW(tray, WM_TIMER, TRAY_RETRY_TIMER, 0);
    SendMessageW(tray, WM_TIMER, TRAY_RETRY_TIMER, 0);
    EXPECT_EQ(icon_requests, (std::vector<DWORD>{NIM_ADD, NIM_MODIFY}));
    EXPECT_FALSE(KillTimer(tray, TRAY_RETRY_TIMER));
}

// Every ChangeWindowMessageFilterEx call, as made.
struct FilterCall {
    HWND window;
    UINT message;
    DWORD action;
    bool operator==(const FilterCall&) const = default;
};
std::vector<FilterCall> filter_calls;

BOOL WINAPI record_message_filter(HWND window, UINT message, DWORD action, PCHANGEFILTERSTRUCT) {
    filter_calls.push_back({window, message, action});
    return TRUE;
}

TEST(TrayWindow, LetsThroughTheIconsCallbackAndTaskbarCreatedAndNothingElse) {
    // Run as administrator, Explorer's messages above WM_USER reach only a window that lets
    // them through; Wine keeps no integrity levels, so the calls are what is checked.
    filter_calls.clear();
    set_message_filter_function(record_message_filter);
    HWND tray = make_tray_window();
    set_message_filter_function(nullptr);
    ASSERT_NE(tray, nullptr);
    const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbar_created, 0u);
    std::sort(filter_calls.begin(), filter_calls.end(),
              [](const FilterCall& a, const FilterCall& b) { return a.message < b.message; });
    // A registered message is above 0xC000, the callback below.
    EXPECT_EQ(filter_calls, (std::vector<FilterCall>{{tray, WM_APP + 1, MSGFLT_ALLOW},
                                                     {tray, taskbar_created, MSGFLT_ALLOW}}));
    EXPECT_EQ(tray_app.taskbar_created, taskbar_created) << "the window answers the message";
    DestroyWindow(tray);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
}

// A visible window of the class Windows fades a chosen menu item out in.
HWND show_fading_menu_item() {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"SysFader";
    RegisterClassExW(&wc);
    return CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"SysFader", L"",
                           WS_POPUP | WS_VISIBLE, 1700, 900, 120, 24, nullptr, nullptr,
                           wc.hInstance, nullptr);
}

// Runs the message loop until `count` overlays are open, for at most `ms`.
size_t run_until_overlays(size_t count, DWORD ms) {
    const ULONGLONG end = GetTickCount64() + ms;
    while (own_windows(L"VLS_Capture").size() < count && GetTickCount64() < end) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump();
    }
    return own_windows(L"VLS_Capture").size();
}

void close_overlays() {
    for (HWND overlay : own_windows(L"VLS_Capture")) DestroyWindow(overlay);
    pump();
}

// The tray window as the menu's grab finds it.
using MenuGrab = TrayIcon;

TEST_F(MenuGrab, WaitsForTheChosenItemsFadeWhileTheHotkeyAndDoubleClickDoNot) {
    HWND fader = show_fading_menu_item();
    ASSERT_NE(fader, nullptr);
    SendMessageW(tray, WM_COMMAND, IDM_CAPTURE, 0);
    EXPECT_TRUE(own_windows(L"VLS_Capture").empty()) << "the fading item would be in the picture";
    // The hotkey and the icon's double-click grab at once all the same.
    SendMessageW(tray, WM_HOTKEY, HOTKEY_ID, 0);
    EXPECT_EQ(own_windows(L"VLS_Capture").size(), 1u);
    SendMessageW(tray, WM_TRAYICON, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(own_windows(L"VLS_Capture").size(), 2u);
    DestroyWindow(fader);
    EXPECT_EQ(run_until_overlays(3, 3000), 3u) << "the menu's grab never came";
    close_overlays();
}

TEST_F(MenuGrab, AFaderThatStaysHoldsItOnlyAMoment) {
    HWND fader = show_fading_menu_item();
    SendMessageW(tray, WM_COMMAND, IDM_CAPTURE, 0);
    EXPECT_EQ(run_until_overlays(1, 3000), 1u);
    EXPECT_TRUE(IsWindowVisible(fader));
    DestroyWindow(fader);
    close_overlays();
}
