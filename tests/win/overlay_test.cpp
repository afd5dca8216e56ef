// In-process tests of the capture overlay under Wine: its state after real window
// messages, the frame it composes, and the release of its resources on every way out.
#include <gtest/gtest.h>

#include <windows.h>

#include <imm.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <initializer_list>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "capture/image/screen_grab_testing_win.h"
#include "capture/image/screen_grab_win.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_testing_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/pin/pin_testing_win.h"
#include "main/tray/tray_state_win.h"
#include "strings/interface_language.h"
#include "window_driver.h"

namespace {

class Overlay : public ::testing::Test {
  protected:
    void TearDown() override { close_own_windows(); }
};

// Captures the text of OutputDebugString calls: they raise a debug-print exception that
// vectored handlers see before the system swallows it.
std::string debug_text;
LONG CALLBACK catch_debug_print(EXCEPTION_POINTERS* info) {
    const EXCEPTION_RECORD* record = info->ExceptionRecord;
    if (record->ExceptionCode == DBG_PRINTEXCEPTION_C && record->NumberParameters >= 2) {
        debug_text += reinterpret_cast<const char*>(record->ExceptionInformation[1]);
    }
    return EXCEPTION_CONTINUE_SEARCH;
}

// Fills the screen with a pattern whose every pixel of a block differs, so a shifted or
// mis-sized copy cannot match.
void paint_screen_pattern() {
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    std::vector<uint32_t> pixels(static_cast<size_t>(w) * h);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            pixels[static_cast<size_t>(y) * w + x] =
                ((x * 7 + y) & 255) | (((y * 3) & 255) << 8) | (((x + y * 11) & 255) << 16);
        }
    }
    BITMAPINFOHEADER header{sizeof header, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC screen = GetDC(nullptr);
    SetDIBitsToDevice(screen, 0, 0, w, h, 0, 0, 0, h, pixels.data(),
                      reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS);
    ReleaseDC(nullptr, screen);
}

uint32_t rgb_at(const std::vector<uint8_t>& pixels, int width, int x, int y) {
    const size_t i = (static_cast<size_t>(y) * width + x) * 4;
    return pixels[i] | (pixels[i + 1] << 8) | (pixels[i + 2] << 16);
}

} // namespace

TEST_F(Overlay, OpensFullScreenWithTheInitialState) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    const OverlayState* s = overlay_state(window);
    ASSERT_NE(s, nullptr);
    RECT r{};
    GetWindowRect(window, &r);
    EXPECT_EQ(r.left, 0);
    EXPECT_EQ(r.top, 0);
    EXPECT_EQ(r.right, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(r.bottom, GetSystemMetrics(SM_CYSCREEN));
    EXPECT_EQ(s->screen_width, GetSystemMetrics(SM_CXSCREEN));
    EXPECT_EQ(s->screen_height, GetSystemMetrics(SM_CYSCREEN));
    const LONG_PTR ex = GetWindowLongPtrW(window, GWL_EXSTYLE);
    EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW),
              WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW);
    EXPECT_EQ(GetCapture(), window);
    EXPECT_FALSE(s->selecting || s->has_selection || s->toolbar_active || s->drawing);
    EXPECT_EQ(s->tool, AnnotationTool::Pen);
    EXPECT_EQ(s->color, 0x000000FFu);
    EXPECT_EQ(s->width_index, 1u);
    EXPECT_EQ(s->text_edit, nullptr);
    EXPECT_TRUE(s->annotations.empty() && s->selection_pixels.empty());
    // The class has no CS_DBLCLKS: a fast second click stays an ordinary press.
    EXPECT_EQ(GetClassLongPtrW(window, GCL_STYLE) & CS_DBLCLKS, 0);
}

TEST_F(Overlay, DragSelectsTheNormalisedRectangle) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 200));
    EXPECT_TRUE(s.selecting);
    EXPECT_EQ(s.selection, (PixelRect{300, 200, 300, 200}));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(120, 260));
    EXPECT_EQ(s.selection, (PixelRect{120, 200, 300, 260}));
    EXPECT_FALSE(s.has_selection);
    SendMessageW(window, WM_LBUTTONUP, 0, at(100, 150));
    EXPECT_FALSE(s.selecting);
    EXPECT_TRUE(s.has_selection);
    EXPECT_TRUE(s.toolbar_active);
    EXPECT_EQ(s.selection, (PixelRect{100, 150, 300, 200}));
    EXPECT_EQ(s.selection_pixels_width, 200);
    EXPECT_EQ(s.selection_pixels_height, 50);
    EXPECT_EQ(s.selection_pixels.size(), 200u * 50u * 4u);

    // A confirmed selection is final: a later drag does not replace it.
    drag(window, 10, 10, 60, 60);
    EXPECT_EQ(s.selection, (PixelRect{100, 150, 300, 200}));

    // The same corners dragged the other way give the same selection.
    HWND other = open_new_overlay();
    ASSERT_NE(other, nullptr);
    drag(other, 100, 150, 300, 200);
    EXPECT_EQ(overlay_state(other)->selection, s.selection);
    EXPECT_TRUE(overlay_state(other)->has_selection);
}

TEST_F(Overlay, FourPixelsConfirmAndThreeDoNot) {
    struct Case {
        int x1, y1, x2, y2;
        bool confirms;
    };
    const Case cases[] = {
        {10, 10, 14, 14, true},  {14, 14, 10, 10, true},  {10, 10, 13, 40, false},
        {10, 10, 40, 13, false}, {10, 10, 13, 13, false}, {50, 50, 50, 50, false},
        {10, 10, 7, 7, false},   {10, 10, 6, 14, true},
    };
    for (const Case& c : cases) {
        HWND window = open_new_overlay();
        ASSERT_NE(window, nullptr);
        OverlayState& s = *overlay_state(window);
        drag(window, c.x1, c.y1, c.x2, c.y2);
        EXPECT_EQ(s.has_selection, c.confirms) << c.x1 << "," << c.y1 << " " << c.x2 << "," << c.y2;
        EXPECT_EQ(s.toolbar_active, c.confirms);
        if (c.confirms) {
            EXPECT_EQ(s.selection.right - s.selection.left, 4);
            EXPECT_EQ(s.selection.bottom - s.selection.top, 4);
            EXPECT_EQ(s.selection_pixels.size(), 4u * 4u * 4u);
        } else {
            EXPECT_TRUE(s.selection_pixels.empty());
            // Still in the no-selection state: the next press starts a fresh drag.
            drag(window, 200, 200, 260, 230);
            EXPECT_EQ(s.selection, (PixelRect{200, 200, 260, 230}));
            EXPECT_TRUE(s.has_selection);
        }
        DestroyWindow(window);
    }
}

TEST_F(Overlay, CoordinatesBeyondTheScreenAreKept) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    const int w = s.screen_width;
    const int h = s.screen_height;
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(-30, -40));
    EXPECT_EQ(s.drag_anchor, (PixelPoint{-30, -40}));
    // The 64-bit lParam may also arrive sign-extended from the 32-bit value.
    const LPARAM extended = static_cast<LPARAM>(static_cast<int32_t>(at(w + 100, -7)));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, extended);
    EXPECT_EQ(s.selection, (PixelRect{-30, -40, w + 100, -7}));
    SendMessageW(window, WM_LBUTTONUP, 0, at(w + 100, h + 50));
    EXPECT_TRUE(s.has_selection);
    EXPECT_EQ(s.selection, (PixelRect{-30, -40, w + 100, h + 50}));
    EXPECT_EQ(s.selection_pixels_width, w + 130);
    EXPECT_EQ(s.selection_pixels_height, h + 90);
}

TEST_F(Overlay, AHugeSelectionKeepsNoSnapshotAndTheOverlayLives) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    drag(window, -32768, -32768, 32767, 32767); // 16 GiB of pixels
    EXPECT_TRUE(s.has_selection);
    EXPECT_EQ(s.selection, (PixelRect{-32768, -32768, 32767, 32767}));
    EXPECT_TRUE(s.selection_pixels.empty());
    UpdateWindow(window);
    EXPECT_TRUE(IsWindow(window));
}

TEST_F(Overlay, SnapshotAndFrameShowTheFrozenScreen) {
    paint_screen_pattern();
    const std::optional<PixelImage> live = capture_screen(std::nullopt);
    ASSERT_TRUE(live);
    // The pattern reached the screen, so the comparisons below compare real content.
    EXPECT_EQ(rgb_at(live->pixels, live->width, 5, 3), (5u * 7 + 3) | (9u << 8) | (38u << 16));

    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    const int w = s.screen_width;
    drag(window, 400, 300, 700, 500);
    ASSERT_TRUE(s.has_selection);
    ASSERT_EQ(s.selection_pixels.size(), 300u * 200u * 4u);
    int mismatches = 0;
    for (int y = 0; y < 200; ++y) {
        for (int x = 0; x < 300; ++x) {
            mismatches += rgb_at(s.selection_pixels, 300, x, y) !=
                          rgb_at(live->pixels, live->width, 400 + x, 300 + y);
        }
    }
    EXPECT_EQ(mismatches, 0);

    // The composed frame: undimmed inside, 155/255 outside, the frame's colour on the
    // edge, and every pixel opaque.
    UpdateWindow(window);
    std::vector<uint8_t> frame(s.back_bits,
                               s.back_bits + static_cast<size_t>(w) * s.screen_height * 4);
    EXPECT_EQ(rgb_at(frame, w, 550, 400), rgb_at(live->pixels, w, 550, 400));
    EXPECT_EQ(rgb_at(frame, w, 600, 480), rgb_at(live->pixels, w, 600, 480));
    for (const auto& [x, y] : {std::pair{100, 900}, std::pair{1000, 100}, std::pair{399, 600}}) {
        const uint32_t shown = rgb_at(frame, w, x, y);
        const uint32_t original = rgb_at(live->pixels, w, x, y);
        for (int shift = 0; shift < 24; shift += 8) {
            const int expected = static_cast<int>((original >> shift) & 255) * 155 / 255;
            EXPECT_LE(std::abs(static_cast<int>((shown >> shift) & 255) - expected), 1)
                << x << "," << y;
        }
    }
    // The 2-pixel pen straddles the edge: the column or row just outside or just inside.
    const uint32_t frame_rgb = 0x4285F4; // 0xF48542 as a COLORREF
    EXPECT_TRUE(rgb_at(frame, w, 399, 400) == frame_rgb || rgb_at(frame, w, 400, 400) == frame_rgb);
    EXPECT_TRUE(rgb_at(frame, w, 550, 299) == frame_rgb || rgb_at(frame, w, 550, 300) == frame_rgb);
    int transparent = 0;
    for (size_t i = 3; i < frame.size(); i += 4) transparent += frame[i] != 255;
    EXPECT_EQ(transparent, 0);
}

TEST_F(Overlay, EveryWayOutReleasesEverythingOnce) {
    enum Route { EscapeKey, RightButton, Destroy, EscapeAfterSelection };
    for (Route route : {EscapeKey, RightButton, Destroy, EscapeAfterSelection}) {
        HWND window = open_new_overlay();
        ASSERT_NE(window, nullptr);
        OverlayState& s = *overlay_state(window);
        if (route == EscapeAfterSelection) drag(window, 10, 10, 300, 300);
        const HGDIOBJ objects[] = {s.screen_dc,  s.screen_bitmap, s.dim_dc,
                                   s.dim_bitmap, s.back_dc,       s.back_bitmap};
        for (HGDIOBJ object : objects) ASSERT_NE(GetObjectType(object), 0u);
        const int released = overlay_release_count();
        if (route == RightButton) {
            SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, at(5, 5));
        } else if (route == Destroy) {
            DestroyWindow(window);
        } else {
            SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
        }
        pump();
        EXPECT_FALSE(IsWindow(window)) << route;
        EXPECT_EQ(overlay_release_count(), released + 1) << route;
        for (HGDIOBJ object : objects) EXPECT_EQ(GetObjectType(object), 0u) << route;
        EXPECT_FALSE(DestroyWindow(window));
        EXPECT_EQ(overlay_release_count(), released + 1) << route;
    }
}

TEST_F(Overlay, OtherKeysAndADoubleClickDoNotClose) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    for (WPARAM key :
         {WPARAM{VK_RETURN}, WPARAM{'C'}, WPARAM{'P'}, WPARAM{'Z'}, WPARAM{VK_SPACE}}) {
        SendMessageW(window, WM_KEYDOWN, key, 0);
    }
    SendMessageW(window, WM_LBUTTONDBLCLK, MK_LBUTTON, at(20, 20));
    SendMessageW(window, WM_OVERLAY_TEXT_COMMIT, 0, 0);
    SendMessageW(window, WM_OVERLAY_TEXT_CANCEL, 0, 0);
    pump();
    ASSERT_TRUE(IsWindow(window));
    EXPECT_FALSE(overlay_state(window)->has_selection);
}

TEST_F(Overlay, ClosingTheTopOverlayLeavesTheOtherWorking) {
    HWND lower = open_new_overlay();
    HWND upper = open_new_overlay();
    ASSERT_NE(lower, nullptr);
    ASSERT_NE(upper, nullptr);
    ASSERT_NE(overlay_state(lower), overlay_state(upper));
    drag(upper, 10, 10, 100, 100);
    SendMessageW(upper, WM_KEYDOWN, VK_ESCAPE, 0);
    pump();
    EXPECT_FALSE(IsWindow(upper));
    OverlayState* s = overlay_state(lower);
    ASSERT_NE(s, nullptr);
    EXPECT_FALSE(s->has_selection);
    EXPECT_NE(GetObjectType(s->back_bitmap), 0u);
    drag(lower, 50, 60, 250, 160);
    EXPECT_EQ(s->selection, (PixelRect{50, 60, 250, 160}));
    EXPECT_EQ(s->selection_pixels.size(), 200u * 100u * 4u);
}

TEST_F(Overlay, CaptureTakenMidDragEndsItAsAReleaseAtTheLastPoint) {
    // Alt+Tab or a UAC prompt mid-drag: another window gets the capture, no release comes.
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState* s = overlay_state(window);
    HWND other = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                 nullptr, nullptr);
    ASSERT_NE(other, nullptr);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(100, 120));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(300, 260));
    SetCapture(other);
    EXPECT_FALSE(s->selecting);
    EXPECT_TRUE(s->has_selection);
    EXPECT_EQ(s->selection, (PixelRect{100, 120, 300, 260}));

    // A pen stroke likewise ends where the pointer last was and is kept.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(150, 150));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(200, 190));
    SetCapture(other);
    EXPECT_FALSE(s->drawing);
    ASSERT_EQ(s->annotations.size(), 1u);
    EXPECT_EQ(s->annotations[0].points.back(), (PixelPoint{200, 190}));
    // Later pointer movement no longer extends anything.
    SendMessageW(window, WM_MOUSEMOVE, 0, at(260, 240));
    EXPECT_EQ(s->annotations[0].points.back(), (PixelPoint{200, 190}));
    EXPECT_EQ(s->selection, (PixelRect{100, 120, 300, 260}));
    ReleaseCapture();
    DestroyWindow(other);
}

TEST_F(Overlay, AFailedOpenReleasesWhatItMadeAndCarriesOn) {
    PVOID handler = AddVectoredExceptionHandler(1, catch_debug_print);
    const struct {
        void (*fail)();
        const char* text;
    } cases[] = {// GDI cannot read a locked workstation or the secure desktop.
                 {fail_next_screen_copy, "BitBlt of the screen failed"},
                 // Without its bitmap the frozen screen's DC would hold a 1 x 1 black one.
                 {[] { fail_next_overlay(OverlayFault::ScreenDc); }, "frozen screen's DC"},
                 {[] { fail_next_overlay(OverlayFault::ScreenBitmap); }, "frozen screen's DC"},
                 {[] { fail_next_overlay(OverlayFault::DimDc); }, "dimming DC"},
                 {[] { fail_next_overlay(OverlayFault::DimBitmap); }, "dimming DC"},
                 {[] { fail_next_overlay(OverlayFault::BackDc); }, "CreateDIBSection failed"},
                 {[] { fail_next_overlay(OverlayFault::BackBuffer); }, "CreateDIBSection failed"},
                 {[] { fail_next_overlay(OverlayFault::Window); }, "CreateWindowExW failed"}};
    for (const auto& c : cases) {
        debug_text.clear();
        const size_t open_before = own_windows(OVERLAY_WINDOW_CLASS).size();
        const int released = overlay_release_count();
        c.fail();
        open_overlay();
        EXPECT_EQ(own_windows(OVERLAY_WINDOW_CLASS).size(), open_before);
        EXPECT_EQ(overlay_release_count(), released + 1);
        EXPECT_NE(debug_text.find(c.text), std::string::npos) << debug_text;
        // The fault was spent: the next overlay opens normally.
        HWND window = open_new_overlay();
        ASSERT_NE(window, nullptr);
        EXPECT_NE(overlay_state(window), nullptr);
        DestroyWindow(window);
    }
    RemoveVectoredExceptionHandler(handler);
}

namespace {

// Presses the toolbar button with this command, as drawn by the last paint.
void press_button(HWND window, ToolbarCommand command) {
    pump(); // the paint that lays the toolbar out
    for (const ToolbarButton& b : overlay_state(window)->toolbar_buttons) {
        if (b.command != command) continue;
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(b.right, b.bottom));
        SendMessageW(window, WM_LBUTTONUP, 0, at(b.right, b.bottom));
        return;
    }
    ADD_FAILURE() << "no button " << static_cast<int32_t>(command);
}

// An overlay with a confirmed selection and an open text box at (200, 200).
struct TextBox {
    HWND window = nullptr, box = nullptr;
};

TextBox open_text_box() {
    HWND window = open_new_overlay();
    if (!window) return {};
    drag(window, 100, 100, 900, 600);
    press_button(window, TOOLBAR_TEXT);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(200, 200));
    SendMessageW(window, WM_LBUTTONUP, 0, at(200, 200));
    return {window, overlay_state(window)->text_edit};
}

// Counts back-buffer pixels in the rectangle that are nearly `rgb` (0xRRGGBB order of
// COLORREF reversed: the buffer holds B, G, R).
int count_near(const OverlayState& s, RECT r, COLORREF color, int tolerance = 40) {
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            const uint8_t* p = s.back_bits + (static_cast<size_t>(y) * s.screen_width + x) * 4;
            if (std::abs(p[2] - int(GetRValue(color))) <= tolerance &&
                std::abs(p[1] - int(GetGValue(color))) <= tolerance &&
                std::abs(p[0] - int(GetBValue(color))) <= tolerance)
                ++n;
        }
    }
    return n;
}

} // namespace

TEST_F(Overlay, MarksAreRecordedDrawnAndUndone) {
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    // The default tool is Pen: a stroke of three moves commits their three points.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(150, 150));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(200, 150));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(250, 150));
    // Painted without dispatching input: the real pointer's moves would join the stroke.
    UpdateWindow(window);
    // Shown while the button is held, in red at Medium (4 px).
    EXPECT_GE(count_near(s, {160, 146, 240, 154}, 0x0000FF), 80 * 3);
    EXPECT_TRUE(s.annotations.empty());
    SendMessageW(window, WM_LBUTTONUP, 0, at(260, 150));
    ASSERT_EQ(s.annotations.size(), 1u);
    EXPECT_EQ(s.annotations[0].points,
              (std::vector<PixelPoint>{{150, 150}, {200, 150}, {250, 150}}));

    // Rectangle, Bold: an outline only, recorded normalised with the width at release.
    press_button(window, TOOLBAR_RECTANGLE);
    press_button(window, TOOLBAR_WIDTH);
    press_button(window, TOOLBAR_WIDTH);
    EXPECT_EQ(s.width_index, 3u);
    EXPECT_EQ(s.annotations.size(), 1u); // toolbar presses draw nothing
    drag(window, 500, 400, 300, 200);
    ASSERT_EQ(s.annotations.size(), 2u);
    const Annotation& box = s.annotations[1];
    EXPECT_EQ(box.kind, AnnotationTool::Rectangle);
    EXPECT_EQ(box.bounds, (PixelRect{300, 200, 500, 400}));
    EXPECT_EQ(box.width, 10);
    pump();
    EXPECT_GE(count_near(s, {300, 250, 304, 350}, 0x0000FF), 4 * 100); // left edge
    EXPECT_EQ(count_near(s, {350, 250, 450, 350}, 0x0000FF), 0);       // hollow

    // A press in the gap right of a button is no toolbar press: it draws.
    const ToolbarButton first = s.toolbar_buttons[0];
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(first.right + 2, first.top + 5));
    SendMessageW(window, WM_LBUTTONUP, 0, at(first.right + 2, first.top + 5));
    EXPECT_EQ(s.annotations.size(), 3u);
    EXPECT_EQ(s.tool, AnnotationTool::Rectangle);

    // Mosaic: cells inside the selection only, each once.
    press_button(window, TOOLBAR_MOSAIC);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(97, 130)); // cell 96..108 crosses 100
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(110, 130));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(100, 130));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(119, 131));
    SendMessageW(window, WM_LBUTTONUP, 0, at(119, 131));
    ASSERT_EQ(s.annotations.size(), 4u);
    EXPECT_EQ(s.annotations[3].cells, (std::vector<PixelRect>{{108, 120, 120, 132}}));

    // Undo removes the newest mark each time, then nothing.
    press_button(window, TOOLBAR_UNDO);
    EXPECT_EQ(s.annotations.size(), 3u);
    EXPECT_EQ(s.annotations.back().kind, AnnotationTool::Rectangle);
    for (int i = 0; i < 4; ++i) press_button(window, TOOLBAR_UNDO);
    EXPECT_TRUE(s.annotations.empty());
    pump();
    EXPECT_EQ(count_near(s, {160, 146, 240, 154}, 0x0000FF), 0);
    // Exactly one tool button is highlighted: Mosaic's.
    int highlighted = 0;
    for (const ToolbarButton& b : s.toolbar_buttons) {
        if (b.command <= TOOLBAR_MOSAIC &&
            count_near(s, {b.left, b.top, b.left + 2, b.top + 2}, 0x666666, 0) == 4) {
            ++highlighted;
            EXPECT_EQ(b.command, TOOLBAR_MOSAIC);
        }
    }
    EXPECT_EQ(highlighted, 1);
}

// The width button's pixels as the last paint left them.
std::vector<uint8_t> width_button(HWND window) {
    pump();
    const OverlayState& s = *overlay_state(window);
    std::vector<uint8_t> pixels;
    for (const ToolbarButton& b : s.toolbar_buttons) {
        if (b.command != TOOLBAR_WIDTH) continue;
        for (int y = b.top; y < b.bottom; ++y) {
            const uint8_t* row =
                s.back_bits + (static_cast<size_t>(y) * s.screen_width + b.left) * 4;
            pixels.insert(pixels.end(), row, row + (b.right - b.left) * 4);
        }
    }
    return pixels;
}

TEST_F(Overlay, TheWidthLabelCyclesBackAndFollowsTheLanguage) {
    const Language language = interface_language();
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    set_interface_language(Language::English);
    const std::vector<uint8_t> medium = width_button(window);
    ASSERT_FALSE(medium.empty());
    press_button(window, TOOLBAR_WIDTH);
    EXPECT_NE(width_button(window), medium);
    for (int i = 0; i < 3; ++i) press_button(window, TOOLBAR_WIDTH);
    EXPECT_EQ(width_button(window), medium); // four presses: Medium again
    set_interface_language(Language::Chinese);
    request_repaint(window);
    EXPECT_NE(width_button(window), medium); // the next paint names it in Chinese
    set_interface_language(language);
}

// A layered window shows only the frame it is handed, never its child windows: the text
// box's content has to be in that frame, or on Windows the user would type blind.
TEST_F(Overlay, TheTextBoxShowsInTheFrameAndEnterCommitsIt) {
    const TextBox opened = open_text_box();
    const HWND window = opened.window;
    const HWND box = opened.box;
    ASSERT_NE(box, nullptr) << "no overlay, or no text box in it";
    OverlayState& s = *overlay_state(window);
    EXPECT_EQ(GetParent(box), window);
    EXPECT_EQ(GetFocus(), box);
    EXPECT_EQ(s.text_position, (PixelPoint{200, 200}));
    pump();
    const RECT inside{204, 204, 446, 226};
    const int white_before = count_near(s, inside, 0xFFFFFF, 0);
    EXPECT_GE(white_before, 230 * 20); // the empty white box is drawn, a caret at most on it

    for (wchar_t c : std::wstring(L"abc")) SendMessageW(box, WM_CHAR, c, 0);
    pump();
    // The typed letters are in the frame that UpdateLayeredWindow was handed.
    EXPECT_LE(count_near(s, inside, 0xFFFFFF, 0), white_before - 60);
    EXPECT_GE(count_near(s, inside, 0x000000, 80), 20);

    // A toolbar press leaves the box open, and a width chosen meanwhile applies at commit.
    press_button(window, TOOLBAR_WIDTH); // Thick
    ASSERT_EQ(s.text_edit, box);
    SendMessageW(box, WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(s.text_edit, nullptr);
    EXPECT_FALSE(IsWindow(box));
    ASSERT_EQ(s.annotations.size(), 1u);
    const Annotation& text = s.annotations[0];
    EXPECT_EQ(text.kind, AnnotationTool::Text);
    EXPECT_EQ(text.text, "abc");
    EXPECT_EQ(text.position, (PixelPoint{200, 200}));
    EXPECT_EQ(text.font_height, 32);
    EXPECT_EQ(text.color, 0x0000FFu);
    EXPECT_EQ(GetFocus(), window); // Esc and Enter reach the overlay again
    EXPECT_GE(count_near(s, {200, 200, 260, 236}, 0x0000FF), 30);

    // An empty box commits nothing; a second press discards the first box's text, and
    // removing a box never reports a focus loss of its own.
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 300));
    SendMessageW(s.text_edit, WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_EQ(s.annotations.size(), 1u);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 300));
    SendMessageW(s.text_edit, WM_CHAR, L'x', 0);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(400, 400));
    MSG stray;
    EXPECT_FALSE(
        PeekMessageW(&stray, window, WM_OVERLAY_TEXT_CANCEL, WM_OVERLAY_TEXT_CANCEL, PM_NOREMOVE));
    ASSERT_NE(s.text_edit, nullptr);
    EXPECT_EQ(GetWindowTextLengthW(s.text_edit), 0);
    // Focus moving elsewhere discards the box and its text.
    SendMessageW(s.text_edit, WM_CHAR, L'y', 0);
    SetFocus(window);
    pump();
    EXPECT_EQ(s.text_edit, nullptr);
    EXPECT_EQ(s.annotations.size(), 1u);
}

TEST_F(Overlay, ActionsWithNothingToActOnOrFailingKeepTheOverlay) {
    // A selection far beyond the screen is too large to flatten: nothing happens.
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    drag(window, -32768, -32768, 32767, 32767);
    press_button(window, TOOLBAR_COPY);
    press_button(window, TOOLBAR_PIN);
    pump();
    EXPECT_NE(overlay_state(window), nullptr);
    // A pin that cannot be made leaves the selection and its marks for another try.
    HWND second = open_new_overlay();
    ASSERT_NE(second, nullptr);
    drag(second, 10, 10, 300, 200);
    drag(second, 20, 20, 60, 60);
    for (PinFault fault : {PinFault::Dib, PinFault::Window}) {
        fail_next_pin(fault);
        press_button(second, TOOLBAR_PIN);
        pump();
        ASSERT_NE(overlay_state(second), nullptr);
        EXPECT_EQ(overlay_state(second)->annotations.size(), 1u);
    }
    // Enter before a selection exists does nothing either.
    HWND third = open_new_overlay();
    ASSERT_NE(third, nullptr);
    SendMessageW(third, WM_KEYDOWN, VK_RETURN, 0);
    pump();
    EXPECT_NE(overlay_state(third), nullptr);
}

TEST_F(Overlay, ASnapshotGdiRefusesLeavesTheMosaicGreyNotBlack) {
    HWND window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    fail_next_overlay(OverlayFault::Snapshot);
    drag(window, 100, 100, 400, 300);
    ASSERT_TRUE(s.has_selection);
    EXPECT_TRUE(s.selection_pixels.empty());
    press_button(window, TOOLBAR_MOSAIC);
    drag(window, 150, 150, 200, 160);
    ASSERT_EQ(s.annotations.size(), 1u);
    const std::optional<PixelImage> image = render_selection(s);
    ASSERT_TRUE(image);
    // The cell 144,144 - 156,156, seen from the selection's corner.
    EXPECT_EQ(rgb_at(image->pixels, image->width, 150 - 100, 150 - 100), 0x808080u);
}

TEST_F(Overlay, SavingThroughTheDialogKeepsTheCurrentDirectory) {
    // The tray would otherwise hold the folder saved to open for as long as it runs.
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vls-save-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "shot.png";
    const std::filesystem::path working = std::filesystem::current_path();
    ASSERT_NE(working, folder);

    // Twice: Wine's dialog moves into the folder when it opens there, as the second does.
    for (int round = 0; round < 2; ++round) {
        HWND window = open_new_overlay();
        ASSERT_NE(window, nullptr);
        drag(window, 100, 100, 300, 250);
        with_save_dialog_answered(file.wstring(), [&] { press_button(window, TOOLBAR_SAVE); });
        pump();
        EXPECT_FALSE(IsWindow(window)) << "the save did not finish the overlay";
        EXPECT_TRUE(std::filesystem::exists(file));
        EXPECT_EQ(std::filesystem::current_path(), working) << "after save " << round + 1;
    }
    std::filesystem::current_path(working);
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

namespace {

// The smallest rectangle holding the pixels of `r` that are far from `background`, the
// column `skip` left out (the caret); empty when there are none.
RECT ink_box(const uint8_t* bits, int stride_pixels, RECT r, COLORREF background, int skip = -1) {
    RECT ink{r.right, r.bottom, r.left, r.top};
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            if (x == skip) continue;
            const uint8_t* p = bits + (static_cast<size_t>(y) * stride_pixels + x) * 4;
            if (std::abs(p[2] - int(GetRValue(background))) +
                    std::abs(p[1] - int(GetGValue(background))) +
                    std::abs(p[0] - int(GetBValue(background))) <
                200)
                continue;
            ink = {std::min<LONG>(ink.left, x), std::min<LONG>(ink.top, y),
                   std::max<LONG>(ink.right, x + 1), std::max<LONG>(ink.bottom, y + 1)};
        }
    }
    return ink;
}

uint32_t rgb_at_frame(const OverlayState& s, int x, int y) {
    const uint8_t* p = s.back_bits + (static_cast<size_t>(y) * s.screen_width + x) * 4;
    return p[0] | (p[1] << 8) | (p[2] << 16);
}

// The system colours of a contrast theme for one test, put back afterwards.
struct SystemColours {
    int elements[2] = {COLOR_WINDOW, COLOR_WINDOWTEXT};
    COLORREF saved[2] = {GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOWTEXT)};
    SystemColours(COLORREF window, COLORREF text) {
        const COLORREF colours[2] = {window, text};
        SetSysColors(2, elements, colours);
    }
    ~SystemColours() { SetSysColors(2, elements, saved); }
};

} // namespace

// The frame shows the box's text exactly where the edit control lays it out, since an
// input method places its composition and candidate windows there; in the window colours,
// whatever the theme makes of them.
TEST_F(Overlay, TheTextBoxIsDrawnWhereTheControlLaysItOutInAnyContrastTheme) {
    const TextBox opened = open_text_box();
    const HWND window = opened.window;
    const HWND box = opened.box;
    ASSERT_NE(box, nullptr) << "no overlay, or no text box in it";
    OverlayState& s = *overlay_state(window);
    for (wchar_t c : std::wstring(L"Hg")) SendMessageW(box, WM_CHAR, c, 0);
    request_repaint(window);
    pump();

    POINT origin{0, 0};
    MapWindowPoints(box, window, &origin, 1);
    RECT client{};
    GetClientRect(box, &client);
    // The control's own drawing of its client area (no selection; the caret is not drawn).
    BITMAPINFOHEADER header{
        sizeof header, client.right, -client.bottom, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, reinterpret_cast<BITMAPINFO*>(&header), DIB_RGB_COLORS,
                                      &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT | PRF_ERASEBKGND);
    GdiFlush();
    const RECT own =
        ink_box(static_cast<uint8_t*>(bits), client.right, client, GetSysColor(COLOR_WINDOW));
    SelectObject(dc, old);
    DeleteObject(bitmap);
    DeleteDC(dc);
    ASSERT_LT(own.left, own.right) << "the control drew no text";

    POINT end_caret{};
    ASSERT_TRUE(GetCaretPos(&end_caret));
    RECT area = client;
    OffsetRect(&area, origin.x, origin.y);
    const RECT drawn = ink_box(s.back_bits, s.screen_width, area, GetSysColor(COLOR_WINDOW),
                               origin.x + end_caret.x);
    EXPECT_EQ(drawn.left, own.left + origin.x);
    EXPECT_EQ(drawn.top, own.top + origin.y);
    EXPECT_EQ(drawn.right, own.right + origin.x);
    EXPECT_EQ(drawn.bottom, own.bottom + origin.y);

    // A dark contrast theme: light text on a dark box, still readable in the frame.
    {
        SystemColours theme(0x000000, 0xFFFFFF);
        request_repaint(window);
        pump();
        ASSERT_EQ(overlay_state(window)->text_edit, box);
        EXPECT_GE(count_near(s, area, 0x000000, 60),
                  (area.right - area.left) * (area.bottom - area.top) / 2);
        EXPECT_GE(count_near(s, area, 0xFFFFFF, 60), 20) << "no light text on the dark box";
    }
}

namespace {

// The text box's geometry in the overlay's frame, read from the control.
struct BoxLayout {
    HWND box;
    POINT origin{0, 0}; // the box's client origin in the overlay
    RECT area{};        // the box's client area in the overlay
    int line_top = 0;
    int line_height = 0;

    BoxLayout(HWND window, HWND edit) : box(edit) {
        MapWindowPoints(box, window, &origin, 1);
        GetClientRect(box, &area);
        OffsetRect(&area, origin.x, origin.y);
        TEXTMETRICW metrics{};
        HDC dc = GetDC(box);
        HGDIOBJ old =
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0)));
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(box, dc);
        line_height = metrics.tmHeight;
        line_top = origin.y + static_cast<short>(HIWORD(SendMessageW(box, EM_POSFROMCHAR, 0, 0)));
    }
    // The left edge of character `index` in the overlay, as the control lays it out.
    int char_x(int index) const {
        return origin.x + static_cast<short>(LOWORD(SendMessageW(box, EM_POSFROMCHAR, index, 0)));
    }
    // A screen point inside the line at overlay column `x`.
    POINT on_screen(int x) const {
        POINT p{x - origin.x, line_top - origin.y + line_height / 2};
        ClientToScreen(box, &p);
        return p;
    }
    int caret_x() const {
        POINT caret{};
        return GetCaretPos(&caret) ? origin.x + caret.x : -1;
    }
};

// The columns of the frame's text line holding the highlight colour, the caret's left
// out: [first, last + 1), or {0, 0} when there are none.
std::pair<int, int> highlighted_columns(const OverlayState& s, const BoxLayout& layout) {
    const COLORREF highlight = GetSysColor(COLOR_HIGHLIGHT);
    int first = 0, end = 0;
    for (int x = layout.area.left; x < layout.area.right; ++x) {
        if (x == layout.caret_x()) continue;
        if (count_near(s, {x, layout.line_top, x + 1, layout.line_top + layout.line_height},
                       highlight, 30) == 0)
            continue;
        if (end == 0) first = x;
        end = x + 1;
    }
    return {first, end};
}

// The control's selection as columns of the frame, the caret's column left out.
std::pair<int, int> selected_columns(const BoxLayout& layout) {
    DWORD start = 0, end = 0;
    SendMessageW(layout.box, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                 reinterpret_cast<LPARAM>(&end));
    const int length = GetWindowTextLengthW(layout.box);
    int left = layout.char_x(static_cast<int>(start));
    // Past the last character the control gives no position; its caret stands there.
    const int right =
        static_cast<int>(end) < length ? layout.char_x(static_cast<int>(end)) : layout.caret_x();
    if (left == layout.caret_x()) ++left;
    return {left, right};
}

void put_text_on_clipboard(const wchar_t* text) {
    const size_t bytes = (wcslen(text) + 1) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, bytes);
    memcpy(GlobalLock(memory), text, bytes);
    GlobalUnlock(memory);
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    SetClipboardData(CF_UNICODETEXT, memory);
    CloseClipboard();
}

// A right-click on the box at `where` and a key for its context menu, all queued before
// the menu's own loop reads them.
void context_menu_command(POINT where, WORD key) {
    send_mouse(MOUSEEVENTF_MOVE, where);
    send_mouse(MOUSEEVENTF_RIGHTDOWN);
    send_mouse(MOUSEEVENTF_RIGHTUP);
    type_keys({key});
}

} // namespace

// Windows shows no child of a layered window, so whatever the user does in the box must
// reach the frame: a selection made with the mouse or the keys in the highlight colours
// over exactly the characters the control selected, the caret where a click put it, and
// the context menu's Paste and Select All, with no key pressed in the box.
TEST_F(Overlay, TheTextBoxShowsTheControlsSelectionAndCaretAfterRealInput) {
    const TextBox opened = open_text_box();
    const HWND window = opened.window;
    const HWND box = opened.box;
    ASSERT_NE(box, nullptr) << "no overlay, or no text box in it";
    SetForegroundWindow(window);
    SetFocus(box);
    type_keys(
        {'A', 'L', 'P', 'H', 'A', VK_SPACE, 'B', 'E', 'T', 'A', VK_SPACE, 'G', 'A', 'M', 'M', 'A'});
    ASSERT_TRUE(pump_until([&] { return GetWindowTextLengthW(box) == 16; }));
    const OverlayState& s = *overlay_state(window);
    const BoxLayout layout(window, box);
    EXPECT_EQ(highlighted_columns(s, layout), std::make_pair(0, 0)) << "nothing selected yet";
    auto selection_is = [&](DWORD start, DWORD end) {
        return [=] {
            DWORD a = 0, b = 0;
            SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&a),
                         reinterpret_cast<LPARAM>(&b));
            return a == start && b == end;
        };
    };

    // A double-click on "beta" selects the word (with its space, where the control takes it).
    const POINT in_beta = layout.on_screen(layout.char_x(7) + 2);
    send_mouse(MOUSEEVENTF_MOVE, in_beta);
    for (int i = 0; i < 2; ++i) {
        send_mouse(MOUSEEVENTF_LEFTDOWN);
        send_mouse(MOUSEEVENTF_LEFTUP);
    }
    ASSERT_TRUE(pump_until([&] { return selection_is(6, 10)() || selection_is(6, 11)(); }));
    pump();
    EXPECT_EQ(highlighted_columns(s, layout), selected_columns(layout)) << "double-click";

    // A click between "a" and "m" of "gamma": no selection, the caret exactly there.
    send_mouse(MOUSEEVENTF_MOVE, layout.on_screen(layout.char_x(13)));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    send_mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(pump_until(selection_is(13, 13)));
    pump();
    EXPECT_EQ(highlighted_columns(s, layout), std::make_pair(0, 0)) << "click";
    const int caret = layout.char_x(13);
    EXPECT_EQ(layout.caret_x(), caret);
    EXPECT_GE(count_near(s,
                         {caret, layout.line_top, caret + 1, layout.line_top + layout.line_height},
                         GetSysColor(COLOR_WINDOWTEXT), 60),
              layout.line_height - 2)
        << "no caret at the click";
    EXPECT_EQ(count_near(s,
                         {caret - 3, layout.line_top, caret, layout.line_top + layout.line_height},
                         GetSysColor(COLOR_WINDOWTEXT), 60) < layout.line_height,
              true);

    // Shift+Home from there.
    type_keys({VK_HOME}, VK_SHIFT);
    ASSERT_TRUE(pump_until(selection_is(0, 13)));
    pump();
    EXPECT_EQ(highlighted_columns(s, layout), selected_columns(layout)) << "Shift+Home";

    // A drag from inside "alpha" to inside "beta".
    send_mouse(MOUSEEVENTF_MOVE, layout.on_screen(layout.char_x(2)));
    send_mouse(MOUSEEVENTF_LEFTDOWN);
    send_mouse(MOUSEEVENTF_MOVE, layout.on_screen(layout.char_x(5)));
    send_mouse(MOUSEEVENTF_MOVE, layout.on_screen(layout.char_x(9)));
    send_mouse(MOUSEEVENTF_LEFTUP);
    ASSERT_TRUE(pump_until(selection_is(2, 9)));
    pump();
    EXPECT_EQ(highlighted_columns(s, layout), selected_columns(layout)) << "drag";

    // The context menu: Paste over the selection, then Select All.
    put_text_on_clipboard(L"XX");
    context_menu_command(layout.on_screen(layout.char_x(4)), 'P');
    ASSERT_TRUE(pump_until([&] { return GetWindowTextLengthW(box) == 11; }));
    pump();
    const RECT pasted{layout.char_x(2), layout.line_top, layout.char_x(4),
                      layout.line_top + layout.line_height};
    EXPECT_GE(count_near(s, pasted, GetSysColor(COLOR_WINDOWTEXT), 60), 10) << "paste";
    context_menu_command(layout.on_screen(layout.char_x(4)), 'A');
    ASSERT_TRUE(pump_until(selection_is(0, 11)));
    pump();
    EXPECT_EQ(highlighted_columns(s, layout), selected_columns(layout)) << "Select All";
    ASSERT_EQ(overlay_state(window)->text_edit, box) << "the menu took the box away";
}

// Enter, Esc and Ctrl+Backspace typed in the box: the characters they make never reach the
// edit control (it beeps at them, or shows a box glyph), and typing still does.
TEST_F(Overlay, TheKeysThatWouldBeepNeverReachTheTextBox) {
    // Every edit control made from here on records the characters that reach it.
    static std::vector<WPARAM> reached;
    static WNDPROC edit_proc = nullptr;
    reached.clear();
    HWND sample = CreateWindowExW(0, L"EDIT", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(sample, nullptr);
    edit_proc = reinterpret_cast<WNDPROC>(GetClassLongPtrW(sample, GCLP_WNDPROC));
    auto recorder = [](HWND w, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
        if (m == WM_CHAR) reached.push_back(wp);
        return CallWindowProcW(edit_proc, w, m, wp, lp);
    };
    SetClassLongPtrW(sample, GCLP_WNDPROC,
                     reinterpret_cast<LONG_PTR>(static_cast<WNDPROC>(recorder)));
    DestroyWindow(sample);

    const TextBox opened = open_text_box();
    const HWND window = opened.window;
    const HWND box = opened.box;
    ASSERT_NE(box, nullptr) << "no overlay, or no text box in it";
    SetForegroundWindow(window);
    SetFocus(box);
    type_keys({'A', 'B'});
    type_keys({VK_ESCAPE});
    type_keys({VK_BACK}, VK_CONTROL);
    type_keys({VK_RETURN});
    pump_typed();
    pump_typed();
    SetClassLongPtrW(box, GCLP_WNDPROC, reinterpret_cast<LONG_PTR>(edit_proc));

    const OverlayState& s = *overlay_state(window);
    ASSERT_EQ(s.annotations.size(), 1u) << "Enter did not commit the text";
    EXPECT_EQ(s.annotations[0].text, "ab");
    for (WPARAM c : reached) EXPECT_TRUE(c != L'\r' && c != 0x1B && c != 0x7F) << "reached: " << c;
    EXPECT_EQ(std::count(reached.begin(), reached.end(), WPARAM{L'a'}), 1);
}

// Keys on the overlay are commands: no input method there, while the text box keeps one.
// Ctrl counts as it was when the key was pressed, however late the overlay reads it.
TEST_F(Overlay, TheOverlayHasNoInputMethodAndReadsCtrlAsItWasPressed) {
    const TextBox opened = open_text_box();
    HWND window = opened.window;
    const HWND box = opened.box;
    ASSERT_NE(box, nullptr) << "no overlay, or no text box in it";
    HIMC overlay_context = ImmGetContext(window);
    EXPECT_EQ(overlay_context, nullptr);
    if (overlay_context) ImmReleaseContext(window, overlay_context);
    HIMC box_context = ImmGetContext(box);
    EXPECT_NE(box_context, nullptr);
    if (box_context) ImmReleaseContext(box, box_context);

    // Ctrl+C pressed and released before the overlay reads any of it: still a copy, which
    // finishes the overlay.
    SendMessageW(window, WM_RBUTTONDOWN, 0, at(10, 10)); // closes this one
    pump();
    window = open_new_overlay();
    ASSERT_NE(window, nullptr);
    drag(window, 100, 100, 300, 250);
    SetForegroundWindow(window);
    SetFocus(window);
    pump();
    type_keys({'C'}, VK_CONTROL);
    pump_typed();
    EXPECT_TRUE(pump_until([&] { return !IsWindow(window); })) << "Ctrl+C read as a plain C";
}

// "Medium" in the toolbar's font is wider than its button: every width's label, in both
// languages, is centred on its button and keeps out of the gaps and the next button.
TEST_F(Overlay, TheWidthLabelStaysInsideItsButton) {
    const Language language = interface_language();
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    pump();
    const OverlayState& s = *overlay_state(window);
    ToolbarButton width{}, color{}, undo{};
    for (const ToolbarButton& b : s.toolbar_buttons) {
        if (b.command == TOOLBAR_WIDTH) width = b;
        if (b.command == TOOLBAR_COLOR) color = b;
        if (b.command == TOOLBAR_UNDO) undo = b;
    }
    ASSERT_LT(width.left, width.right);
    auto undo_pixels = [&] {
        std::vector<uint32_t> pixels;
        for (int y = undo.top; y < undo.bottom; ++y)
            for (int x = undo.left; x < undo.right; ++x) pixels.push_back(rgb_at_frame(s, x, y));
        return pixels;
    };
    const std::vector<uint32_t> undo_before = undo_pixels();
    for (Language shown : {Language::English, Language::Chinese}) {
        set_interface_language(shown);
        for (int i = 0; i < 4; ++i) {
            press_button(window, TOOLBAR_WIDTH);
            pump();
            // From the colour button's right edge to the undo button's left: the width
            // button and the gaps on either side of it.
            const RECT strip{color.right, width.top, undo.left, width.bottom};
            const RECT ink = ink_box(s.back_bits, s.screen_width, strip, 0x333333);
            const std::string label = "language " + std::to_string(int(shown)) + ", width " +
                                      std::to_string(s.width_index) + ", ink " +
                                      std::to_string(ink.left) + ".." + std::to_string(ink.right) +
                                      " in " + std::to_string(width.left) + ".." +
                                      std::to_string(width.right);
            ASSERT_LT(ink.left, ink.right) << label << ": no label";
            EXPECT_GE(ink.left, width.left) << label;
            EXPECT_LE(ink.right, width.right) << label;
            // Centred by the text's advance, so glyph bearings may leave up to 2 pixels.
            EXPECT_LE(std::abs((ink.left + ink.right) - (width.left + width.right)), 4) << label;
            EXPECT_EQ(undo_pixels(), undo_before) << label << ": the label reaches the undo icon";
        }
    }
    set_interface_language(language);
}
