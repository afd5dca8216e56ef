#include "window_driver.h"

#include <algorithm>

#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/overlay/toolbar.h"
#include "main/tray/tray_window_win.h"
#include "strings/wide_win.h"

LPARAM at(int x, int y) {
    return static_cast<LPARAM>(static_cast<uint32_t>(static_cast<uint16_t>(x)) |
                               (static_cast<uint32_t>(static_cast<uint16_t>(y)) << 16));
}

void pump() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
}

void pump_typed() {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
}

void type_keys(std::initializer_list<WORD> keys, WORD held) {
    std::vector<INPUT> inputs;
    auto add = [&](WORD vk, DWORD flags) {
        INPUT input{};
        input.type = INPUT_KEYBOARD;
        input.ki.wVk = vk;
        input.ki.dwFlags = flags;
        inputs.push_back(input);
    };
    if (held) add(held, 0);
    for (WORD vk : keys) {
        add(vk, 0);
        add(vk, KEYEVENTF_KEYUP);
    }
    if (held) add(held, KEYEVENTF_KEYUP);
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

void send_mouse(DWORD flags, POINT to) {
    INPUT input{};
    input.type = INPUT_MOUSE;
    input.mi.dwFlags = flags;
    if (flags & MOUSEEVENTF_MOVE) {
        // Absolute positions run from 0 to 65535 across the primary screen.
        input.mi.dwFlags |= MOUSEEVENTF_ABSOLUTE;
        input.mi.dx =
            (to.x * 65536 + GetSystemMetrics(SM_CXSCREEN) - 1) / GetSystemMetrics(SM_CXSCREEN);
        input.mi.dy =
            (to.y * 65536 + GetSystemMetrics(SM_CYSCREEN) - 1) / GetSystemMetrics(SM_CYSCREEN);
    }
    SendInput(1, &input, sizeof(input));
}

std::vector<HWND> own_windows(const wchar_t* window_class) {
    std::vector<HWND> found;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, window_class, nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) found.push_back(window);
    }
    return found;
}

void close_own_windows() {
    for (const wchar_t* window_class : {OVERLAY_WINDOW_CLASS, PIN_WINDOW_CLASS})
        for (HWND window : own_windows(window_class)) DestroyWindow(window);
    pump();
}

HWND make_window(const wchar_t* window_class, WNDPROC procedure, DWORD ex_style, DWORD style,
                 RECT box, HWND parent) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = procedure;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = window_class;
    RegisterClassExW(&wc);
    return CreateWindowExW(ex_style, window_class, L"", style, box.left, box.top,
                           box.right - box.left, box.bottom - box.top, parent, nullptr,
                           wc.hInstance, nullptr);
}

HWND open_own_window(const wchar_t* window_class, const std::function<bool()>& open) {
    const std::vector<HWND> before = own_windows(window_class);
    if (!open()) return nullptr;
    for (HWND window : own_windows(window_class))
        if (std::find(before.begin(), before.end(), window) == before.end()) return window;
    return nullptr;
}

HWND open_new_overlay() {
    return open_own_window(OVERLAY_WINDOW_CLASS, [] {
        open_overlay();
        return true;
    });
}

HWND open_selected_overlay() {
    HWND window = open_new_overlay();
    if (!window) return nullptr;
    drag(window, 100, 100, 700, 500);
    return overlay_state(window)->toolbar_active ? window : nullptr;
}

void drag(HWND window, int x1, int y1, int x2, int y2) {
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(x1, y1));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at((x1 + x2) / 2, (y1 + y2) / 2));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(x2, y2));
    SendMessageW(window, WM_LBUTTONUP, 0, at(x2, y2));
}

bool press_toolbar_button(HWND window, ToolbarCommand command) {
    pump();
    const OverlayState* state = overlay_state(window);
    if (!state) return false;
    for (const ToolbarButton& b : state->toolbar_buttons) {
        if (b.command != command) continue;
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(b.left + 5, b.top + 5));
        SendMessageW(window, WM_LBUTTONUP, 0, at(b.left + 5, b.top + 5));
        return true;
    }
    return false;
}

namespace {

std::wstring answer;

void CALLBACK answer_save_dialog(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(
        GetCurrentThreadId(),
        [](HWND dialog, LPARAM) -> BOOL {
            wchar_t name[16] = {};
            GetClassNameW(dialog, name, 16);
            if (std::wstring(name) != L"#32770" || !IsWindowVisible(dialog)) return TRUE;
            if (!IsWindowEnabled(dialog)) return TRUE; // a question of its own is on top
            // Asked whether to replace the file there: yes.
            if (GetDlgItem(dialog, IDYES) != nullptr) {
                PostMessageW(dialog, WM_COMMAND, IDYES, 0);
                return FALSE;
            }
            // The name box is edt1 in the classic layout, cmb13 in the Explorer one.
            for (int id : {0x480, 0x47C}) SetDlgItemTextW(dialog, id, answer.c_str());
            PostMessageW(dialog, WM_COMMAND, IDOK, 0);
            return FALSE;
        },
        0);
}

} // namespace

void with_save_dialog_answered(const std::wstring& path, const std::function<void()>& action) {
    answer = path;
    const UINT_PTR timer = SetTimer(nullptr, 0, 20, answer_save_dialog);
    action();
    KillTimer(nullptr, timer);
}

HWND make_tray_window() {
    return make_window(L"VLS_TestTray", tray_window_proc, 0, 0, {}, HWND_MESSAGE);
}

void close_tray_window(HWND tray) {
    DestroyWindow(tray);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    }
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

bool run_value_exists() {
    return RegGetValueW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run",
                        L"Vellumshot", RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}
