#pragma once
// The tray window's icon in the notification area, put there at start and again whenever
// the taskbar is recreated.
#include <windows.h>

#include <shellapi.h>

// Puts the icon (uID 1) of the tray window in the notification area. When that fails it is
// tried again on TRAY_RETRY_TIMER, every TRAY_RETRY_MS, up to TRAY_RETRIES times.
void add_tray_icon(HWND window);
// One more try after a failed add, on TRAY_RETRY_TIMER; the timer stops once the icon shows
// or the tries are used up.
void retry_tray_icon(HWND window);
// Takes the icon (uID 1) of the tray window out of the notification area.
void remove_tray_icon(HWND window);
// Lets the icon's callback message and `taskbar_created` reach the tray window from
// Explorer when this process runs elevated, and nothing else.
void allow_taskbar_messages(HWND window, UINT taskbar_created);

constexpr UINT_PTR TRAY_RETRY_TIMER = 1; // on the tray window
constexpr UINT TRAY_RETRY_MS = 3000;
constexpr int TRAY_RETRIES = 20; // a minute, as long as a busy logon takes
