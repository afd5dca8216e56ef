#pragma once
// Process-wide tray state, touched only on the GUI thread.
#include <windows.h>

#include "main/hotkey.h"
#include "strings/strings.h"

struct TrayApp {
    Language language = Language::Chinese; // set by detect_language at start
    Hotkey hotkey;                         // replaced at start by load_hotkey_settings
};

extern TrayApp tray_app;
