#pragma once
// Tray mode: the single resident instance in the notification area.
#include <windows.h>

// Runs tray mode to its end; returns at once when another tray instance is running.
void run_tray_app();
