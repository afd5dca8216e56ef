// In-process tests of the tray's context menu as built and the tray window's procedure:
// its commands, the hotkey, the icon's double-click and the messages it lets through.
#include <gtest/gtest.h>

#include <windows.h>

#include <algorithm>
#include <string>
#include <vector>

#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/tray_icon_testing_win.h"
#include "main/tray/tray_state_win.h"
#include "main/tray/tray_window_win.h"
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

// A visible window of the class Windows fades a chosen menu item out in.
HWND show_fading_menu_item() {
    return make_window(L"SysFader", DefWindowProcW, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                       WS_POPUP | WS_VISIBLE, {1700, 900, 1820, 924});
}

// Runs the message loop until `count` overlays are open, for at most three seconds.
size_t run_until_overlays(size_t count) {
    pump_until([&] { return own_windows(OVERLAY_WINDOW_CLASS).size() >= count; }, 3000);
    return own_windows(OVERLAY_WINDOW_CLASS).size();
}

class TrayWindow : public testing::Test {
  protected:
    void SetUp() override {
        tray = make_tray_window();
        ASSERT_NE(tray, nullptr);
    }
    void TearDown() override {
        close_own_windows();
        close_tray_window(tray);
    }

    HWND tray = nullptr;
};

// The tray window as the menu's grab finds it.
using MenuGrab = TrayWindow;

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

TEST_F(TrayWindow, LanguageCommandsSwitchAndOtherIdsDoNothing) {
    set_interface_language(Language::Chinese);
    EXPECT_EQ(SendMessageW(tray, WM_COMMAND, 40005, 0), 0);
    EXPECT_EQ(interface_language(), Language::English);
    EXPECT_EQ(SendMessageW(tray, WM_COMMAND, 40099, 0), 0);
    EXPECT_EQ(SendMessageW(tray, WM_HOTKEY, 2, 0), 0);
    EXPECT_EQ(interface_language(), Language::English);
    SendMessageW(tray, WM_COMMAND, 40004, 0);
    EXPECT_EQ(interface_language(), Language::Chinese);
}

TEST_F(TrayWindow, StartOnBootCommandTogglesTheRunValue) {
    const bool before = run_value_exists();
    SendMessageW(tray, WM_COMMAND, 40002, 0);
    EXPECT_NE(run_value_exists(), before);
    SendMessageW(tray, WM_COMMAND, 40002, 0);
    EXPECT_EQ(run_value_exists(), before);
}

TEST_F(TrayWindow, ExitFreesTheHotkeyAndAsksToQuit) {
    tray_app.hotkey = Hotkey{0x7, 0x4B};
    register_capture_hotkey(tray);
    ASSERT_TRUE(combination_is_taken(0x7, 0x4B));
    SendMessageW(tray, WM_COMMAND, 40007, 0);
    EXPECT_FALSE(combination_is_taken(0x7, 0x4B));
    MSG msg;
    ASSERT_TRUE(PeekMessageW(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
    EXPECT_EQ(msg.wParam, 0u);
    EXPECT_TRUE(IsWindow(tray)); // the window lives on until the process ends
}

TEST_F(TrayWindow, LetsThroughTheIconsCallbackAndTaskbarCreatedAndNothingElse) {
    // Run as administrator, Explorer's messages above WM_USER reach only a window that lets
    // them through; Wine keeps no integrity levels, so the calls are what is checked.
    filter_calls.clear();
    set_message_filter_function(record_message_filter);
    HWND filtered = make_tray_window();
    set_message_filter_function(nullptr);
    ASSERT_NE(filtered, nullptr);
    const UINT taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    ASSERT_NE(taskbar_created, 0u);
    std::sort(filter_calls.begin(), filter_calls.end(),
              [](const FilterCall& a, const FilterCall& b) { return a.message < b.message; });
    // A registered message is above 0xC000, the callback below.
    EXPECT_EQ(filter_calls, (std::vector<FilterCall>{{filtered, WM_APP + 1, MSGFLT_ALLOW},
                                                     {filtered, taskbar_created, MSGFLT_ALLOW}}));
    EXPECT_EQ(tray_app.taskbar_created, taskbar_created) << "the window answers the message";
    close_tray_window(filtered);
}

TEST_F(MenuGrab, WaitsForTheChosenItemsFadeWhileTheHotkeyAndDoubleClickDoNot) {
    HWND fader = show_fading_menu_item();
    ASSERT_NE(fader, nullptr);
    SendMessageW(tray, WM_COMMAND, IDM_CAPTURE, 0);
    EXPECT_TRUE(own_windows(OVERLAY_WINDOW_CLASS).empty())
        << "the fading item would be in the picture";
    // The hotkey and the icon's double-click grab at once all the same.
    SendMessageW(tray, WM_HOTKEY, HOTKEY_ID, 0);
    EXPECT_EQ(own_windows(OVERLAY_WINDOW_CLASS).size(), 1u);
    SendMessageW(tray, WM_TRAYICON, 0, WM_LBUTTONDBLCLK);
    EXPECT_EQ(own_windows(OVERLAY_WINDOW_CLASS).size(), 2u);
    DestroyWindow(fader);
    EXPECT_EQ(run_until_overlays(3), 3u) << "the menu's grab never came";
}

TEST_F(MenuGrab, AFaderThatStaysHoldsItOnlyAMoment) {
    HWND fader = show_fading_menu_item();
    SendMessageW(tray, WM_COMMAND, IDM_CAPTURE, 0);
    EXPECT_EQ(run_until_overlays(1), 1u);
    EXPECT_TRUE(IsWindowVisible(fader));
    DestroyWindow(fader);
}
