#pragma once
// Tray mode: the single resident instance in the notification area.
#include <windows.h>

// Runs tray mode to its end; returns at once when another tray instance is running.
void run_tray_app();
// Puts the icon (uID 1) of the tray window in the notification area; a failure is ignored.
void add_tray_icon(HWND window);
// Takes the icon (uID 1) of the tray window out of the notification area.
void remove_tray_icon(HWND window);
