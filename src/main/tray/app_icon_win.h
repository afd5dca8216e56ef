#pragma once
#include <windows.h>

// An icon of cx x cy pixels made from the embedded application icon's nearest entry;
// null when it cannot be made. The caller owns the handle.
HICON load_app_icon(int cx, int cy);
