#pragma once
// The tray window's icon in the notification area, put there at start and again whenever
// the taskbar is recreated.
#include <windows.h>

// Puts the icon (uID 1) of the tray window in the notification area; a failure is ignored.
void add_tray_icon(HWND window);
// Takes the icon (uID 1) of the tray window out of the notification area.
void remove_tray_icon(HWND window);
