#include "capture/overlay.h"

// Placeholder until the overlay window exists.
void open_overlay() {}
