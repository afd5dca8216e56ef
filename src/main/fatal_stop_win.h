#pragma once
#include <windows.h>

// Ends the process at once, showing nothing, when an object the program cannot work without
// (module handle, message window, popup menu, dialog window) could not be made.
[[noreturn]] inline void fatal_stop() { ExitProcess(1); }
