#pragma once
// Composes one complete overlay frame in the back buffer and presents it.
#include <windows.h>

#include <cstdint>

struct OverlayState;

// Performance-counter readings at the end of each step of one paint, for the benchmark.
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

// Null in the program; the benchmark points it at a record that every paint then fills.
extern PaintTimings* paint_timings;

// Background, dimming, undimmed selection, frame, marks, toolbar, size label, text box,
// opaque alpha, then
// UpdateLayeredWindow. Keeps nothing between calls but the toolbar's button list.
void paint_overlay(HWND window, OverlayState& state);
