#pragma once
// Marking up a confirmed selection: a press starts a mark with the current tool, moves
// extend it, the release commits it; the colour dialog, the width cycle and undo.
#include <windows.h>

#include "capture/overlay/selection.h"

struct OverlayState;

// Left press on the selection with a tool other than Text.
void start_mark(HWND window, OverlayState& state, OverlayPoint point);
// Pointer moved while a mark is in progress.
void update_mark(HWND window, OverlayState& state, OverlayPoint point);
// Left release while a mark is in progress: commits it when it makes a mark.
void end_mark(HWND window, OverlayState& state, OverlayPoint point);

// The colour dialog, starting from the current colour; Cancel keeps it.
void choose_color(HWND window, OverlayState& state);
// Thin -> Medium -> Thick -> Bold -> Thin.
void cycle_width(HWND window, OverlayState& state);
// Removes the newest committed mark, if any.
void undo_last_annotation(HWND window, OverlayState& state);
