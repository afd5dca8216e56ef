#include "main/tray_state.h"

TrayApp tray_app;
