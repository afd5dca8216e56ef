#pragma once
// The record of one of our windows, kept in its GWLP_USERDATA slot: handed over at
// WM_NCCREATE through CreateWindowExW's last argument, looked up for every later message,
// and cleared and freed at WM_DESTROY. One window procedure per class is made from this.
#include <windows.h>

// The record `window` holds; null for other windows, before WM_NCCREATE and after
// WM_DESTROY.
template <typename Record>
Record* window_record(HWND window) {
    return reinterpret_cast<Record*>(GetWindowLongPtrW(window, GWLP_USERDATA));
}

// For windows that are always made.
inline bool never_refuse_creation() { return false; }

// A window procedure for windows whose record is a `Record` with an `owned_by_window` flag:
// - `refuse_creation`, true at WM_NCCREATE, fails CreateWindowExW as a want
//   of resources would (a test's fault);
// - `handle` answers every other message but WM_DESTROY, with the record or null;
// - at WM_DESTROY the slot is cleared; when the window owns the record (its opener sets
//   `owned_by_window` once CreateWindowExW has returned), `release` frees what the record
//   holds and the record is deleted. Before that the opener owns it and frees it itself.
template <typename Record, LRESULT (*handle)(HWND, UINT, WPARAM, LPARAM, Record*),
          void (*release)(HWND, Record&), bool (*refuse_creation)() = never_refuse_creation>
LRESULT CALLBACK record_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if (message == WM_NCCREATE) {
        if (refuse_creation()) return FALSE;
        const auto* create = reinterpret_cast<const CREATESTRUCTW*>(lparam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(create->lpCreateParams));
        return DefWindowProcW(window, message, wparam, lparam);
    }
    Record* record = window_record<Record>(window);
    if (message == WM_DESTROY) {
        if (record) {
            SetWindowLongPtrW(window, GWLP_USERDATA, 0);
            if (record->owned_by_window) {
                release(window, *record);
                delete record;
            }
        }
        return 0;
    }
    return handle(window, message, wparam, lparam, record);
}
