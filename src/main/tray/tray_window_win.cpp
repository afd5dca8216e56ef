#include "main/tray/tray_window_win.h"

#include <string>

#include "capture/overlay/overlay_win.h"
#include "main/fatal_stop_win.h"
#include "main/hotkey/hotkey.h"
#include "main/hotkey/hotkey_dialog_win.h"
#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/settings_win.h"
#include "main/tray/tray_icon_win.h"
#include "main/tray/tray_state_win.h"
#include "main/tray/tray_text.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"

namespace {

constexpr UINT_PTR MENU_FADE_TIMER = 2; // TRAY_RETRY_TIMER is 1
constexpr UINT MENU_FADE_POLL_MS = 15;
constexpr ULONGLONG MENU_FADE_LONGEST_MS = 250;

// Windows fades a chosen menu item out after the menu has closed (selection fade, on by
// default), in a layered window of this class.
bool menu_fade_showing() {
    HWND fader = nullptr;
    while ((fader = FindWindowExW(nullptr, fader, L"SysFader", nullptr)) != nullptr)
        if (IsWindowVisible(fader)) return true;
    return false;
}

// The tray menu's Screenshot: a grab while the item still fades would freeze our own menu
// item into the picture, so it waits until the fade is over, a quarter of a second at
// most. Polled on a timer, not slept: the fade is animated on this thread's messages.
void capture_after_menu_fade(HWND window) {
    if (!menu_fade_showing()) {
        open_overlay();
        return;
    }
    ++tray_app.menu_grabs_waiting;
    tray_app.menu_grab_deadline = GetTickCount64() + MENU_FADE_LONGEST_MS;
    SetTimer(window, MENU_FADE_TIMER, MENU_FADE_POLL_MS, nullptr);
}

void on_menu_fade_timer(HWND window) {
    if (menu_fade_showing() && GetTickCount64() < tray_app.menu_grab_deadline) return;
    KillTimer(window, MENU_FADE_TIMER);
    for (; tray_app.menu_grabs_waiting > 0; --tray_app.menu_grabs_waiting) open_overlay();
}

void append_item(HMENU menu, UINT flags, UINT_PTR id, std::string_view text) {
    AppendMenuW(menu, flags, id, to_wide(text).c_str());
}

void show_about_box(HWND window) {
    const Language language = interface_language();
    MessageBoxW(window, to_wide(about_text(language)).c_str(), to_wide(app_name(language)).c_str(),
                MB_OK | MB_ICONINFORMATION);
}

void run_tray_command(HWND window, UINT id) {
    switch (id) {
    case IDM_CAPTURE:
        capture_after_menu_fade(window);
        break;
    case IDM_AUTOSTART:
        toggle_autostart();
        break;
    case IDM_HOTKEY_SETTINGS:
        open_hotkey_dialog(window);
        break;
    case IDM_LANG_CHINESE:
        set_interface_language(Language::Chinese);
        break;
    case IDM_LANG_ENGLISH:
        set_interface_language(Language::English);
        break;
    case IDM_ABOUT:
        show_about_box(window);
        break;
    case IDM_EXIT:
        unregister_capture_hotkey(window);
        remove_tray_icon(window);
        PostQuitMessage(0);
        break;
    default:
        break;
    }
}

void on_tray_icon(HWND window, LPARAM lparam) {
    switch (LOWORD(lparam)) {
    case WM_LBUTTONDBLCLK:
        open_overlay();
        break;
    case WM_RBUTTONUP:
        show_tray_menu(window);
        break;
    default:
        break; // single clicks and mouse moves do nothing
    }
}

} // namespace

HMENU build_tray_menu(Language language, bool autostart) {
    HMENU menu = CreatePopupMenu();
    if (menu == nullptr) fatal_stop();
    append_item(menu, MF_STRING, IDM_CAPTURE, menu_screenshot(language));
    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    append_item(menu, autostart ? MF_CHECKED : MF_STRING, IDM_AUTOSTART, menu_autostart(language));
    append_item(menu, MF_STRING, IDM_HOTKEY_SETTINGS, menu_hotkey_settings(language));

    HMENU languages = CreatePopupMenu();
    if (languages == nullptr) fatal_stop();
    // The language names stay in their own language whatever the current one is.
    append_item(languages, language == Language::Chinese ? MF_CHECKED : MF_STRING, IDM_LANG_CHINESE,
                "中文");
    append_item(languages, language == Language::English ? MF_CHECKED : MF_STRING, IDM_LANG_ENGLISH,
                "English");
    append_item(menu, MF_POPUP, reinterpret_cast<UINT_PTR>(languages), menu_language(language));

    AppendMenuW(menu, MF_SEPARATOR, 0, nullptr);
    append_item(menu, MF_STRING, IDM_ABOUT, menu_about(language));
    append_item(menu, MF_STRING, IDM_EXIT, menu_exit(language));
    return menu;
}

void show_tray_menu(HWND window) {
    // Built anew each time, so the check marks show the registry and language as they are.
    HMENU menu = build_tray_menu(interface_language(), is_autostart_enabled());
    POINT cursor{0, 0};
    GetCursorPos(&cursor);
    // Without the foreground the menu would not close when the user clicks elsewhere.
    SetForegroundWindow(window);
    TrackPopupMenu(menu, TPM_RIGHTALIGN | TPM_BOTTOMALIGN, cursor.x, cursor.y, 0, window, nullptr);
    // The documented companion of the foreground switch: without a message after tracking,
    // the next menu can vanish at once or this one fail to close.
    PostMessageW(window, WM_NULL, 0, 0);
    DestroyMenu(menu); // takes the language submenu with it
}

LRESULT CALLBACK tray_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CREATE:
        // Windows broadcasts "TaskbarCreated" when Explorer restarts, and at logon, where a
        // Run entry often starts before the taskbar and the first NIM_ADD fails.
        tray_app.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
        allow_taskbar_messages(window, tray_app.taskbar_created);
        return 0;
    case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        run_tray_command(window, LOWORD(wparam));
        return 0;
    case WM_HOTKEY:
        if (wparam == HOTKEY_ID) open_overlay();
        return 0;
    case WM_TRAYICON:
        on_tray_icon(window, lparam);
        return 0;
    case WM_TIMER:
        if (wparam == TRAY_RETRY_TIMER) retry_tray_icon(window);
        if (wparam == MENU_FADE_TIMER) on_menu_fade_timer(window);
        return 0;
    default:
        // A new taskbar knows no icons: ours goes back in.
        if (message != 0 && message == tray_app.taskbar_created) {
            add_tray_icon(window);
            return 0;
        }
        return DefWindowProcW(window, message, wparam, lparam);
    }
}
