#pragma once
// The toolbar beside a confirmed selection: drawing the panel and its icons (which also
// records where each button now is) and running the command of the button a press hits.
#include <windows.h>

#include "capture/overlay/selection.h"

struct OverlayState;

// Draws the panel, the active tool's highlight and the 13 icons; rebuilds toolbar_buttons.
void draw_toolbar(HDC dc, OverlayState& state);

// Runs the command of the button under `point`. False when the press hit no button and is
// therefore a press on the selection.
bool press_toolbar(HWND window, OverlayState& state, OverlayPoint point);
