#pragma once
// What tests reach into the pinned windows with: their state, a count of released states
// and injected failures. Not for the program's own callers.
#include <windows.h>

#include "capture/pin/pin_window_win.h"

// The state of a pinned window; null for other windows and after destruction.
const PinWindow* pin_window_state(HWND window);

// How many pin states have had their resources released so far.
int pin_release_count();

// Makes the next open_pin_window fail at its DIB section or at its window.
enum class PinFault { None, Dib, Window };
void fail_next_pin(PinFault fault);
