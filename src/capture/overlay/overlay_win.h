#pragma once
// The capture overlay: freezes the primary display into a new full-screen topmost window
// ("VLS_Capture") on which the user selects a region. Any number can be open at once.
#include <windows.h>

struct OverlayState;

// Private messages the overlay's text box sends to the overlay.
constexpr UINT WM_OVERLAY_TEXT_COMMIT = WM_APP + 10;
constexpr UINT WM_OVERLAY_TEXT_CANCEL = WM_APP + 11;

// Grabs the primary display and opens a further, independent overlay over it. If the
// grab fails or any of its DCs, bitmaps or its window cannot be made, nothing opens, everything
// made is released and the failing call's name goes to OutputDebugStringW; the caller carries on
// either way.
void open_overlay();

// Removes the text entry box, if any, and destroys the overlay window (which frees `state`).
void close_overlay(HWND window, OverlayState& state);

// The state of an overlay window; null for other windows and after destruction.
OverlayState* overlay_state(HWND window);

// Asks the window for a complete repaint.
void request_repaint(HWND window);

// For tests: how many overlay states have had their resources released so far.
int overlay_release_count();

// For tests: makes the next open_overlay fail at one of its handles or at its window, or
// the next selection snapshot fail, as when GDI is out of room.
enum class OverlayFault {
    None,
    ScreenDc,
    ScreenBitmap,
    DimDc,
    DimBitmap,
    BackDc,
    BackBuffer,
    Window,
    Snapshot
};
void fail_next_overlay(OverlayFault fault);

// True once when `fault` is the one set by fail_next_overlay, which it then clears.
bool take_overlay_fault(OverlayFault fault);
