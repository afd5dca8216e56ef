#pragma once
// The program's fonts: a face at a cell height in the system's default character set, the
// font mapper choosing the rest but for weight, quality and pitch.
#include <windows.h>

struct FontStyle {
    int height = 0; // cell height in pixels
    const wchar_t* face = nullptr;
    int weight = FW_NORMAL;
    DWORD quality = DEFAULT_QUALITY;
    DWORD pitch = DEFAULT_PITCH;
};

// A new font the caller deletes, or null when GDI cannot make one.
HFONT create_font(const FontStyle& style);
