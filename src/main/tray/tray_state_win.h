#pragma once
// Process-wide tray state, touched only on the GUI thread.
#include <windows.h>

#include "main/hotkey/hotkey.h"
#include "strings/strings.h"

// Where the hotkey dialog is in its life; Closed whenever no dialog is showing.
enum class HotkeyDialogState : unsigned char { Open = 0, Accepted = 1, Closed = 2 };

struct TrayApp {
    Hotkey hotkey; // replaced at start by load_hotkey_settings
    HotkeyDialogState dialog_state = HotkeyDialogState::Closed;
    Hotkey pending_hotkey{0, 0};      // what the dialog's OK will apply
    HWND dialog_key_label = nullptr;  // the dialog's key-name label, while it is open
    HFONT dialog_font = nullptr;      // its controls' font, made for the dialog's DPI
    UINT taskbar_created = 0;         // "TaskbarCreated": the taskbar was (re)created
    HICON tray_icon = nullptr;        // the notification-area icon's image, kept for re-adding
    int tray_retries_left = 0;        // more tries at the icon after a failed NIM_ADD
    int menu_grabs_waiting = 0;       // menu Screenshots waiting for the menu's fade to end
    ULONGLONG menu_grab_deadline = 0; // when they go ahead whatever still shows (GetTickCount64)
};

extern TrayApp tray_app;
