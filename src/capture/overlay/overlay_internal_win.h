#pragma once
// The state of one open capture overlay. Created by open_overlay, owned by the overlay
// window (its GWLP_USERDATA slot) and released when that window is destroyed.
#include <windows.h>

#include <cstdint>
#include <vector>

#include "capture/marks/annotation.h"
#include "capture/overlay/selection.h"
#include "capture/overlay/toolbar.h"

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
    OverlayPoint drag_anchor;              // where the selection drag began
    OverlayPoint last_pointer;             // latest press or move: where a lost capture ends a drag
    OverlayRect selection;                 // always normalised
    std::vector<uint8_t> selection_pixels; // frozen screen inside the selection, B G R A
    int32_t selection_pixels_width = 0;
    int32_t selection_pixels_height = 0;

    // Marks.
    AnnotationTool tool = AnnotationTool::Pen;
    uint32_t color = 0x000000FF;         // COLORREF, red
    unsigned width_index = 1;            // into STROKE_WIDTHS: Medium
    std::vector<Annotation> annotations; // committed, oldest first
    bool drawing = false;                // a mark is in progress
    OverlayPoint press_point;            // where the mark in progress began
    std::vector<OverlayPoint> stroke_points;
    std::vector<OverlayRect> mosaic_cells;

    // Text entry and toolbar.
    HWND text_edit = nullptr;                   // the open text box, if any
    OverlayPoint text_position;                 // top-left of the box and of its text
    std::vector<ToolbarButton> toolbar_buttons; // as last drawn, for the hit test
};
