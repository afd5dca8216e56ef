#pragma once
// What tests reach into the tray icon with. Not for the program's own callers.
#include <windows.h>

#include <shellapi.h>

// The function that stands for Shell_NotifyIconW from now on; null gives the real one back.
using NotifyIconFunction = BOOL(WINAPI*)(DWORD, PNOTIFYICONDATAW);
void set_notify_icon_function(NotifyIconFunction notify);
// The function that stands for ChangeWindowMessageFilterEx from now on; null gives the
// real one back.
using MessageFilterFunction = BOOL(WINAPI*)(HWND, UINT, DWORD, PCHANGEFILTERSTRUCT);
void set_message_filter_function(MessageFilterFunction filter);
