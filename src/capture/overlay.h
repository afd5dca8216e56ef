#pragma once
// The capture overlay: freezes the primary display into a new full-screen topmost window.
void open_overlay();
