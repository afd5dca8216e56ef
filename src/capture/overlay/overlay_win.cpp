#include "capture/overlay/overlay_win.h"

// imm.h needs windows.h's types: without the precompiled header it must come first.
#include <windows.h>

#include <imm.h>

#include <memory>

#include "capture/image/dib_header_win.h"
#include "capture/image/screen_grab_win.h"
#include "capture/overlay/commands.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_testing_win.h"
#include "capture/window_class_win.h"
#include "capture/window_record_win.h"
#include "main/fatal_stop_win.h"

namespace {

constexpr wchar_t OVERLAY_CLASS[] = L"VLS_Capture";

int release_count = 0;

// Releases what open_overlay made, in an order that never deletes a bitmap still
// selected into a DC. Handles not made yet are null and skipped, so a half-built
// state from a failed open is released by the same routine.
void release_overlay_resources(OverlayState& state) {
    // Deleting the DC first leaves screen_bitmap selected nowhere.
    if (state.screen_dc) DeleteDC(state.screen_dc);
    if (state.screen_bitmap) DeleteObject(state.screen_bitmap);
    if (state.dim_dc && state.dim_displaced) SelectObject(state.dim_dc, state.dim_displaced);
    if (state.dim_bitmap) DeleteObject(state.dim_bitmap);
    if (state.dim_dc) DeleteDC(state.dim_dc);
    if (state.back_dc && state.back_displaced) SelectObject(state.back_dc, state.back_displaced);
    if (state.back_bitmap) DeleteObject(state.back_bitmap);
    if (state.back_dc) DeleteDC(state.back_dc);
    state.screen_dc = state.dim_dc = state.back_dc = nullptr;
    state.screen_bitmap = state.dim_bitmap = state.back_bitmap = nullptr;
    state.dim_displaced = state.back_displaced = nullptr;
    state.back_bits = nullptr;
    ++release_count;
}

// The overlay cannot open; the tray and every other window carry on.
void abandon_open(std::unique_ptr<OverlayState> state, const wchar_t* failed_call) {
    release_overlay_resources(*state);
    OutputDebugStringW(failed_call);
}

// At WM_DESTROY of a window that owns its state, before the state is deleted.
void on_destroy(HWND, OverlayState& state) {
    // Alt+F4, WM_CLOSE or DestroyWindow come without close_overlay: the box, still alive
    // as a child until this returns, goes here with its font.
    remove_text_entry(state);
    release_overlay_resources(state);
}

// Keys reach the overlay only while it has the focus, not while a text box has it.
void on_key_down(HWND window, OverlayState& state, WPARAM key) {
    // Ctrl as it was when this key was pressed, not as it is now: a quick Ctrl+C has often
    // released Ctrl by the time a busy overlay reads the C.
    const bool ctrl = (GetKeyState(VK_CONTROL) & 0x8000) != 0;
    const std::optional<ToolbarCommand> command =
        key_command(static_cast<uint32_t>(key), ctrl, state.toolbar_active);
    if (command) run_command(window, state, *command);
}

void on_left_button_down(HWND window, OverlayState& state, LPARAM lparam) {
    const PixelPoint point = pointer_from_lparam(lparam);
    state.last_pointer = point;
    if (state.toolbar_active && state.has_selection) {
        const std::optional<ToolbarCommand> command =
            toolbar_hit(state.toolbar_buttons, point.x, point.y);
        if (command) {
            run_command(window, state, *command); // it may have closed the overlay
            return;
        }
    }
    if (!state.toolbar_active) {
        start_selection_drag(window, state, point);
        return;
    }
    // A confirmed selection never changes again: a press that hits no button opens a
    // text box with the Text tool, else starts a mark.
    if (state.tool == AnnotationTool::Text)
        open_text_entry(window, state, point);
    else
        start_mark(window, state, point);
}

void on_mouse_move(HWND window, OverlayState& state, LPARAM lparam) {
    // Movement that changes nothing requests no repaint.
    if (state.selecting || state.drawing) state.last_pointer = pointer_from_lparam(lparam);
    if (state.selecting)
        update_selection_drag(window, state, pointer_from_lparam(lparam));
    else if (state.drawing)
        update_mark(window, state, pointer_from_lparam(lparam));
}

void on_left_button_up(HWND window, OverlayState& state, LPARAM lparam) {
    if (state.selecting)
        end_selection_drag(window, state, pointer_from_lparam(lparam));
    else if (state.drawing)
        end_mark(window, state, pointer_from_lparam(lparam));
}

// Alt+Tab, the Win key, Ctrl+Alt+Del or a UAC prompt take the capture away mid-drag and
// the release never comes here: the drag ends as a release where the pointer last was.
// The overlay's own ReleaseCapture lands here too, after the drag has already ended.
void on_capture_lost(HWND window, OverlayState& state) {
    if (state.selecting)
        end_selection_drag(window, state, state.last_pointer);
    else if (state.drawing)
        end_mark(window, state, state.last_pointer);
}

bool refuse_overlay_window() { return take_overlay_fault(OverlayFault::Window); }

LRESULT handle_overlay_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                               OverlayState* state) {
    switch (message) {
    case WM_PAINT:
        // The frame reaches the screen only through UpdateLayeredWindow; the paint DC
        // is never used, so validating is all WM_PAINT needs besides the repaint.
        ValidateRect(window, nullptr);
        if (state) paint_overlay(window, *state);
        return 0;
    case WM_ERASEBKGND:
        return 1;
    case WM_SETCURSOR:
        SetCursor(LoadCursorW(nullptr, IDC_CROSS));
        return TRUE;
    case WM_KEYDOWN:
        if (state) on_key_down(window, *state, wparam);
        return 0;
    case WM_MOUSEMOVE:
        if (state) on_mouse_move(window, *state, lparam);
        return 0;
    case WM_LBUTTONDOWN:
        if (state) on_left_button_down(window, *state, lparam);
        return 0;
    case WM_LBUTTONUP:
        if (state) on_left_button_up(window, *state, lparam);
        return 0;
    case WM_CAPTURECHANGED:
        // A drag's SetCapture on the overlay, which holds the capture from its opening,
        // reports the overlay itself as the new owner: nothing is lost then.
        if (state && reinterpret_cast<HWND>(lparam) != window) on_capture_lost(window, *state);
        return 0;
    case WM_RBUTTONDOWN:
        if (state) run_command(window, *state, TOOLBAR_CLOSE);
        return 0;
    case WM_OVERLAY_TEXT_COMMIT:
        if (state) commit_text_entry(window, *state);
        return 0;
    case WM_OVERLAY_TEXT_CANCEL:
        if (state) cancel_text_entry(window, *state);
        return 0;
    case WM_COMMAND:
        // The text box's content is part of the frame: every edit shows at once.
        if (state && HIWORD(wparam) == EN_CHANGE) request_repaint(window);
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

constexpr WNDPROC overlay_window_proc =
    record_window_proc<OverlayState, handle_overlay_message, on_destroy, refuse_overlay_window>;

// Each step of opening an overlay makes part of `state` and is true when all of it was
// made; a false step leaves what it made in `state` for release_overlay_resources.

// A DC without its own bitmap keeps its 1 x 1 monochrome default: BitBlt into it still
// succeeds, and the overlay would show, copy, save and pin black. So every handle of the
// frozen screen is checked, as the grab itself is.
bool make_screen_copy(OverlayState& state, HDC screen) {
    if (!screen) return false;
    const int w = state.screen_width, h = state.screen_height;
    state.screen_dc =
        take_overlay_fault(OverlayFault::ScreenDc) ? nullptr : CreateCompatibleDC(screen);
    state.screen_bitmap = take_overlay_fault(OverlayFault::ScreenBitmap)
                              ? nullptr
                              : CreateCompatibleBitmap(screen, w, h);
    return state.screen_dc && state.screen_bitmap &&
           SelectObject(state.screen_dc, state.screen_bitmap);
}

// The 1 x 1 black bitmap stretched over every frame to dim it.
bool make_dimming(OverlayState& state) {
    state.dim_dc =
        take_overlay_fault(OverlayFault::DimDc) ? nullptr : CreateCompatibleDC(state.screen_dc);
    state.dim_bitmap = take_overlay_fault(OverlayFault::DimBitmap)
                           ? nullptr
                           : CreateCompatibleBitmap(state.screen_dc, 1, 1);
    if (state.dim_dc && state.dim_bitmap)
        state.dim_displaced = SelectObject(state.dim_dc, state.dim_bitmap);
    if (!state.dim_displaced) return false;
    RECT pixel{0, 0, 1, 1};
    HBRUSH black = CreateSolidBrush(0x000000);
    FillRect(state.dim_dc, &pixel, black);
    DeleteObject(black);
    return true;
}

// The 32-bit top-down DIB section every frame is composed in.
bool make_back_buffer(OverlayState& state) {
    state.back_dc =
        take_overlay_fault(OverlayFault::BackDc) ? nullptr : CreateCompatibleDC(state.screen_dc);
    BITMAPINFOHEADER header = top_down_dib_header(state.screen_width, state.screen_height);
    void* bits = nullptr;
    if (state.back_dc && !take_overlay_fault(OverlayFault::BackBuffer)) {
        state.back_bitmap = CreateDIBSection(state.back_dc, reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (state.back_bitmap && bits)
        state.back_displaced = SelectObject(state.back_dc, state.back_bitmap);
    if (!state.back_displaced) return false;
    state.back_bits = static_cast<uint8_t*>(bits);
    return true;
}

void register_overlay_class(HINSTANCE module) {
    WindowClass overlay_class;
    overlay_class.name = OVERLAY_CLASS;
    overlay_class.procedure = overlay_window_proc;
    overlay_class.style = CS_HREDRAW | CS_VREDRAW;
    overlay_class.cursor = LoadCursorW(nullptr, IDC_CROSS);
    register_window_class(module, overlay_class);
}

// The window takes the state over once it exists; it has the keyboard, the mouse and its
// first frame.
void show_overlay(HWND window, std::unique_ptr<OverlayState> state) {
    OverlayState* owned = state.release();
    owned->owned_by_window = true;
    // Keys on the overlay are commands, not text: with an input method on (the default
    // for Chinese), letters would open a composition window and Esc would only cancel it.
    // A text box made later gets the thread's own input context, so typing there works.
    ImmAssociateContextEx(window, nullptr, 0);

    // A layered window shows nothing until its first UpdateLayeredWindow, so the first
    // frame is composed here rather than left to a WM_PAINT that comes later.
    paint_overlay(window, *owned);
    SetForegroundWindow(window); // best effort; the capture below routes the mouse anyway
    SetCapture(window);
}

} // namespace

int overlay_release_count() { return release_count; }

// Freezes the screen and opens one more overlay on it. The grab comes first so the
// overlay shows the screen as it was when the user asked.
void open_overlay() {
    auto state = std::make_unique<OverlayState>();
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    state->screen_width = w;
    state->screen_height = h;

    HDC screen = GetDC(nullptr);
    const bool made = make_screen_copy(*state, screen);
    const bool grabbed = made && copy_from_screen(state->screen_dc, screen, 0, 0, w, h);
    if (screen) ReleaseDC(nullptr, screen);
    if (!made) {
        abandon_open(std::move(state), L"The frozen screen's DC or bitmap could not be made");
        return;
    }
    // A locked workstation or the secure desktop: no black overlay over nothing.
    if (!grabbed) {
        abandon_open(std::move(state), L"BitBlt of the screen failed");
        return;
    }

    HINSTANCE module = GetModuleHandleW(nullptr);
    if (!module) {
        // Without its own module the process can make no window at all.
        OutputDebugStringW(L"GetModuleHandleW failed");
        fatal_stop();
    }
    register_overlay_class(module);

    if (!make_dimming(*state)) {
        abandon_open(std::move(state), L"The dimming DC or bitmap could not be made");
        return;
    }
    if (!make_back_buffer(*state)) {
        abandon_open(std::move(state), L"CreateDIBSection failed");
        return;
    }
    HWND window =
        CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, OVERLAY_CLASS, nullptr,
                        WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, module, state.get());
    if (!window) {
        abandon_open(std::move(state), L"CreateWindowExW failed");
        return;
    }
    show_overlay(window, std::move(state));
}
