#include "capture/overlay/overlay_internal_win.h"

#include <commctrl.h>

#include <string>

#include "capture/font_win.h"
#include "strings/wide_win.h"

namespace {

constexpr UINT_PTR SUBCLASS_ID = 1;
constexpr int BOX_WIDTH = 250;
constexpr int BOX_HEIGHT = 30;

// Reports Enter and focus loss to the overlay; everything else, Esc included, is the
// ordinary edit control's, except the characters Enter, Ctrl+Enter, Esc and Ctrl+Backspace
// translate to: a single-line edit beeps at the first three and shows the last as a box.
LRESULT CALLBACK text_box_proc(HWND box, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                               DWORD_PTR) {
    switch (message) {
    case WM_CHAR:
        if (wparam == L'\r' || wparam == L'\n' || wparam == 0x1B || wparam == 0x7F) return 0;
        break;
    case WM_KILLFOCUS:
        PostMessageW(GetParent(box), WM_OVERLAY_TEXT_CANCEL, 0, 0);
        break;
    case WM_KEYDOWN:
        if (wparam == VK_RETURN) {
            PostMessageW(GetParent(box), WM_OVERLAY_TEXT_COMMIT, 0, 0);
            return 0;
        }
        {
            // Caret moves change no text and send no notification; the overlay's copy of
            // the box must follow them too.
            const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
            request_repaint(GetParent(box));
            return result;
        }
    default:
        break;
    }
    return DefSubclassProc(box, message, wparam, lparam);
}

std::wstring box_text(HWND box) {
    const int length = GetWindowTextLengthW(box);
    if (length <= 0) return {};
    std::wstring text(static_cast<size_t>(length) + 1, L'\0');
    const int read = GetWindowTextW(box, text.data(), length + 1);
    text.resize(static_cast<size_t>(read > 0 ? read : 0));
    return text;
}

} // namespace

void remove_text_entry(OverlayState& state) {
    HWND box = state.text_edit;
    if (!box) return;
    state.text_edit = nullptr;
    HWND overlay = GetParent(box);
    const bool focused = GetFocus() == box;
    HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    // The subclass goes first, so the focus loss of the destruction reports nothing.
    RemoveWindowSubclass(box, text_box_proc, SUBCLASS_ID);
    DestroyWindow(box); // result ignored
    if (font) DeleteObject(font);
    // Keys go back to the overlay (Esc, Enter) rather than to no window at all; not to an
    // overlay being destroyed, which DestroyWindow has hidden already.
    if (focused && overlay && IsWindowVisible(overlay)) SetFocus(overlay);
}

void open_text_entry(HWND window, OverlayState& state, PixelPoint point) {
    remove_text_entry(state); // an open box's text is lost, not committed
    HWND box = CreateWindowExW(WS_EX_CLIENTEDGE, L"EDIT", L"",
                               WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, point.x, point.y, BOX_WIDTH,
                               BOX_HEIGHT, window, nullptr, GetModuleHandleW(nullptr), nullptr);
    if (!box) return; // no box: the press does nothing
    HFONT font =
        create_font({.height = 20, .face = L"Microsoft YaHei", .quality = CLEARTYPE_QUALITY});
    SendMessageW(box, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
    SetWindowSubclass(box, text_box_proc, SUBCLASS_ID, 0);
    SetFocus(box); // a failure is ignored
    state.text_edit = box;
    state.text_position = point;
    request_repaint(window);
}

void commit_text_entry(HWND window, OverlayState& state) {
    if (state.text_edit) {
        const std::wstring text = box_text(state.text_edit);
        if (!text.empty()) {
            state.annotations.push_back(text_mark(from_wide(text.data(), text.size()),
                                                  state.text_position, state.color,
                                                  text_font_height(state.width_index)));
        }
        remove_text_entry(state);
    }
    request_repaint(window);
}

void cancel_text_entry(HWND window, OverlayState& state) {
    remove_text_entry(state);
    request_repaint(window);
}

// What the edit control shows: a sunken box in the window colours (a matched pair, so
// the text is readable in every contrast theme), the text from its first visible
// character where the control lays it out, and the caret where the control keeps it.
void draw_text_entry(HDC dc, const OverlayState& state) {
    HWND box = state.text_edit;
    if (!box) return;
    RECT frame{state.text_position.x, state.text_position.y, state.text_position.x + BOX_WIDTH,
               state.text_position.y + BOX_HEIGHT};
    FillRect(dc, &frame, GetSysColorBrush(COLOR_WINDOW));
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);

    // Box client coordinates to overlay coordinates.
    POINT origin{0, 0};
    MapWindowPoints(box, GetParent(box), &origin, 1);
    // The formatting rectangle: where the control draws its text, margins excluded.
    RECT text_area{};
    SendMessageW(box, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&text_area));
    OffsetRect(&text_area, origin.x, origin.y);

    const std::wstring text = box_text(box);
    // A single-line edit answers with the index of its first visible character.
    size_t first = static_cast<size_t>(SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0));
    if (first > text.size()) first = 0;
    // The first visible character's top-left corner; -1 when the box is empty, which
    // starts at the formatting rectangle's corner.
    int left = text_area.left;
    int top = text_area.top;
    const LRESULT corner = SendMessageW(box, EM_POSFROMCHAR, first, 0);
    if (corner != -1) {
        left = origin.x + static_cast<short>(LOWORD(corner));
        top = origin.y + static_cast<short>(HIWORD(corner));
    }

    HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
    HGDIOBJ old_font = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
    TEXTMETRICW metrics{};
    GetTextMetricsW(dc, &metrics);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    SetBkMode(dc, TRANSPARENT);
    const int saved = SaveDC(dc);
    IntersectClipRect(dc, text_area.left, text_area.top, text_area.right, text_area.bottom);
    ExtTextOutW(dc, left, top, 0, nullptr, text.c_str() + first,
                static_cast<UINT>(text.size() - first), nullptr);
    // The control moves its caret to the selection's active end, which may be its start
    // (Shift+Left); the caret belongs to this thread while the box has the focus.
    POINT caret{};
    if (GetFocus() == box && GetCaretPos(&caret)) {
        RECT bar{origin.x + caret.x, origin.y + caret.y, origin.x + caret.x + 1,
                 origin.y + caret.y + metrics.tmHeight};
        FillRect(dc, &bar, GetSysColorBrush(COLOR_WINDOWTEXT));
    }
    RestoreDC(dc, saved);
    SelectObject(dc, old_font);
}
