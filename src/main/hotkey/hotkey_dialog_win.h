#pragma once
// The hotkey settings dialog: a small modal window that captures a new key combination.
#include <windows.h>

constexpr int IDC_HOTKEY_PROMPT = 100;
constexpr int IDC_HOTKEY_NAME = 101;

// Shows the dialog and returns once it is closed and, after OK, the new hotkey is
// registered and saved; OK with a new combination that cannot be registered keeps it
// open, OK with the current one closes it whether or not it could be registered.
// With a dialog already showing, brings that one forward instead.
void open_hotkey_dialog(HWND tray_window);
// The two halves of open_hotkey_dialog, apart so tests can drive the window in between:
// create the window and its controls and set the dialog state to Open ...
HWND create_hotkey_dialog(HWND tray_window);
// ... then run the modal loop until the window is gone and apply the outcome.
void run_hotkey_dialog(HWND tray_window, HWND dialog);

LRESULT CALLBACK hotkey_dialog_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
