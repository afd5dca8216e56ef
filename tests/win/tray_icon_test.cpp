// In-process tests of the tray icon: its adds tried again while the notification area
// refuses them, and added again for a new taskbar.
#include <gtest/gtest.h>

#include <windows.h>

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "main/tray/tray_icon_testing_win.h"
#include "main/tray/tray_icon_win.h"
#include "main/tray/tray_state_win.h"
#include "window_driver.h"

namespace {

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
        close_tray_window(tray);
        set_notify_icon_function(nullptr);
    }

    HWND tray = nullptr;
};

} // namespace

TEST_F(TrayIcon, AnAddRefusedTwiceIsTriedAgainOnATimerModifyFirst) {
    adds_refused = 2;
    add_tray_icon(tray);
    pump_until([] { return icon_requests.size() >= 5; }, 4 * TRAY_RETRY_MS);
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
