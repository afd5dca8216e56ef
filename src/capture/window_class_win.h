#pragma once
// Window-class registration, the same for every window of the program.
#include <windows.h>

struct WindowClass {
    const wchar_t* name = nullptr;          // "VLS_..."
    WNDPROC procedure = nullptr;            // the class's one window procedure
    UINT style = 0;                         // CS_* flags
    HCURSOR cursor = nullptr;               // a shared system cursor, or none
    HBRUSH background = nullptr;            // none: the window paints everything
    HICON (*load_icon)(int, int) = nullptr; // makes the 32 and 16 pixel icons, or none
};

// Registers the class for `module` unless it is there already: the second overlay or pin
// finds it registered. The icons are made only when the class is registered now (it keeps
// them for the process's life) and destroyed again if that fails. A failure shows up as
// CreateWindowExW failing.
void register_window_class(HINSTANCE module, const WindowClass& fields);
