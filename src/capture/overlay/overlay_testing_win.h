#pragma once
// What tests and the benchmark reach into the overlay with: injected failures, a count of
// released states and the paint's step timings. Not for the program's own callers.
#include <cstdint>

// Makes the next open_overlay fail at one of its handles or at its window, or the next
// selection snapshot fail, as when GDI is out of room.
enum class OverlayFault {
    None,
    ScreenDc,
    ScreenBitmap,
    DimDc,
    DimBitmap,
    BackDc,
    BackBuffer,
    Window,
    Snapshot
};
void fail_next_overlay(OverlayFault fault);

// True once when `fault` is the one set by fail_next_overlay, which it then clears: the
// overlay's files ask this where the fault would strike.
bool take_overlay_fault(OverlayFault fault);

// How many overlay states have had their resources released so far.
int overlay_release_count();

// Performance-counter readings at the end of each step of one paint.
struct PaintTimings {
    int64_t start = 0;
    int64_t background = 0; // frozen screen copied
    int64_t dimming = 0;    // dimmed
    int64_t selection = 0;  // selection shown undimmed
    int64_t frame = 0;      // selection frame drawn
    int64_t marks = 0;      // committed marks and the mark in progress drawn
    int64_t toolbar = 0;    // toolbar drawn
    int64_t label = 0;      // size label and text box drawn
    int64_t alpha = 0;      // every pixel opaque
    int64_t present = 0;    // UpdateLayeredWindow returned
};

// Only in a build of frame_paint_win.cpp with VLS_PAINT_TIMINGS defined (the overlay
// benchmark's): null until the benchmark points it at a record that every paint then
// fills. The program's own paint reads no clock.
extern PaintTimings* paint_timings;
