#include "capture/overlay/overlay_internal_win.h"

#include "capture/overlay/overlay_testing_win.h"
#include "capture/window_record_win.h"

namespace {

OverlayFault next_fault = OverlayFault::None;

} // namespace

OverlayState* overlay_state(HWND window) { return window_record<OverlayState>(window); }

void request_repaint(HWND window) { InvalidateRect(window, nullptr, TRUE); }

void fail_next_overlay(OverlayFault fault) { next_fault = fault; }

bool take_overlay_fault(OverlayFault fault) {
    if (next_fault != fault) return false;
    next_fault = OverlayFault::None;
    return true;
}
