#pragma once
// The overlay's selection drag and the snapshot taken when a selection is confirmed.
#include <windows.h>

#include "capture/overlay/selection.h"

struct OverlayState;

// Left press with no confirmed selection: a new drag starts at `point`.
void start_selection_drag(HWND window, OverlayState& state, OverlayPoint point);
// Pointer moved while dragging: the selection follows it.
void update_selection_drag(HWND window, OverlayState& state, OverlayPoint point);
// Left release while dragging: confirms the selection if it is at least 4 x 4.
void end_selection_drag(HWND window, OverlayState& state, OverlayPoint point);
// Copies the frozen screen inside the confirmed selection into selection_pixels.
void snapshot_selection(OverlayState& state);
