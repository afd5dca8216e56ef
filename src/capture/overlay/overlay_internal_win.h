#pragma once
// What the overlay's own files share: the state of one overlay, its private messages and
// the entry points of each part. The window file (overlay_win.cpp) routes messages to the
// parts; the parts reach the window only through what is declared here, never through the
// window file, so the overlay's files depend on each other in one direction only.
#include <windows.h>

#include <cstdint>
#include <optional>
#include <vector>

#include "capture/image/pixel_image.h"
#include "capture/marks/annotation.h"
#include "capture/overlay/selection.h"
#include "capture/overlay/toolbar.h"

// Private messages the overlay's text box sends to the overlay.
constexpr UINT WM_OVERLAY_TEXT_COMMIT = WM_APP + 10;
constexpr UINT WM_OVERLAY_TEXT_CANCEL = WM_APP + 11;

// The state of one open capture overlay. Created by open_overlay, owned by the overlay
// window (its GWLP_USERDATA slot) and released when that window is destroyed.
// What of the text box's look can change without its text changing: the selection, the
// first visible character (horizontal scroll) and the caret.
struct TextBoxView {
    DWORD selection_start = 0;
    DWORD selection_end = 0;
    LRESULT first_visible = 0;
    POINT caret{-1, -1}; // box client coordinates; -1, -1 while the box has no focus
    bool operator==(const TextBoxView& other) const {
        return selection_start == other.selection_start && selection_end == other.selection_end &&
               first_visible == other.first_visible && caret.x == other.caret.x &&
               caret.y == other.caret.y;
    }
};

struct OverlayState {
    // Frozen screen and buffers: set once when the overlay opens, never replaced.
    int32_t screen_width = 0;         // primary display, physical pixels
    int32_t screen_height = 0;        //
    HDC screen_dc = nullptr;          // memory DC with screen_bitmap selected
    HBITMAP screen_bitmap = nullptr;  // the frozen screen; every later read reads it
    HDC dim_dc = nullptr;             // memory DC with dim_bitmap selected
    HBITMAP dim_bitmap = nullptr;     // 1 x 1 black, stretched over the frame to dim it
    HGDIOBJ dim_displaced = nullptr;  // what dim_bitmap displaced from dim_dc
    HDC back_dc = nullptr;            // memory DC with back_bitmap selected
    HBITMAP back_bitmap = nullptr;    // 32-bit top-down DIB section, the composed frame
    HGDIOBJ back_displaced = nullptr; // what back_bitmap displaced from back_dc
    uint8_t* back_bits = nullptr;     // back_bitmap's pixels: B, G, R, A, rows top down
    bool owned_by_window = false;     // the window frees the state (set once created)

    // Region selection.
    bool selecting = false;                // a selection drag is in progress
    bool has_selection = false;            // a selection of at least 4 x 4 exists
    bool toolbar_active = false;           // set together with has_selection
    PixelPoint drag_anchor;                // where the selection drag began
    PixelPoint last_pointer;               // latest press or move: where a lost capture ends a drag
    PixelRect selection;                   // always normalised
    std::vector<uint8_t> selection_pixels; // frozen screen inside the selection, B G R A
    int32_t selection_pixels_width = 0;
    int32_t selection_pixels_height = 0;

    // Marks.
    AnnotationTool tool = AnnotationTool::Pen;
    uint32_t color = 0x000000FF;         // COLORREF, red
    unsigned width_index = 1;            // into STROKE_WIDTHS: Medium
    std::vector<Annotation> annotations; // committed, oldest first
    bool drawing = false;                // a mark is in progress
    PixelPoint press_point;              // where the mark in progress began
    std::vector<PixelPoint> stroke_points;
    std::vector<PixelRect> mosaic_cells;

    // Text entry and toolbar.
    HWND text_edit = nullptr;                   // the open text box, if any
    PixelPoint text_position;                   // top-left of the box and of its text
    TextBoxView text_view;                      // what the box showed in the last frame
    std::vector<ToolbarButton> toolbar_buttons; // as last drawn, for the hit test
};

// --- overlay_state_win.cpp: the window's state and repaint.

// The state of an overlay window; null for other windows and after destruction.
OverlayState* overlay_state(HWND window);

// Asks the window for a complete repaint.
void request_repaint(HWND window);

// --- commands_win.cpp: the one switch that toolbar buttons, keys and the right button run.

// Runs a toolbar command. Pin, Copy, Save and Close may close the overlay (freeing `state`);
// the others end with a repaint request.
void run_command(HWND window, OverlayState& state, ToolbarCommand command);

// Removes the text entry box, if any, and destroys the overlay window (which frees `state`).
void close_overlay(HWND window, OverlayState& state);

// --- selection_win.cpp: the selection drag and the snapshot of a confirmed selection.

// Left press with no confirmed selection: a new drag starts at `point`.
void start_selection_drag(HWND window, OverlayState& state, PixelPoint point);
// Pointer moved while dragging: the selection follows it.
void update_selection_drag(HWND window, OverlayState& state, PixelPoint point);
// Left release while dragging: confirms the selection if it is at least 4 x 4.
void end_selection_drag(HWND window, OverlayState& state, PixelPoint point);
// Copies the frozen screen inside the confirmed selection into selection_pixels.
void snapshot_selection(OverlayState& state);

// --- marking_win.cpp: a press starts a mark with the current tool, moves extend it, the
// release commits it; and the colour dialog.

// Left press on the selection with a tool other than Text.
void start_mark(HWND window, OverlayState& state, PixelPoint point);
// Pointer moved while a mark is in progress.
void update_mark(HWND window, OverlayState& state, PixelPoint point);
// Left release while a mark is in progress: commits it when it makes a mark.
void end_mark(HWND window, OverlayState& state, PixelPoint point);
// The colour dialog, starting from the current colour; Cancel keeps it. Repaints when the
// overlay is still there afterwards.
void choose_color(HWND window, OverlayState& state);

// --- text_entry_win.cpp: the text tool's one-line box, a child EDIT of the overlay at the
// press point. Enter commits its text as a mark, losing the focus discards it. A layered
// window shows only the frame it is handed, not its children, so the control prints
// itself into every frame, and any change to what it shows asks for a new frame.

// Discards any open box and opens a fresh, focused one at `point`.
void open_text_entry(HWND window, OverlayState& state, PixelPoint point);
// Destroys the open box, if any, without committing it.
void remove_text_entry(OverlayState& state);
// Enter in the box: its text, if any, becomes a text mark; the box goes.
void commit_text_entry(HWND window, OverlayState& state);
// The box lost the focus: it goes with its text.
void cancel_text_entry(HWND window, OverlayState& state);
// Draws the open box as the control draws itself (edge, scrolled text, selection) and its
// caret into the frame being composed.
void draw_text_entry(HDC dc, const OverlayState& state);

// --- toolbar_paint_win.cpp: the panel beside a confirmed selection.

// Draws the panel, the active tool's highlight and the 13 icons; rebuilds toolbar_buttons.
void draw_toolbar(HDC dc, OverlayState& state);

// --- frame_paint_win.cpp: one complete frame in the back buffer, presented.

// Background, dimming, undimmed selection, frame, marks, toolbar, size label, text box,
// opaque alpha, then UpdateLayeredWindow. Keeps nothing between calls but the toolbar's
// button list.
void paint_overlay(HWND window, OverlayState& state);

// --- render_selection_win.cpp: the finished picture of a selection, the frozen screen's
// own pixels inside it, undimmed, with every committed mark drawn in and cut at the edge.

// Nothing when there is no selection, it is empty, or it is too large to hold (a selection
// dragged far beyond the screen); never ends the process for want of memory.
[[nodiscard]] std::optional<PixelImage> render_selection(const OverlayState& state);

// --- actions_win.cpp: the selection, marks drawn in, copied to the clipboard, saved to a
// file or pinned to the desktop. Each is true when it is done and the overlay may close;
// false leaves everything as it was, so the capture is never lost and the user can try
// again or choose another.

[[nodiscard]] bool copy_selection(HWND window, const OverlayState& state);
// Also false when the save dialog is cancelled, or the overlay went while it was open.
[[nodiscard]] bool save_selection(HWND window, const OverlayState& state);
[[nodiscard]] bool pin_selection(const OverlayState& state);
