// In-process tests of pinned windows under Wine: where a pin opens and what it shows, that
// it never takes the focus, its move and Ctrl-drag zoom through real cursor positions, and
// the release of its state on every way out.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <ostream>
#include <vector>

#include "capture/pin/pin_testing_win.h"
#include "window_driver.h"

namespace {

// Opens a pin and returns its window: the one pin window that was not there before.
HWND open_one(const PixelImage& image) {
    return open_own_window(PIN_WINDOW_CLASS, [&] { return open_pin_window(image); });
}

// Every pixel differs from its neighbours, so a shifted or scaled copy cannot match.
PixelImage pattern(int width, int height) {
    PixelImage image;
    image.width = width;
    image.height = height;
    image.pixels.resize(static_cast<size_t>(width) * height * 4);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            uint8_t* p = &image.pixels[(static_cast<size_t>(y) * width + x) * 4];
            p[0] = static_cast<uint8_t>(x * 5 + y);
            p[1] = static_cast<uint8_t>(y * 7);
            p[2] = static_cast<uint8_t>(x + y * 3 + 40);
        }
    }
    return image;
}

uint32_t image_rgb(const PixelImage& image, int x, int y) {
    const uint8_t* p = &image.pixels[(static_cast<size_t>(y) * image.width + x) * 4];
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

// The pixels the window shows, as 0xRRGGBB, read back through its own DC.
std::vector<uint32_t> shown_pixels(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    const int w = client.right;
    const int h = client.bottom;
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    BITMAPINFOHEADER header{sizeof header, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC window_dc = GetDC(window);
    HDC copy_dc = CreateCompatibleDC(window_dc);
    void* bits = nullptr;
    HBITMAP copy = CreateDIBSection(copy_dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                    &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(copy_dc, copy);
    BitBlt(copy_dc, 0, 0, w, h, window_dc, 0, 0, SRCCOPY);
    GdiFlush();
    for (size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<const uint32_t*>(bits)[i] & 0xFFFFFF;
    }
    SelectObject(copy_dc, old);
    DeleteObject(copy);
    DeleteDC(copy_dc);
    ReleaseDC(window, window_dc);
    return pixels;
}

HWND focus_window();

// Wine takes injected pointer moves only while one of the process's windows has the X
// focus, which the window manager hands over in its own time: each waits until the process
// sees the result, moving again meanwhile.
bool move_cursor(POINT to, bool mid_drag = false) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        SetCursorPos(to.x, to.y);
        // Mid-drag the warp's own moves report the real button, which is up: a pin rightly
        // ends its drag on them, so they are dropped and the drag's messages are the sent ones.
        MSG msg;
        while (mid_drag && PeekMessageW(&msg, nullptr, WM_MOUSEFIRST, WM_MOUSELAST, PM_REMOVE)) {
        }
        pump();
        POINT now{};
        GetCursorPos(&now);
        if (now.x == to.x && now.y == to.y) return true;
        Sleep(20);
    }
    return false;
}

// A window rectangle, comparable and printable in assertions.
struct Box {
    LONG left, top, right, bottom;
    bool operator==(const Box&) const = default;
    friend std::ostream& operator<<(std::ostream& out, const Box& b) {
        return out << "{" << b.left << ", " << b.top << ", " << b.right << ", " << b.bottom << "}";
    }
};

Box window_box(HWND window) {
    RECT r{};
    GetWindowRect(window, &r);
    return {r.left, r.top, r.right, r.bottom};
}

// A press, a move to `to` and a release, with the cursor really there as the pin reads it.
// A mouse message's position for the screen point `p`, as the system gives it.
LPARAM client_at(HWND window, POINT p) {
    ScreenToClient(window, &p);
    return at(p.x, p.y);
}

void drag(HWND pin, POINT from, POINT to, bool ctrl) {
    ASSERT_TRUE(move_cursor(from));
    // Ctrl comes with the press, in its key state, as the system sends it.
    SendMessageW(pin, WM_LBUTTONDOWN, MK_LBUTTON | (ctrl ? MK_CONTROL : 0), client_at(pin, from));
    ASSERT_TRUE(move_cursor(to, true));
    SendMessageW(pin, WM_MOUSEMOVE, MK_LBUTTON, client_at(pin, to));
    SendMessageW(pin, WM_LBUTTONUP, 0, client_at(pin, to));
}

// One ordinary captioned window for the whole run, left for the process's end to remove.
HWND focus_window() {
    static HWND window = CreateWindowExW(0, L"STATIC", L"focus", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                         20, 20, 200, 100, nullptr, nullptr, nullptr, nullptr);
    return window;
}

class Pin : public ::testing::Test {
  protected:
    void SetUp() override {
        // Wine moves the pointer and takes injected keys only while a window of the
        // process has the focus; an ordinary window of ours holds it, as the user's
        // application would. Then the pointer goes off every pin, and the warp's own
        // pointer events are gone before a pin opens.
        SetForegroundWindow(focus_window());
        POINT cursor{-1, -1};
        for (int i = 0; i < 100 && (cursor.x != 0 || cursor.y != 0); ++i) {
            SetCursorPos(0, 0);
            Sleep(20);
            pump();
            GetCursorPos(&cursor);
        }
        ASSERT_EQ(cursor.x + cursor.y, 0) << "the pointer must start off every pin";
    }
    void TearDown() override {
        fail_next_pin(PinFault::None);
        close_own_windows();
    }
};

} // namespace

TEST_F(Pin, OpensCentredOnTopWithoutFocusAndShowsTheImage) {
    const HWND foreground = GetForegroundWindow();
    ASSERT_EQ(foreground, focus_window());

    const PixelImage image = pattern(64, 48);
    HWND pin = open_one(image);
    ASSERT_NE(pin, nullptr);
    // Without the mouse over it a pin shows the bare image.
    SendMessageW(pin, WM_MOUSELEAVE, 0, 0);
    UpdateWindow(pin);

    const int x = (GetSystemMetrics(SM_CXSCREEN) - 64) / 2;
    const int y = (GetSystemMetrics(SM_CYSCREEN) - 48) / 2;
    const Box expected{x, y, x + 64, y + 48};
    EXPECT_EQ(window_box(pin), expected);
    EXPECT_TRUE(IsWindowVisible(pin));
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    EXPECT_EQ(GetWindowLongPtrW(pin, GWL_STYLE) & ~(WS_VISIBLE | WS_CLIPSIBLINGS), WS_POPUP);
    EXPECT_EQ(GetWindowLongPtrW(pin, GWL_EXSTYLE) &
                  (WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_LAYERED),
              WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    EXPECT_EQ(GetForegroundWindow(), foreground);
    EXPECT_NE(GetActiveWindow(), pin);

    const std::vector<uint32_t> shown = shown_pixels(pin);
    int mismatches = 0;
    for (int py = 0; py < 48; ++py) {
        for (int px = 0; px < 64; ++px)
            mismatches += shown[py * 64 + px] != image_rgb(image, px, py);
    }
    EXPECT_EQ(mismatches, 0);

    // The pin owns a copy: the caller's pixels can go at once.
    const PinWindow* state = pin_window_state(pin);
    ASSERT_NE(state, nullptr);
    EXPECT_EQ(state->zoom, 1.0f);
    EXPECT_EQ(state->drag_mode, PinDragMode::None);
    EXPECT_FALSE(state->hover);
}

TEST_F(Pin, HoverShowsTheFrameAndCloseSquareUntilTheMouseLeaves) {
    const PixelImage image = pattern(120, 80);
    HWND pin = open_one(image);
    ASSERT_NE(pin, nullptr);
    const Box box = window_box(pin);
    const RECT r{box.left, box.top, box.right, box.bottom};
    SetCursorPos(r.left + 40, r.top + 40);
    SendMessageW(pin, WM_MOUSEMOVE, 0, at(40, 40));
    ASSERT_TRUE(pin_window_state(pin)->hover);
    UpdateWindow(pin);
    std::vector<uint32_t> shown = shown_pixels(pin);
    auto at_pixel = [&](int x, int y) { return shown[y * 120 + x]; };
    EXPECT_EQ(at_pixel(0, 50), 0xF48542u);  // frame, red 244 green 133 blue 66
    EXPECT_EQ(at_pixel(60, 79), 0xF48542u); //
    EXPECT_EQ(at_pixel(1, 50), image_rgb(image, 1, 50));
    EXPECT_EQ(at_pixel(101, 1), 0x222222u);  // close square, clear of the cross
    EXPECT_EQ(at_pixel(110, 10), 0xFFFFFFu); // where the two strokes cross
    EXPECT_EQ(at_pixel(99, 1), image_rgb(image, 99, 1));

    // Away from the pin the system reports the leave; the image is whole again.
    SetCursorPos(0, 0);
    EXPECT_TRUE(pump_until([&] { return !pin_window_state(pin)->hover; }));
    UpdateWindow(pin);
    shown = shown_pixels(pin);
    EXPECT_EQ(at_pixel(0, 50), image_rgb(image, 0, 50));
    EXPECT_EQ(at_pixel(110, 10), image_rgb(image, 110, 10));
}

TEST_F(Pin, CtrlDragScalesAboutTheCentreAndPlainDragMoves) {
    HWND pin = open_one(pattern(200, 100));
    ASSERT_NE(pin, nullptr);
    const Box start = window_box(pin);
    const int cx = (start.left + start.right) / 2;
    const int cy = (start.top + start.bottom) / 2;

    // 100 px up: x1.5, so 300 x 150 about the same centre.
    drag(pin, {cx, cy}, {cx, cy - 100}, true);
    EXPECT_EQ(window_box(pin), (Box{cx - 150, cy - 75, cx + 150, cy + 75}));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pin_window_state(pin)->drag_mode, PinDragMode::None);
    // 100 px more starts from 1.5: x2.25, 450 x 225 (225 / 2 truncates to 112).
    drag(pin, {cx, cy}, {cx, cy - 100}, true);
    EXPECT_EQ(window_box(pin), (Box{cx - 225, cy - 112, cx + 225, cy + 113}));
    EXPECT_FLOAT_EQ(pin_window_state(pin)->zoom, 2.25f);

    // Without Ctrl the same gesture moves the window by the cursor's travel.
    const Box zoomed = window_box(pin);
    drag(pin, {cx, cy}, {cx + 40, cy - 25}, false);
    EXPECT_EQ(window_box(pin),
              (Box{zoomed.left + 40, zoomed.top - 25, zoomed.right + 40, zoomed.bottom - 25}));
    EXPECT_FLOAT_EQ(pin_window_state(pin)->zoom, 2.25f);
}

TEST_F(Pin, AMoveWithTheButtonFoundUpEndsTheDrag) {
    // Windows sends a pin no release that happened away from it without the capture.
    HWND pin = open_one(pattern(100, 60));
    ASSERT_NE(pin, nullptr);
    const Box start = window_box(pin);
    ASSERT_TRUE(move_cursor({start.left + 10, start.top + 10}));
    SendMessageW(pin, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    ASSERT_EQ(pin_window_state(pin)->drag_mode, PinDragMode::Move);
    ASSERT_TRUE(move_cursor({start.left + 70, start.top + 50}, true));
    SendMessageW(pin, WM_MOUSEMOVE, 0, at(70, 50));
    EXPECT_EQ(pin_window_state(pin)->drag_mode, PinDragMode::None);
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(window_box(pin), start);
}

namespace {

// The pin's own procedure, behind one that notes whether its WM_CAPTURECHANGED handler
// took the capture back (the capture has left the pin when the message comes, so a pin
// holding it when the handler returns set it there) and every place the pin was moved to.
WNDPROC pin_procedure = nullptr;
int captures_set_in_handler = 0;
int capture_changes = 0;
std::vector<POINT> moved_to;

LRESULT CALLBACK watch_capture_changes(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    const LRESULT result = CallWindowProcW(pin_procedure, window, message, wparam, lparam);
    if (message == WM_CAPTURECHANGED) {
        ++capture_changes;
        if (GetCapture() == window) ++captures_set_in_handler;
    }
    if (message == WM_WINDOWPOSCHANGED) {
        const auto* place = reinterpret_cast<const WINDOWPOS*>(lparam);
        if (!(place->flags & SWP_NOMOVE)) moved_to.push_back({place->x, place->y});
    }
    return result;
}

bool was_moved_to(LONG x, LONG y) {
    for (POINT p : moved_to)
        if (p.x == x && p.y == y) return true;
    return false;
}

void watch_pin(HWND pin) {
    captures_set_in_handler = capture_changes = 0;
    moved_to.clear();
    pin_procedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrW(pin, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(watch_capture_changes)));
}

// Opens a pin under watch and holds the left button down on it through real input until
// its move begins: the pin, where it stood in `start`; null when any of it failed.
HWND hold_watched_pin(Box& start) {
    HWND pin = open_one(pattern(100, 60));
    if (!pin) return nullptr;
    watch_pin(pin);
    start = window_box(pin);
    if (!move_cursor({start.left + 10, start.top + 10})) return nullptr;
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    const bool moving =
        pump_until([&] { return pin_window_state(pin)->drag_mode == PinDragMode::Move; });
    return moving ? pin : nullptr;
}

} // namespace

TEST_F(Pin, ACaptureReleasedToNobodyMidDragIsTakenBackAfterTheMessage) {
    // As Wine does to a window SetWindowPos moves: the capture goes to nobody while the
    // button is held. The drag goes on with real pointer input.
    Box start{};
    HWND pin = hold_watched_pin(start);
    ASSERT_NE(pin, nullptr);
    ASSERT_EQ(GetCapture(), pin);

    ReleaseCapture();
    EXPECT_EQ(capture_changes, 1);
    EXPECT_TRUE(pump_until([&] { return GetCapture() == pin; })) << "the capture was not retaken";
    // Two moves: under Wine the first one's SetWindowPos releases the capture again. Where
    // the pin was put is checked, not where it stands: Wine, under a window manager, can
    // put a window it moved back somewhere of its own a moment later.
    // Both end off the pin as it stands then: only a pin with the capture hears of them.
    send_mouse(MOUSEEVENTF_MOVE, {start.left + 130, start.top + 20});
    EXPECT_TRUE(pump_until([&] { return was_moved_to(start.left + 120, start.top + 10); }));
    send_mouse(MOUSEEVENTF_MOVE, {start.left + 30, start.top + 90});
    EXPECT_TRUE(pump_until([&] { return was_moved_to(start.left + 20, start.top + 80); }));
    send_mouse(MOUSEEVENTF_LEFTUP);
    EXPECT_TRUE(pump_until([&] { return pin_window_state(pin)->drag_mode == PinDragMode::None; }));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(captures_set_in_handler, 0) << "SetCapture inside WM_CAPTURECHANGED";
}

TEST_F(Pin, AWindowThatTakesTheCaptureBeforeThePinRetakesItKeepsIt) {
    Box start{};
    HWND pin = hold_watched_pin(start);
    ASSERT_NE(pin, nullptr);
    ReleaseCapture();
    SetCapture(focus_window()); // before the pin's turn comes
    pump();
    EXPECT_EQ(GetCapture(), focus_window());
    EXPECT_EQ(pin_window_state(pin)->drag_mode, PinDragMode::None);
    ReleaseCapture();
    send_mouse(MOUSEEVENTF_LEFTUP);
    pump_until([] { return !(GetAsyncKeyState(VK_LBUTTON) & 0x8000); });
    EXPECT_EQ(captures_set_in_handler, 0);
}

TEST_F(Pin, RightClickOrCloseSquareClosesOnlyThatPin) {
    const PixelImage image = pattern(100, 60);
    HWND first = open_one(image);
    HWND second = open_one(image);
    ASSERT_NE(first, nullptr);
    ASSERT_NE(second, nullptr);
    const int released = pin_release_count();

    // Just left of the square and just below it: a drag begins, nothing closes.
    for (LPARAM outside : {at(79, 0), at(99, 20)}) {
        SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, outside);
        EXPECT_EQ(pin_window_state(second)->drag_mode, PinDragMode::Move);
        SendMessageW(second, WM_LBUTTONUP, 0, outside);
    }
    EXPECT_TRUE(IsWindow(second));
    // Another window taking the mouse mid-drag ends the drag: no release will come.
    SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, at(10, 10));
    SetCapture(first);
    EXPECT_EQ(pin_window_state(second)->drag_mode, PinDragMode::None);
    ReleaseCapture();

    SendMessageW(first, WM_RBUTTONDOWN, MK_RBUTTON, at(10, 50));
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(IsWindow(second));
    EXPECT_EQ(pin_release_count(), released + 1);

    SendMessageW(second, WM_LBUTTONDOWN, MK_LBUTTON, at(80, 19));
    EXPECT_FALSE(IsWindow(second));
    EXPECT_EQ(GetCapture(), nullptr);
    EXPECT_EQ(pin_release_count(), released + 2);
}

TEST_F(Pin, AFailedOpenShowsNothingAndReleasesWhatItMade) {
    const PixelImage image = pattern(30, 20);
    for (PinFault fault : {PinFault::Dib, PinFault::Window}) {
        const int released = pin_release_count();
        fail_next_pin(fault);
        EXPECT_FALSE(open_pin_window(image));
        EXPECT_TRUE(own_windows(PIN_WINDOW_CLASS).empty());
        EXPECT_EQ(pin_release_count(), released + 1);
    }
    // A malformed image is refused before anything is made.
    PixelImage short_image = image;
    short_image.pixels.pop_back();
    EXPECT_FALSE(open_pin_window(short_image));
    EXPECT_FALSE(open_pin_window(PixelImage{}));
    EXPECT_TRUE(own_windows(PIN_WINDOW_CLASS).empty());
    // The faults were used up: the next pin opens.
    EXPECT_NE(open_one(image), nullptr);
}
