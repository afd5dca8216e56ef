#include "capture/pin/pin_window_win.h"

#include "capture/image/dib_header_win.h"
#include "capture/pin/pin_geometry.h"
#include "capture/pin/pin_testing_win.h"
#include "capture/window_class_win.h"
#include "capture/window_record_win.h"

#include <windowsx.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

constexpr wchar_t PIN_CLASS[] = L"VLS_Pin";
constexpr COLORREF PIN_BORDER_COLOR = 0x4285F4;
constexpr COLORREF PIN_CLOSE_BACKGROUND = 0x222222;
constexpr COLORREF PIN_CLOSE_CROSS = 0xFFFFFF;
// Posted to a pin whose capture went to nobody mid-drag: takes it back once the
// WM_CAPTURECHANGED that told of it is over.
constexpr UINT WM_PIN_RETAKE_CAPTURE = WM_APP + 20;

int release_count = 0;
PinFault next_fault = PinFault::None;

// True once when `fault` is the one set by fail_next_pin, which it then clears.
bool take_pin_fault(PinFault fault) {
    if (next_fault != fault) return false;
    next_fault = PinFault::None;
    return true;
}

// Releases what open_pin_window made; the bitmap goes back out of the DC before either is
// deleted. Handles not made yet are null and skipped, so a failed open uses it too.
void release_pin_resources(PinWindow& pin) {
    if (pin.image_dc && pin.replaced_bitmap) SelectObject(pin.image_dc, pin.replaced_bitmap);
    if (pin.image_bitmap) DeleteObject(pin.image_bitmap);
    if (pin.image_dc) DeleteDC(pin.image_dc);
    pin.image_dc = nullptr;
    pin.image_bitmap = nullptr;
    pin.replaced_bitmap = nullptr;
    ++release_count;
}

void on_destroy(HWND, PinWindow& pin) { release_pin_resources(pin); }

int client_width(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    return client.right;
}

// The orange frame and the dark close square with its white cross, drawn only while the
// mouse is over the pin.
void draw_hover_marks(HDC dc, int width, int height) {
    // The one-pixel frame and the square's fill in the DC's own pen and brush; only the
    // two-pixel cross needs a pen of its own.
    SetDCPenColor(dc, PIN_BORDER_COLOR);
    HGDIOBJ old_pen = SelectObject(dc, GetStockObject(DC_PEN));
    HGDIOBJ old_brush = SelectObject(dc, GetStockObject(NULL_BRUSH));
    Rectangle(dc, 0, 0, width, height);

    RECT square{width - PIN_CLOSE_SIZE, 0, width, PIN_CLOSE_SIZE};
    SetDCBrushColor(dc, PIN_CLOSE_BACKGROUND);
    FillRect(dc, &square, static_cast<HBRUSH>(GetStockObject(DC_BRUSH)));

    HPEN cross = CreatePen(PS_SOLID, 2, PIN_CLOSE_CROSS);
    SelectObject(dc, cross);
    MoveToEx(dc, width - 14, 6, nullptr);
    LineTo(dc, width - 6, 14);
    MoveToEx(dc, width - 6, 6, nullptr);
    LineTo(dc, width - 14, 14);

    SelectObject(dc, old_brush);
    SelectObject(dc, old_pen);
    DeleteObject(cross);
}

// Scales the whole image to the client size off screen and shows it with one BitBlt, so a
// zoom step never flickers.
void on_paint(HWND window, const PinWindow& pin) {
    PAINTSTRUCT paint{};
    HDC window_dc = BeginPaint(window, &paint);
    RECT client{};
    GetClientRect(window, &client);
    const int width = std::max<int>(client.right, 1);
    const int height = std::max<int>(client.bottom, 1);

    HDC frame_dc = CreateCompatibleDC(window_dc);
    HBITMAP frame = CreateCompatibleBitmap(window_dc, width, height);
    HGDIOBJ old_frame = SelectObject(frame_dc, frame);
    SetStretchBltMode(frame_dc, HALFTONE);
    SetBrushOrgEx(frame_dc, 0, 0, nullptr); // HALFTONE needs the origin reset after it
    StretchBlt(frame_dc, 0, 0, width, height, pin.image_dc, 0, 0, pin.image_width, pin.image_height,
               SRCCOPY);
    if (pin.hover) draw_hover_marks(frame_dc, width, height);
    BitBlt(window_dc, 0, 0, width, height, frame_dc, 0, 0, SRCCOPY);
    SelectObject(frame_dc, old_frame);
    DeleteObject(frame);
    DeleteDC(frame_dc);
    EndPaint(window, &paint);
}

// Scales about the window's centre; steps too small to see neither resize nor repaint.
void zoom_to_cursor(HWND window, PinWindow& pin, POINT cursor) {
    const float zoom = pin_drag_zoom(pin.drag_start_cursor.y, cursor.y, pin.drag_start_zoom);
    if (!pin_zoom_changes(pin.zoom, zoom)) return;
    pin.zoom = zoom;
    RECT now{};
    GetWindowRect(window, &now);
    const int32_t width = pin_scaled_length(pin.image_width, zoom);
    const int32_t height = pin_scaled_length(pin.image_height, zoom);
    const PixelPoint origin =
        pin_centred_origin({now.left, now.top, now.right, now.bottom}, width, height);
    SetWindowPos(window, nullptr, origin.x, origin.y, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(window, nullptr, FALSE);
}

// Where the pointer was when the message was made, on the screen. GetCursorPos is where it
// is now: after quick moves, or a press and moves that arrived together, that is already
// the end of the drag, and the drag would start from there and go nowhere.
POINT message_point(HWND window, LPARAM lparam) {
    POINT point{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
    ClientToScreen(window, &point);
    return point;
}

void on_mouse_move(HWND window, PinWindow& pin, WPARAM buttons, LPARAM lparam) {
    // Windows sends a pin mouse messages only while the pointer is over it unless it holds
    // the capture, so a release elsewhere can be missed: a move with the button found up
    // ends the move or zoom instead of dragging the pin along on the next hover.
    if (pin.drag_mode != PinDragMode::None && !(buttons & MK_LBUTTON)) {
        pin.drag_mode = PinDragMode::None;
        ReleaseCapture();
    }
    const POINT cursor = message_point(window, lparam);
    switch (pin.drag_mode) {
    case PinDragMode::None:
        if (!pin.hover) {
            pin.hover = true;
            // Asks for WM_MOUSELEAVE, which takes the border and close square away again.
            TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, window, 0};
            TrackMouseEvent(&track);
            InvalidateRect(window, nullptr, FALSE);
        }
        break;
    case PinDragMode::Move:
        // Screen coordinates: the client origin moves with the window during the drag.
        SetWindowPos(window, nullptr,
                     pin_moved_edge(pin.drag_start_rect.left, pin.drag_start_cursor.x, cursor.x),
                     pin_moved_edge(pin.drag_start_rect.top, pin.drag_start_cursor.y, cursor.y), 0,
                     0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    case PinDragMode::Zoom:
        zoom_to_cursor(window, pin, cursor);
        break;
    }
}

void on_left_button_down(HWND window, PinWindow& pin, WPARAM wparam, LPARAM lparam) {
    if (pin_press_closes(client_width(window), lparam)) {
        DestroyWindow(window); // frees `pin`
        return;
    }
    // Ctrl as it was when the button went down (the message's key state), not as it is
    // now: a quick Ctrl-drag may have released Ctrl before the press is handled.
    pin.drag_mode = (wparam & MK_CONTROL) ? PinDragMode::Zoom : PinDragMode::Move;
    pin.drag_start_zoom = pin.zoom;
    pin.drag_start_cursor = message_point(window, lparam);
    GetWindowRect(window, &pin.drag_start_rect);
    SetCapture(window);
}

// The button the user presses as the left one: GetAsyncKeyState reads the physical
// buttons, and with the buttons swapped that is the physical right one.
bool left_button_held() {
    const int key = GetSystemMetrics(SM_SWAPBUTTON) ? VK_RBUTTON : VK_LBUTTON;
    return (GetAsyncKeyState(key) & 0x8000) != 0;
}

void on_capture_changed(HWND window, PinWindow& pin, HWND new_owner) {
    if (pin.drag_mode == PinDragMode::None) return;
    // Wine releases the capture of a window that SetWindowPos moves or sizes, leaving it
    // to nobody, although the button is still held; Windows keeps it. The drag goes on,
    // and the capture is taken back after this message, not inside it, where the system
    // is still handing the capture over.
    if (!new_owner && left_button_held()) {
        PostMessageW(window, WM_PIN_RETAKE_CAPTURE, 0, 0);
        return;
    }
    // Another window took the mouse mid-drag (an overlay opened by the hotkey): the release
    // will never come here, so the drag ends now rather than follow the pointer with no
    // button held.
    pin.drag_mode = PinDragMode::None;
}

// Only while nobody holds the capture and the button is still down: a window that took
// the mouse meanwhile keeps it, and the drag ends as when it is taken away.
void retake_capture(HWND window, PinWindow& pin) {
    if (pin.drag_mode == PinDragMode::None || GetCapture() == window) return;
    if (GetCapture() == nullptr && left_button_held()) {
        SetCapture(window);
        return;
    }
    pin.drag_mode = PinDragMode::None;
}

void on_set_cursor(HWND window) {
    POINT cursor{};
    GetCursorPos(&cursor);
    ScreenToClient(window, &cursor);
    const bool on_close = pin_in_close_button(client_width(window), cursor.x, cursor.y);
    SetCursor(LoadCursorW(nullptr, on_close ? IDC_HAND : IDC_SIZEALL));
}

bool refuse_pin_window() { return take_pin_fault(PinFault::Window); }

LRESULT handle_pin_message(HWND window, UINT message, WPARAM wparam, LPARAM lparam,
                           PinWindow* pin) {
    switch (message) {
    case WM_ERASEBKGND:
        return 1; // WM_PAINT covers the whole client area
    case WM_SETCURSOR:
        if (!pin) return 0;
        on_set_cursor(window);
        return TRUE;
    case WM_PAINT:
        if (pin) {
            on_paint(window, *pin);
        } else {
            ValidateRect(window, nullptr); // else WM_PAINT would come back at once
        }
        return 0;
    case WM_MOUSEMOVE:
        if (pin) on_mouse_move(window, *pin, wparam, lparam);
        return 0;
    case WM_LBUTTONDOWN:
        if (pin) on_left_button_down(window, *pin, wparam, lparam);
        return 0;
    case WM_LBUTTONUP:
        if (pin && pin->drag_mode != PinDragMode::None) {
            pin->drag_mode = PinDragMode::None;
            ReleaseCapture();
        }
        return 0;
    case WM_CAPTURECHANGED:
        if (pin) on_capture_changed(window, *pin, reinterpret_cast<HWND>(lparam));
        return 0;
    case WM_PIN_RETAKE_CAPTURE:
        if (pin) retake_capture(window, *pin);
        return 0;
    case WM_RBUTTONDOWN:
        if (pin) DestroyWindow(window);
        return 0;
    case WM_MOUSELEAVE:
        if (pin) {
            pin->hover = false;
            InvalidateRect(window, nullptr, FALSE);
        }
        return 0;
    default:
        return DefWindowProcW(window, message, wparam, lparam);
    }
}

constexpr WNDPROC pin_window_proc =
    record_window_proc<PinWindow, handle_pin_message, on_destroy, refuse_pin_window>;

bool image_is_whole(const PixelImage& image) {
    if (image.width <= 0 || image.height <= 0) return false;
    return image.pixels.size() == static_cast<size_t>(image.width) * image.height * 4;
}

} // namespace

const PinWindow* pin_window_state(HWND window) { return window_record<PinWindow>(window); }

int pin_release_count() { return release_count; }

void fail_next_pin(PinFault fault) { next_fault = fault; }

// Copies the image into a DIB section the window owns, so the caller's pixels can go at
// once, and shows the pin without taking the focus from whatever has it.
bool open_pin_window(const PixelImage& image) {
    if (!image_is_whole(image)) return false;
    HINSTANCE module = GetModuleHandleW(nullptr);
    WindowClass pin_class;
    pin_class.name = PIN_CLASS;
    pin_class.procedure = pin_window_proc;
    pin_class.cursor = LoadCursorW(nullptr, IDC_SIZEALL);
    register_window_class(module, pin_class);

    auto pin = std::make_unique<PinWindow>();
    pin->image_width = image.width;
    pin->image_height = image.height;
    pin->image_dc = CreateCompatibleDC(nullptr);
    BITMAPINFOHEADER header = top_down_dib_header(image.width, image.height);
    void* bits = nullptr;
    const bool fail_dib = take_pin_fault(PinFault::Dib);
    if (pin->image_dc && !fail_dib) {
        pin->image_bitmap = CreateDIBSection(pin->image_dc, reinterpret_cast<BITMAPINFO*>(&header),
                                             DIB_RGB_COLORS, &bits, nullptr, 0);
    }
    if (!pin->image_bitmap || !bits) {
        release_pin_resources(*pin);
        return false;
    }
    pin->replaced_bitmap = SelectObject(pin->image_dc, pin->image_bitmap);
    std::memcpy(bits, image.pixels.data(), image.pixels.size());

    const PixelPoint origin = pin_initial_origin(
        GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), image.width, image.height);
    HWND window = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, PIN_CLASS,
                                  nullptr, WS_POPUP, origin.x, origin.y, image.width, image.height,
                                  nullptr, nullptr, module, pin.get());
    if (!window) {
        release_pin_resources(*pin);
        return false;
    }
    pin.release()->owned_by_window = true;
    ShowWindow(window, SW_SHOWNOACTIVATE);
    return true;
}
