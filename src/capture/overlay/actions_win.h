#pragma once
// How an overlay ends: its selection, marks drawn in, copied to the clipboard, saved to a
// file or pinned to the desktop. An action that fails keeps the overlay open, unchanged,
// so the capture is never lost and the user can try again or choose another.
#include <windows.h>

struct OverlayState;

// Each closes the overlay (freeing `state`) when it succeeds.
void copy_selection(HWND window, OverlayState& state);
void save_selection(HWND window, OverlayState& state);
void pin_selection(HWND window, OverlayState& state);
