#pragma once
// DPI functions that older Windows 10 builds lack, looked up at run time so the program
// still starts there.
#include <windows.h>

// Per-monitor v2 awareness through SetProcessDpiAwarenessContext where it exists (1703
// on); elsewhere the manifest's awareness stands. Failures are ignored.
void set_per_monitor_dpi_awareness();

// The window's DPI (GetDpiForWindow, 1607 on), else the screen's; 96 at 100 %.
UINT window_dpi(HWND window);

// The system's message font as it is at `dpi` (SystemParametersInfoForDpi, 1607 on; else
// the system's, scaled from the screen's DPI); false when it cannot be read.
bool message_font_at_dpi(UINT dpi, LOGFONTW& font);
