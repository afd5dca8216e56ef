#include "main/tray/tray_icon_win.h"

#include <algorithm>
#include <string>

#include "main/tray/app_icon_win.h"
#include "main/tray/tray_icon_testing_win.h"
#include "main/tray/tray_state_win.h"
#include "main/tray/tray_text.h"
#include "main/tray/tray_window_win.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"

namespace {

constexpr UINT TRAY_ICON_ID = 1;

NotifyIconFunction notify_icon = Shell_NotifyIconW;                 // or a test's stand-in
MessageFilterFunction message_filter = ChangeWindowMessageFilterEx; // or a test's stand-in

NOTIFYICONDATAW tray_icon_record(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    data.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data.uCallbackMessage = WM_TRAYICON;
    // Made once: the notification area copies the image, and every TaskbarCreated comes
    // back here.
    if (!tray_app.tray_icon) tray_app.tray_icon = load_app_icon(16, 16);
    data.hIcon = tray_app.tray_icon;
    // Truncated to the field's size, always NUL-terminated.
    const std::wstring tip = to_wide(tray_tip_text(interface_language()));
    const size_t units = std::min(tip.size(), std::size(data.szTip) - 1);
    std::copy_n(tip.c_str(), units, data.szTip);
    data.szTip[units] = L'\0';
    return data;
}

} // namespace

void set_notify_icon_function(NotifyIconFunction notify) {
    notify_icon = notify ? notify : Shell_NotifyIconW;
}

void set_message_filter_function(MessageFilterFunction filter) {
    message_filter = filter ? filter : ChangeWindowMessageFilterEx;
}

// Run as administrator, the process gets no message above WM_USER from Explorer, which
// runs at a lower integrity level, unless the window lets it through: without this the
// icon ignores every click and is lost for good when Explorer restarts. Only this window
// and these two messages are opened. The results are ignored: a process that is not
// elevated needs neither call.
void allow_taskbar_messages(HWND window, UINT taskbar_created) {
    message_filter(window, WM_TRAYICON, MSGFLT_ALLOW, nullptr);
    if (taskbar_created != 0) message_filter(window, taskbar_created, MSGFLT_ALLOW, nullptr);
}

void add_tray_icon(HWND window) {
    NOTIFYICONDATAW data = tray_icon_record(window);
    if (notify_icon(NIM_ADD, &data)) {
        tray_app.tray_retries_left = 0;
        KillTimer(window, TRAY_RETRY_TIMER);
        return;
    }
    // At logon a Run entry can start while Explorer is too busy to take the icon, and as
    // its taskbar exists already no TaskbarCreated follows: without more tries the menu
    // stays out of reach for the whole session. With no notification area at all the
    // tries run out and the hotkey still works.
    tray_app.tray_retries_left = TRAY_RETRIES;
    SetTimer(window, TRAY_RETRY_TIMER, TRAY_RETRY_MS, nullptr);
}

void retry_tray_icon(HWND window) {
    if (tray_app.tray_retries_left > 0) {
        --tray_app.tray_retries_left;
        NOTIFYICONDATAW data = tray_icon_record(window);
        // A NIM_ADD that timed out can have gone through late: the icon is there then,
        // and only a modify finds it.
        if (notify_icon(NIM_MODIFY, &data) || notify_icon(NIM_ADD, &data))
            tray_app.tray_retries_left = 0;
    }
    if (tray_app.tray_retries_left == 0) KillTimer(window, TRAY_RETRY_TIMER);
}

void remove_tray_icon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    notify_icon(NIM_DELETE, &data);
}
