#include "main/tray/tray_icon_win.h"

#include <shellapi.h>

#include <algorithm>
#include <string>

#include "main/tray/app_icon_win.h"
#include "main/tray/tray_menu_win.h"
#include "main/tray/tray_state_win.h"
#include "main/tray/tray_text.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"

namespace {

constexpr UINT TRAY_ICON_ID = 1;

} // namespace

void add_tray_icon(HWND window) {
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
    Shell_NotifyIconW(NIM_ADD, &data); // no notification area: the hotkey still works
}

void remove_tray_icon(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    Shell_NotifyIconW(NIM_DELETE, &data);
}
