#include "main/hotkey/hotkey_dialog_win.h"

#include <imm.h>

#include <string>

#include "capture/window_class_win.h"
#include "main/dpi_win.h"
#include "main/fatal_stop_win.h"
#include "main/hotkey/hotkey.h"
#include "main/hotkey/hotkey_capture.h"
#include "main/hotkey/hotkey_registration_win.h"
#include "main/tray/app_icon_win.h"
#include "main/tray/settings_win.h"
#include "main/tray/tray_state_win.h"
#include "strings/interface_language.h"
#include "strings/wide_win.h"

namespace {

constexpr wchar_t DIALOG_CLASS[] = L"VLS_HkDlg";
constexpr int DIALOG_WIDTH = 420;
constexpr int DIALOG_HEIGHT = 180;

void register_dialog_class(HINSTANCE instance) {
    WindowClass dialog_class;
    dialog_class.name = DIALOG_CLASS;
    dialog_class.procedure = hotkey_dialog_proc;
    dialog_class.background = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    dialog_class.load_icon = load_app_icon;
    register_window_class(instance, dialog_class);
}

// The layout is in 96-DPI pixels. The process is per-monitor DPI aware, so Windows scales
// the caption and frame but not these sizes: unscaled, OK and Cancel leave the client
// area at 200 % and the dialog cannot be confirmed (Enter is a key it captures).
int scaled(int length, UINT dpi) { return MulDiv(length, static_cast<int>(dpi), 96); }

// Where each control stands at 96 DPI: left, top, width, height in client pixels.
struct ControlPlace {
    int id;
    RECT r;
};
constexpr ControlPlace CONTROL_PLACES[] = {
    {IDC_HOTKEY_PROMPT, {20, 20, 370, 24}},
    {IDC_HOTKEY_NAME, {20, 55, 370, 36}},
    {IDOK, {120, 110, 80, 30}},
    {IDCANCEL, {220, 110, 80, 30}},
};

HWND add_control(HWND dialog, HINSTANCE instance, const wchar_t* window_class,
                 std::string_view text, DWORD ex_style, DWORD style, int id) {
    return CreateWindowExW(ex_style, window_class, to_wide(text).c_str(), style, 0, 0, 0, 0, dialog,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

// Places the controls and gives them the system's message font, both at `dpi`. Run at
// creation and again when the dialog moves to a monitor of another scale: Windows then
// changes the frame and caption only. The font the controls had before goes once none
// uses it any more.
void lay_out_controls(HWND dialog, UINT dpi) {
    LOGFONTW face;
    HFONT font = message_font_at_dpi(dpi, face) ? CreateFontIndirectW(&face) : nullptr;
    for (const ControlPlace& place : CONTROL_PLACES) {
        HWND control = GetDlgItem(dialog, place.id);
        if (control == nullptr) continue;
        SetWindowPos(control, nullptr, scaled(place.r.left, dpi), scaled(place.r.top, dpi),
                     scaled(place.r.right, dpi), scaled(place.r.bottom, dpi),
                     SWP_NOZORDER | SWP_NOACTIVATE);
        if (font) SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    }
    if (font == nullptr) return; // the controls keep the font they have
    if (tray_app.dialog_font) DeleteObject(tray_app.dialog_font);
    tray_app.dialog_font = font;
}

// The documented answer to WM_DPICHANGED: the rectangle Windows suggests for the new DPI,
// then the content laid out at it.
void on_dpi_changed(HWND dialog, UINT dpi, const RECT& suggested) {
    SetWindowPos(dialog, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    lay_out_controls(dialog, dpi);
}

void set_label(std::string_view text) {
    SetWindowTextW(tray_app.dialog_key_label, to_wide(text).c_str());
}

// As they were when the key now handled was pressed, not as they are now: a quick
// Ctrl+Shift+P has often let go of Ctrl and Shift by the time a busy thread reads the P.
uint32_t held_modifiers() {
    auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
    uint32_t modifiers = 0;
    if (down(VK_CONTROL)) modifiers |= MOD_CONTROL;
    if (down(VK_SHIFT)) modifiers |= MOD_SHIFT;
    if (down(VK_MENU)) modifiers |= MOD_ALT;
    if (down(VK_LWIN) || down(VK_RWIN)) modifiers |= MOD_WIN;
    return modifiers;
}

void on_key_down(uint32_t vk) {
    const uint32_t modifiers = held_modifiers();
    const bool open = tray_app.dialog_state != HotkeyDialogState::Closed;
    switch (classify_key_press(vk, modifiers)) {
    case KeyPress::Ignored:
        break;
    case KeyPress::NeedsModifier:
        if (open) set_label(hotkey_need_modifier(interface_language()));
        break;
    case KeyPress::Accepted:
        if (!open) break;
        tray_app.pending_hotkey = Hotkey{modifiers, vk};
        set_label(format_hotkey(modifiers, vk));
        break;
    }
}

} // namespace

HWND create_hotkey_dialog(HWND tray_window) {
    HINSTANCE instance = GetModuleHandleW(nullptr);
    if (instance == nullptr) fatal_stop();
    register_dialog_class(instance);
    const Language language = interface_language();
    // Made hidden, then sized for the DPI of the monitor it is on, then shown.
    HWND dialog = CreateWindowExW(WS_EX_DLGMODALFRAME, DIALOG_CLASS,
                                  to_wide(hotkey_dialog_title(language)).c_str(),
                                  WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, DIALOG_WIDTH,
                                  DIALOG_HEIGHT, tray_window, nullptr, instance, nullptr);
    if (dialog == nullptr) fatal_stop();
    // Keys are combinations here, not text: with an input method on (the default for
    // Chinese users) letters would come as VK_PROCESSKEY and open a composition window at
    // the dialog's corner. This window alone loses its input context.
    ImmAssociateContextEx(dialog, nullptr, 0);
    const UINT dpi = window_dpi(dialog);
    const int width = scaled(DIALOG_WIDTH, dpi);
    const int height = scaled(DIALOG_HEIGHT, dpi);
    SetWindowPos(dialog, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
                 (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);

    // A control that cannot be made is simply missing; key capture works without it.
    add_control(dialog, instance, L"STATIC", hotkey_prompt(language), 0, WS_CHILD | WS_VISIBLE,
                IDC_HOTKEY_PROMPT);
    HWND label = add_control(
        dialog, instance, L"STATIC", format_hotkey(tray_app.hotkey.modifiers, tray_app.hotkey.vk),
        WS_EX_CLIENTEDGE, WS_CHILD | WS_VISIBLE | SS_CENTERIMAGE | SS_CENTER, IDC_HOTKEY_NAME);
    add_control(dialog, instance, L"BUTTON", button_ok(language), 0,
                WS_CHILD | WS_VISIBLE | BS_DEFPUSHBUTTON, IDOK);
    add_control(dialog, instance, L"BUTTON", button_cancel(language), 0,
                WS_CHILD | WS_VISIBLE | BS_PUSHBUTTON, IDCANCEL);
    lay_out_controls(dialog, dpi);

    tray_app.dialog_key_label = label;
    tray_app.pending_hotkey = tray_app.hotkey;
    tray_app.dialog_state = HotkeyDialogState::Open;
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

void run_hotkey_dialog(HWND tray_window, HWND dialog) {
    SetForegroundWindow(dialog);
    EnableWindow(tray_window, FALSE);
    // No IsDialogMessage: Tab, Enter and Esc must reach the window as keys to capture.
    MSG msg;
    bool quit = false;
    while (IsWindow(dialog)) {
        const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
        if (got == 0) {
            quit = true;
            break;
        }
        if (got < 0) break;
        // A control can still hold the focus (a press on OK released off it tells nobody):
        // its keys are the dialog's all the same, and the dialog takes the focus back.
        if (msg.message >= WM_KEYFIRST && msg.message <= WM_KEYLAST && msg.hwnd != dialog &&
            IsChild(dialog, msg.hwnd)) {
            SetFocus(dialog);
            msg.hwnd = dialog;
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    // A quit request ends the application: the dialog goes without applying anything.
    if (quit && IsWindow(dialog)) DestroyWindow(dialog);
    EnableWindow(tray_window, TRUE);
    SetForegroundWindow(tray_window);

    const HotkeyDialogState outcome = quit ? HotkeyDialogState::Open : tray_app.dialog_state;
    tray_app.dialog_state = HotkeyDialogState::Closed;
    tray_app.dialog_key_label = nullptr;
    // OK registered the new hotkey already; it is only saved here.
    if (outcome == HotkeyDialogState::Accepted) save_hotkey_settings(tray_app.hotkey);
    // Handed on so the main loop ends too.
    if (quit) PostQuitMessage(static_cast<int>(msg.wParam));
}

void open_hotkey_dialog(HWND tray_window) {
    if (tray_app.dialog_state != HotkeyDialogState::Closed) {
        // Reached through the tray icon's menu while the dialog shows: a second dialog
        // would leave the first one dead, so the open one comes forward instead.
        if (HWND open = FindWindowW(DIALOG_CLASS, nullptr)) SetForegroundWindow(open);
        return;
    }
    run_hotkey_dialog(tray_window, create_hotkey_dialog(tray_window));
}

LRESULT CALLBACK hotkey_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    switch (message) {
    case WM_CLOSE:
        DestroyWindow(window);
        return 0;
    case WM_COMMAND:
        switch (LOWORD(wparam)) {
        case IDOK:
            if (tray_app.dialog_state != HotkeyDialogState::Closed) {
                // A new combination another program holds would do nothing: the dialog stays
                // open with the old hotkey registered and says so. The current one is
                // registered again and kept even when it is held elsewhere (taken before
                // this tray started): that is no reason to keep the user here.
                const Hotkey pending = tray_app.pending_hotkey;
                const bool unchanged = pending.modifiers == tray_app.hotkey.modifiers &&
                                       pending.vk == tray_app.hotkey.vk;
                if (!switch_capture_hotkey(GetWindow(window, GW_OWNER), pending) && !unchanged) {
                    set_label(hotkey_taken(interface_language()));
                    // The click gave OK the focus: the next keys would go to the button
                    // (Space pressing it again) instead of making the next combination.
                    SetFocus(window);
                    return 0;
                }
                tray_app.dialog_state = HotkeyDialogState::Accepted;
            }
            DestroyWindow(window);
            return 0;
        case IDCANCEL:
            DestroyWindow(window);
            return 0;
        default:
            return 0;
        }
    case WM_ACTIVATE:
        // Keys are captured by this window only, never by a control: it takes the focus
        // back whenever it is activated, whichever control had it before.
        if (LOWORD(wparam) != WA_INACTIVE) SetFocus(window);
        return 0;
    case WM_KEYDOWN:
        on_key_down(static_cast<uint32_t>(wparam));
        return 0;
    case WM_DPICHANGED:
        on_dpi_changed(window, LOWORD(wparam), *reinterpret_cast<const RECT*>(lparam));
        return 0;
    case WM_NCDESTROY:
        // After the controls are gone: none of them draws with the font any more.
        if (tray_app.dialog_font) DeleteObject(tray_app.dialog_font);
        tray_app.dialog_font = nullptr;
        return DefWindowProcW(window, message, wparam, lparam);
    case WM_SYSCHAR:
        // Alt+letter would look for a menu mnemonic and, with no menu, beep. Alt+Space
        // still opens the window menu.
        if (wparam == L' ') return DefWindowProcW(window, message, wparam, lparam);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}
