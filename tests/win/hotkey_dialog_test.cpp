// In-process tests of the hotkey dialog driven with synthetic messages.
#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "main/hotkey/hotkey_dialog_win.h"
#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/tray_state_win.h"
#include "strings/interface_language.h"
#include "window_driver.h"

namespace {

std::optional<DWORD> stored_dword(const wchar_t* name) {
    DWORD value = 0, size = sizeof(value);
    if (RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Vellumshot", name, RRF_RT_REG_DWORD, nullptr,
                     &value, &size) != ERROR_SUCCESS)
        return std::nullopt;
    return value;
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
        pump();
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
        close_tray_window(tray);
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
        pump();
    }
    std::string label() { return window_text(tray_app.dialog_key_label); }

    HWND tray = nullptr;
};

} // namespace

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
