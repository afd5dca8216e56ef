#pragma once
// What tests reach into the screen grab with. Not for the program's own callers.

// The next copy_from_screen fails as it does on a locked workstation.
void fail_next_screen_copy();
