#include "main/tray/tray_app_win.h"

#include "capture/window_class_win.h"
#include "main/dpi_win.h"
#include "main/fatal_stop_win.h"
#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/app_icon_win.h"
#include "main/tray/settings_win.h"
#include "main/tray/tray_icon_win.h"
#include "main/tray/tray_state_win.h"
#include "main/tray/tray_window_win.h"
#include "strings/detect_language_win.h"
#include "strings/interface_language.h"

namespace {

void register_tray_class(HINSTANCE instance) {
    WindowClass tray_class;
    tray_class.name = L"VLS_Msg";
    tray_class.procedure = tray_window_proc;
    tray_class.load_icon = load_app_icon;
    register_window_class(instance, tray_class);
}

} // namespace

void run_tray_app() {
    // The handle stays open for the life of the process: it is the single-instance marker.
    CreateMutexW(nullptr, TRUE, L"Vellumshot_Single");
    if (GetLastError() == ERROR_ALREADY_EXISTS) return;
    set_per_monitor_dpi_awareness();
    set_interface_language(detect_language());
    tray_app.hotkey = load_hotkey_settings();

    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (instance == nullptr) fatal_stop();
    register_tray_class(instance);
    // The window learns "TaskbarCreated" as it is created (tray_window_proc). Broadcasts
    // skip message-only windows, so this one is a hidden top-level window that never shows.
    HWND window = CreateWindowExW(WS_EX_TOOLWINDOW, L"VLS_Msg", L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                  nullptr, instance, nullptr);
    if (window == nullptr) fatal_stop();
    add_tray_icon(window);
    register_capture_hotkey(window);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    remove_tray_icon(window);
}
