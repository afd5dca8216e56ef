#include "main/tray/tray_state_win.h"

#include "strings/interface_language.h"

TrayApp tray_app;

Language interface_language() { return tray_app.language; }
