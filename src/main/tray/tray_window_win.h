#pragma once
// The tray message window's procedure: the hotkey, the icon's mouse events and the
// context menu's commands.
#include <windows.h>

#include "strings/strings.h"

constexpr UINT WM_TRAYICON = WM_APP + 1; // the tray icon's callback message

constexpr UINT IDM_CAPTURE = 40001; // grabs once the chosen item's fade is over
constexpr UINT IDM_AUTOSTART = 40002;
constexpr UINT IDM_HOTKEY_SETTINGS = 40003;
constexpr UINT IDM_LANG_CHINESE = 40004;
constexpr UINT IDM_LANG_ENGLISH = 40005;
constexpr UINT IDM_ABOUT = 40006;
constexpr UINT IDM_EXIT = 40007;

LRESULT CALLBACK tray_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
// The context menu in `language`, start-on-boot checked when `autostart`; the caller
// destroys it. Stops the process when no menu can be made.
HMENU build_tray_menu(Language language, bool autostart);
// Builds the menu, shows it at the cursor until it closes, and destroys it.
void show_tray_menu(HWND window);
