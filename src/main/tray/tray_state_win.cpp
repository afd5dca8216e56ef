#include "main/tray/tray_state_win.h"

TrayApp tray_app;
