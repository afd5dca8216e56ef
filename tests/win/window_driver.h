#pragma once
// Drives the program's windows from inside a test process: mouse messages at given
// points, the thread's message queue, the windows of a class this process owns, and the
// tray's window with what it leaves in the system.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "capture/overlay/toolbar.h"

// The classes of the program's overlay and pinned-image windows.
constexpr wchar_t OVERLAY_WINDOW_CLASS[] = L"VLS_Capture";
constexpr wchar_t PIN_WINDOW_CLASS[] = L"VLS_Pin";

// A mouse message's position: each coordinate a 16-bit word, negative ones included.
LPARAM at(int x, int y);

// Dispatches everything waiting in this thread's queue (paints, posted messages).
void pump();

// Dispatches this thread's queue as the program's message loop does: keys pressed through
// SendInput become WM_CHAR here, as typed keys do.
void pump_typed();

// Real pointer input through SendInput: a button press or release, or a move to the
// screen point `to`.
void send_mouse(DWORD flags, POINT to = {});

// Runs the message loop until `done` holds; gives up once `ms` (two seconds by default) have
// passed and as many 10 ms waits were made: on a loaded machine a wait takes longer.
template <typename Condition>
bool pump_until(Condition done, DWORD ms = 2000) {
    const ULONGLONG end = GetTickCount64() + ms;
    for (DWORD waited = 0; !done() && (waited < ms || GetTickCount64() < end); waited += 10) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        pump_typed();
    }
    return done();
}

// Presses, then releases, each key in turn through SendInput, in one batch; `held` is down
// throughout. All of it is queued before the first key is read.
void type_keys(std::initializer_list<WORD> keys, WORD held = 0);

// This process's top-level windows of `window_class`.
std::vector<HWND> own_windows(const wchar_t* window_class);

// Destroys this process's overlays and pinned images, and dispatches what that leaves.
void close_own_windows();

// Registers `window_class` with `procedure` (once; later calls find it registered) and
// makes a window of it.
HWND make_window(const wchar_t* window_class, WNDPROC procedure, DWORD ex_style, DWORD style,
                 RECT box, HWND parent = nullptr);

// Runs `open` and returns the one window of `window_class` it added: null when `open`
// returned false or added none.
HWND open_own_window(const wchar_t* window_class, const std::function<bool()>& open);

// Opens an overlay and returns its window: the one overlay that was not there before, or
// null when none opened.
HWND open_new_overlay();

// Opens an overlay and selects (100, 100)-(700, 500) in it: its window, or null when none
// opened or the selection brought no toolbar.
HWND open_selected_overlay();

// A left-button drag from (x1, y1) to (x2, y2) through their midpoint.
void drag(HWND window, int x1, int y1, int x2, int y2);

// Presses the toolbar button with `command` inside its top-left corner, after the paint
// that lays the toolbar out; false when the toolbar has no such button.
bool press_toolbar_button(HWND window, ToolbarCommand command);

// Runs `action` while a timer on this thread answers the save dialog that it opens, in the
// dialog's own message loop: `path` goes into the name box and OK is pressed, and Yes when
// the dialog asks whether to replace the file there.
void with_save_dialog_answered(const std::wstring& path, const std::function<void()>& action);

// A message-only window standing in for the tray's, with the real window procedure.
HWND make_tray_window();

// Destroys a window from make_tray_window and discards what is left in this thread's
// queue: the tray procedure's WM_DESTROY posts a quit, not the test's to keep.
void close_tray_window(HWND tray);

// The text of a window or control, as UTF-8.
std::string window_text(HWND window);

// Whether some program, this one included, holds the hotkey `modifiers` + `vk`.
bool combination_is_taken(uint32_t modifiers, uint32_t vk);

// Whether the Run key holds the program's start-on-boot entry.
bool run_value_exists();
