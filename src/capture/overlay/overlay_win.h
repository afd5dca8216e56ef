#pragma once
// The capture overlay: freezes the primary display into a new full-screen topmost window
// ("VLS_Capture") on which the user selects a region. Any number can be open at once.

// Grabs the primary display and opens a further, independent overlay over it. If the
// grab fails or any of its DCs, bitmaps or its window cannot be made, nothing opens, everything
// made is released and the failing call's name goes to OutputDebugStringW; the caller carries on
// either way.
void open_overlay();
