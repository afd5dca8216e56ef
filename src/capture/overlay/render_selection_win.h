#pragma once
// The finished picture of a selection: the frozen screen's own pixels inside it, undimmed,
// with every committed mark drawn in and cut at the edge. Copy, Save and Pin all use it.
#include <optional>

#include "capture/image/pixel_image.h"

struct OverlayState;

// Nothing when there is no selection, it is empty, or it is too large to hold (a selection
// dragged far beyond the screen); never ends the process for want of memory.
[[nodiscard]] std::optional<PixelImage> render_selection(const OverlayState& state);
