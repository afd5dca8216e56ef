#include "capture/font_win.h"

HFONT create_font(const FontSpec& spec) {
    return CreateFontW(spec.height, 0, 0, 0, spec.weight, FALSE, FALSE, FALSE, DEFAULT_CHARSET,
                       OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, spec.quality, spec.pitch,
                       spec.face);
}
