#include "capture/overlay/overlay_internal_win.h"

#include <commctrl.h>

#include <string>

#include "capture/font_win.h"
#include "strings/wide_win.h"

namespace {

constexpr UINT_PTR SUBCLASS_ID = 1;
constexpr int BOX_WIDTH = 250;
constexpr int BOX_HEIGHT = 30;

// What the box shows besides its text, read from the control itself.
TextBoxView read_view(HWND box) {
    TextBoxView view;
    SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&view.selection_start),
                 reinterpret_cast<LPARAM>(&view.selection_end));
    view.first_visible = SendMessageW(box, EM_GETFIRSTVISIBLELINE, 0, 0);
    if (GetFocus() != box || !GetCaretPos(&view.caret)) view.caret = {-1, -1};
    return view;
}

// After any message the box handled: a frame when the selection, the scroll or the caret
// moved. Clicks, drags, double-clicks, the context menu's commands and scrolling timers
// change these without a notification; text changes come as EN_CHANGE to the overlay.
void follow_view(HWND box) {
    // The reads below are messages to the box and come back through its subclass.
    static bool reading = false;
    if (reading) return;
    reading = true;
    HWND overlay = GetParent(box);
    OverlayState* state = overlay_state(overlay);
    if (state && state->text_edit == box) {
        const TextBoxView view = read_view(box);
        if (!(view == state->text_view)) {
            state->text_view = view;
            request_repaint(overlay);
        }
    }
    reading = false;
}

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
        break;
    case WM_PAINT:
    case WM_PRINTCLIENT:
    case WM_ERASEBKGND:
        // Drawing changes nothing the frame shows.
        return DefSubclassProc(box, message, wparam, lparam);
    default:
        break;
    }
    const LRESULT result = DefSubclassProc(box, message, wparam, lparam);
    follow_view(box);
    return result;
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
    state.text_view = read_view(box);
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

// The box as the control shows it: the sunken edge of its WS_EX_CLIENTEDGE, then its
// client area printed by the control itself (background, text scrolled as it scrolls it,
// the selection in the highlight colours), then the caret, which the system draws on the
// window rather than the control in its painting: inverted, where the control keeps it.
void draw_text_entry(HDC dc, const OverlayState& state) {
    HWND box = state.text_edit;
    if (!box) return;
    HWND overlay = GetParent(box);
    RECT frame{};
    GetWindowRect(box, &frame);
    MapWindowPoints(nullptr, overlay, reinterpret_cast<POINT*>(&frame), 2);
    DrawEdge(dc, &frame, EDGE_SUNKEN, BF_RECT);

    POINT origin{0, 0};
    MapWindowPoints(box, overlay, &origin, 1);
    RECT client{};
    GetClientRect(box, &client);
    const int saved = SaveDC(dc);
    SetViewportOrgEx(dc, origin.x, origin.y, nullptr);
    IntersectClipRect(dc, client.left, client.top, client.right, client.bottom);
    SendMessageW(box, WM_ERASEBKGND, reinterpret_cast<WPARAM>(dc), 0);
    SendMessageW(box, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(dc), PRF_CLIENT);

    POINT caret{};
    if (GetFocus() == box && GetCaretPos(&caret)) {
        HFONT font = reinterpret_cast<HFONT>(SendMessageW(box, WM_GETFONT, 0, 0));
        HGDIOBJ old_font = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old_font);
        DWORD caret_width = 1;
        SystemParametersInfoW(SPI_GETCARETWIDTH, 0, &caret_width, 0);
        PatBlt(dc, caret.x, caret.y, static_cast<int>(caret_width), metrics.tmHeight, DSTINVERT);
    }
    RestoreDC(dc, saved);
}
