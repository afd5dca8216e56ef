#pragma once
// The text tool's one-line entry box: a child EDIT of the overlay at the press point.
// Enter commits its text as a mark, losing the focus discards it. A layered window shows
// only the frame it is handed, not its children, so the overlay draws the box's content
// into every frame itself.
#include <windows.h>

#include "capture/overlay/selection.h"

struct OverlayState;

// Discards any open box and opens a fresh, focused one at `point`.
void open_text_entry(HWND window, OverlayState& state, OverlayPoint point);
// Destroys the open box, if any, without committing it.
void remove_text_entry(OverlayState& state);
// Enter in the box: its text, if any, becomes a text mark; the box goes.
void commit_text_entry(HWND window, OverlayState& state);
// The box lost the focus: it goes with its text.
void cancel_text_entry(HWND window, OverlayState& state);
// Draws the open box (frame, visible text, caret) into the frame being composed.
void draw_text_entry(HDC dc, const OverlayState& state);
