#include "main/tray/tray_state_win.h"

// Defined apart from the tray window: the hotkey's registration reads it, and the tray
// window's file opens the hotkey dialog, so either home would make the files use each other.
TrayApp tray_app;
