#include "capture/font_win.h"

HFONT create_font(const FontStyle& style) {
    return CreateFontW(style.height, 0, 0, 0, style.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, style.quality, style.pitch,
                       style.face);
}
