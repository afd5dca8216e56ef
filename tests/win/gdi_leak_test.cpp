// GDI objects over long uptime: every drawing and window path, repeated, leaves the number
// of GDI objects the process can still create where it was. A tray tool paints thousands
// of frames; one object leaked per call would end it once the per-process table is full.
// The first test checks that the measure counts each live object exactly once.
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "capture/marks/annotation.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_testing_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/overlay/toolbar.h"
#include "capture/pin/pin_testing_win.h"
#include "main/hotkey/hotkey_dialog_win.h"
#include "main/tray/tray_icon_win.h"
#include "main/tray/tray_state_win.h"
#include "process_measure.h"
#include "window_driver.h"

namespace {

// Repetitions of each path between two measures. A path that leaks one object per call
// loses that many slots; one that settles after warming up loses none. The measure counts
// each live object exactly once, so a few rounds decide: a loss of half an object per call
// fails at any even number of rounds. The overlay's open and close grabs the whole screen
// each time, so its routes run fewer rounds.
constexpr int ROUNDS = 10;
constexpr int ROUTE_ROUNDS = 6;
constexpr int WARM_UP = 3;

// GDI slots lost by running `path` `rounds` times, after WARM_UP runs that may fill
// caches. Printed as well: the README quotes these figures.
template <typename Path>
int slots_lost(const char* name, int rounds, Path path) {
    for (int i = 0; i < WARM_UP; ++i) path();
    const int before = creatable_gdi_objects();
    for (int i = 0; i < rounds; ++i) path();
    const int lost = before - creatable_gdi_objects();
    std::printf("GDI objects left behind by %d rounds of %s: %d\n", rounds, name, lost);
    std::fflush(stdout);
    return lost;
}

// One committed mark of every kind, drawn over the selection 100,100 - 700,500.
void add_every_mark(OverlayState& s) {
    const std::vector<PixelPoint> stroke{{150, 150}, {200, 170}, {260, 150}};
    std::vector<PixelRect> cells;
    for (int x = 120; x < 220; x += MOSAIC_CELL) cells.push_back({x, 300, x + MOSAIC_CELL, 312});
    const struct {
        AnnotationTool tool;
        PixelPoint press, release;
    } drawn[] = {{AnnotationTool::Pen, {150, 150}, {260, 150}},
                 {AnnotationTool::Arrow, {300, 150}, {450, 250}},
                 {AnnotationTool::Rectangle, {300, 300}, {400, 380}},
                 {AnnotationTool::Ellipse, {450, 300}, {600, 420}},
                 {AnnotationTool::Mosaic, {120, 300}, {220, 306}}};
    for (const auto& d : drawn) {
        if (auto mark = finish_mark(d.tool, d.press, d.release, stroke, cells, 0x00FF00, 6))
            s.annotations.push_back(*mark);
    }
    s.annotations.push_back(text_mark("Vellumshot 截图", {150, 420}, 0xFF0000, 28));
}

class GdiObjects : public ::testing::Test {
  protected:
    void TearDown() override { close_own_windows(); }
};

} // namespace

TEST_F(GdiObjects, TheMeasureCountsEveryLiveObjectOfEachKindTheCodeMakes) {
    HDC screen = GetDC(nullptr);
    const int before = creatable_gdi_objects();
    ASSERT_GT(before, 9000); // room for a Windows quota's worth, so the measure means something
    HGDIOBJ made[] = {
        CreatePen(PS_SOLID, 2, 0), CreateSolidBrush(0xFF),
        CreateFontW(20, 0, 0, 0, FW_NORMAL, 0, 0, 0, DEFAULT_CHARSET, 0, 0, 0, 0, L"Segoe UI"),
        CreateCompatibleBitmap(screen, 8, 8), CreateCompatibleDC(screen)};
    EXPECT_EQ(before - creatable_gdi_objects(), 5);
    DeleteObject(made[0]);
    DeleteObject(made[1]);
    DeleteObject(made[2]);
    DeleteObject(made[3]);
    DeleteDC(static_cast<HDC>(made[4]));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(creatable_gdi_objects(), before);
}

TEST_F(GdiObjects, PaintingTheOverlayWithEveryMarkToolbarAndTextBoxKeepsNone) {
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    add_every_mark(s);
    press_toolbar_button(window, TOOLBAR_TEXT);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 440));
    ASSERT_NE(s.text_edit, nullptr);
    SendMessageW(s.text_edit, WM_CHAR, L'a', 0);
    pump();
    // Every tool's mark in progress as well, each frame.
    s.drawing = true;
    s.stroke_points = {{500, 150}, {560, 200}, {620, 160}};
    s.mosaic_cells = {{600, 420, 612, 432}};
    const AnnotationTool tools[] = {AnnotationTool::Pen,       AnnotationTool::Arrow,
                                    AnnotationTool::Rectangle, AnnotationTool::Ellipse,
                                    AnnotationTool::Mosaic,    AnnotationTool::Text};
    const int lost = slots_lost("paint_overlay, 6 frames", ROUNDS, [&] {
        for (AnnotationTool tool : tools) {
            s.tool = tool;
            paint_overlay(window, s);
        }
    });
    EXPECT_LT(lost, ROUNDS / 2) << "GDI objects lost over " << ROUNDS << " rounds of paints";
    EXPECT_EQ(s.toolbar_buttons.size(), 13u); // the toolbar was drawn
}

TEST_F(GdiObjects, RenderingTheSelectionWithEveryMarkKeepsNone) {
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    add_every_mark(s);
    bool rendered = true;
    const int lost = slots_lost("render_selection", ROUNDS,
                                [&] { rendered = rendered && render_selection(s).has_value(); });
    EXPECT_TRUE(rendered);
    EXPECT_LT(lost, ROUNDS / 2);
}

TEST_F(GdiObjects, ThePinsPaintAtEveryZoomWithAndWithoutHoverKeepsNone) {
    PixelImage image;
    image.width = 200;
    image.height = 120;
    image.pixels.assign(200u * 120u * 4u, 0x7F);
    ASSERT_TRUE(open_pin_window(image));
    const std::vector<HWND> pins = own_windows(PIN_WINDOW_CLASS);
    ASSERT_EQ(pins.size(), 1u);
    HWND pin = pins[0];
    const char* names[] = {"pin paint at zoom 0.1", "pin paint at zoom 1", "pin paint at zoom 2.5",
                           "pin paint at zoom 8"};
    int step = 0;
    for (double zoom : {0.1, 1.0, 2.5, 8.0}) {
        SetWindowPos(pin, nullptr, 0, 0, static_cast<int>(200 * zoom), static_cast<int>(120 * zoom),
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        const int lost = slots_lost(names[step++], ROUNDS, [&] {
            for (bool hover : {false, true}) {
                SendMessageW(pin, hover ? WM_MOUSEMOVE : WM_MOUSELEAVE, 0, at(5, 5));
                ASSERT_EQ(pin_window_state(pin)->hover, hover);
                RedrawWindow(pin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            }
        });
        EXPECT_LT(lost, ROUNDS / 2) << "zoom " << zoom;
    }
}

TEST_F(GdiObjects, TheTextBoxOpenedCommittedCancelledAndReplacedKeepsNone) {
    HWND window = open_selected_overlay();
    ASSERT_NE(window, nullptr);
    OverlayState& s = *overlay_state(window);
    press_toolbar_button(window, TOOLBAR_TEXT);
    int committed = 0;
    const int lost = slots_lost("text box open/commit, open/replace/cancel", ROUNDS, [&] {
        // Opened and committed with Enter.
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(200, 200));
        SendMessageW(s.text_edit, WM_CHAR, L'x', 0);
        SendMessageW(s.text_edit, WM_KEYDOWN, VK_RETURN, 0);
        pump();
        if (!s.annotations.empty()) {
            ++committed;
            s.annotations.pop_back(); // keeps every frame the same size
        }
        // Opened, then replaced by a second press, then cancelled by the focus leaving.
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(200, 200));
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(300, 300));
        SendMessageW(s.text_edit, WM_CHAR, L'y', 0);
        SetFocus(window);
        pump();
    });
    EXPECT_EQ(committed, ROUNDS + WARM_UP);
    EXPECT_EQ(s.text_edit, nullptr);
    EXPECT_LT(lost, ROUNDS / 2);
}

TEST_F(GdiObjects, OpeningAndClosingTheOverlayByEveryRouteKeepsNone) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("vls-gdi-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    enum Route {
        EscapeKey,
        RightButton,
        Destroy,
        EnterCopies,
        CopyButton,
        CloseButton,
        PinThenCloseIt,
        SaveButton,
        FailedScreenDc,
        FailedScreenBitmap,
        FailedDimDc,
        FailedDimBitmap,
        FailedBackDc,
        FailedBuffer,
        FailedWindow
    };
    const char* names[] = {"overlay closed by Esc",
                           "overlay closed by right button",
                           "overlay destroyed",
                           "overlay closed by Enter (copy)",
                           "overlay closed by Copy",
                           "overlay closed by Close",
                           "overlay closed by Pin, pin closed",
                           "overlay closed by Save",
                           "overlay failing at its screen DC",
                           "overlay failing at its screen bitmap",
                           "overlay failing at its dimming DC",
                           "overlay failing at its dimming bitmap",
                           "overlay failing at its buffer's DC",
                           "overlay failing at its buffer",
                           "overlay failing at its window"};
    for (int route = EscapeKey; route <= FailedWindow; ++route) {
        int closed = 0;
        int file = 0;
        const int lost = slots_lost(names[route], ROUTE_ROUNDS, [&] {
            if (route >= FailedScreenDc) {
                const OverlayFault faults[] = {OverlayFault::ScreenDc, OverlayFault::ScreenBitmap,
                                               OverlayFault::DimDc,    OverlayFault::DimBitmap,
                                               OverlayFault::BackDc,   OverlayFault::BackBuffer,
                                               OverlayFault::Window};
                fail_next_overlay(faults[route - FailedScreenDc]);
                open_overlay();
                closed += own_windows(OVERLAY_WINDOW_CLASS).empty();
                return;
            }
            HWND window = open_new_overlay();
            if (!window) return;
            drag(window, 100, 100, 300, 250);
            drag(window, 120, 120, 200, 200); // a pen mark
            pump();
            switch (route) {
            case EscapeKey:
                SendMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0);
                break;
            case RightButton:
                SendMessageW(window, WM_RBUTTONDOWN, MK_RBUTTON, at(5, 5));
                break;
            case Destroy:
                DestroyWindow(window);
                break;
            case EnterCopies:
                SendMessageW(window, WM_KEYDOWN, VK_RETURN, 0);
                break;
            case CopyButton:
                press_toolbar_button(window, TOOLBAR_COPY);
                break;
            case CloseButton:
                press_toolbar_button(window, TOOLBAR_CLOSE);
                break;
            case PinThenCloseIt:
                press_toolbar_button(window, TOOLBAR_PIN);
                break;
            case SaveButton: {
                const auto path = folder / ("shot" + std::to_string(file++) + ".png");
                with_save_dialog_answered(path.wstring(),
                                          [&] { press_toolbar_button(window, TOOLBAR_SAVE); });
                break;
            }
            default:
                break;
            }
            pump();
            if (!IsWindow(window)) ++closed;
            for (HWND pin : own_windows(PIN_WINDOW_CLASS))
                SendMessageW(pin, WM_RBUTTONDOWN, MK_RBUTTON, at(3, 3));
            pump();
        });
        EXPECT_EQ(closed, ROUTE_ROUNDS + WARM_UP) << names[route];
        EXPECT_LT(lost, ROUTE_ROUNDS / 2) << names[route];
    }
    EXPECT_TRUE(own_windows(PIN_WINDOW_CLASS).empty());
    std::error_code ignored;
    std::filesystem::remove_all(folder, ignored);
}

TEST_F(GdiObjects, AnOverlayClosedWithItsTextBoxOpenKeepsNone) {
    // Esc and Enter reach the box, not the overlay; these routes skip close_overlay.
    enum Route { CloseMessage, AltF4, Destroy };
    const char* names[] = {"text box open, overlay sent WM_CLOSE", "text box open, Alt+F4",
                           "text box open, overlay destroyed"};
    for (int route = CloseMessage; route <= Destroy; ++route) {
        int closed = 0;
        const int lost = slots_lost(names[route], ROUTE_ROUNDS, [&] {
            HWND window = open_selected_overlay();
            if (!window) return;
            press_toolbar_button(window, TOOLBAR_TEXT);
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(200, 200));
            HWND box = overlay_state(window)->text_edit;
            if (!box) return;
            SendMessageW(box, WM_CHAR, L'x', 0);
            if (route == CloseMessage) SendMessageW(window, WM_CLOSE, 0, 0);
            // Alt+F4 in the box: the edit control hands it to its top-level window.
            if (route == AltF4) SendMessageW(box, WM_SYSKEYDOWN, VK_F4, LPARAM{1} << 29);
            if (route == Destroy) DestroyWindow(window);
            pump();
            closed += !IsWindow(window) && !IsWindow(box);
        });
        EXPECT_EQ(closed, ROUTE_ROUNDS + WARM_UP) << names[route];
        EXPECT_LT(lost, ROUTE_ROUNDS / 2) << names[route];
    }
}

TEST_F(GdiObjects, TheHotkeyDialogAndARestartedTaskbarKeepNone) {
    HWND tray = make_tray_window();
    ASSERT_NE(tray, nullptr);
    int opened = 0;
    const int dialog_lost = slots_lost("hotkey dialog opened and closed", ROUNDS, [&] {
        HWND dialog = create_hotkey_dialog(tray);
        opened += IsWindow(dialog) != FALSE;
        PostMessageW(dialog, WM_CLOSE, 0, 0);
        run_hotkey_dialog(tray, dialog);
    });
    EXPECT_EQ(opened, ROUNDS + WARM_UP);
    EXPECT_LT(dialog_lost, ROUNDS / 2);

    tray_app.taskbar_created = RegisterWindowMessageW(L"TaskbarCreated");
    const int taskbar_lost = slots_lost("TaskbarCreated", ROUNDS, [&] {
        SendMessageW(tray, tray_app.taskbar_created, 0, 0);
        remove_tray_icon(tray);
    });
    EXPECT_LT(taskbar_lost, ROUNDS / 2);
    close_tray_window(tray);
}
