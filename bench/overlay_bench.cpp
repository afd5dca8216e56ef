// Overlay speed under Wine: time from a capture trigger to the first frame on screen,
// and one paint per frame during a selection drag with its steps timed separately, next
// to the bare recipe every overlay frame needs (full-screen copy, one constant-alpha
// blend, an alpha pass, one UpdateLayeredWindow) as the yardstick.
// Usage: overlay_bench [rounds]   Prints median and minimum in milliseconds.
#include <windows.h>

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "capture/marks/annotation_draw_win.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_testing_win.h"
#include "capture/overlay/overlay_win.h"
#include "capture/pin/pin_window_win.h"
#include "win/window_driver.h"

namespace {

double tick_ms = 0;

double now_ms() {
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) * tick_ms;
}

double span(int64_t from, int64_t to) { return static_cast<double>(to - from) * tick_ms; }

struct Series {
    const char* name;
    std::vector<double> values;
    double median() const {
        std::vector<double> v = values;
        std::sort(v.begin(), v.end());
        return v.empty()
                   ? 0
                   : (v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2);
    }
    double minimum() const {
        return values.empty() ? 0 : *std::min_element(values.begin(), values.end());
    }
};

HWND newest_overlay() { return FindWindowW(L"VLS_Capture", nullptr); }

// The bare recipe's own window and buffers, made once.
struct Bare {
    HWND window = nullptr;
    HDC screen_dc = nullptr, dim_dc = nullptr, back_dc = nullptr;
    HBITMAP screen_bitmap = nullptr, dim_bitmap = nullptr, back_bitmap = nullptr;
    HGDIOBJ old_screen = nullptr, old_dim = nullptr, old_back = nullptr;
    uint8_t* bits = nullptr;
    int w = 0, h = 0;
};

Bare make_bare(int w, int h) {
    Bare b;
    b.w = w;
    b.h = h;
    HDC screen = GetDC(nullptr);
    b.screen_dc = CreateCompatibleDC(screen);
    b.screen_bitmap = CreateCompatibleBitmap(screen, w, h);
    b.old_screen = SelectObject(b.screen_dc, b.screen_bitmap);
    BitBlt(b.screen_dc, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    b.dim_dc = CreateCompatibleDC(b.screen_dc);
    b.dim_bitmap = CreateCompatibleBitmap(b.screen_dc, 1, 1);
    b.old_dim = SelectObject(b.dim_dc, b.dim_bitmap);
    RECT one{0, 0, 1, 1};
    FillRect(b.dim_dc, &one, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    b.back_dc = CreateCompatibleDC(b.screen_dc);
    BITMAPINFOHEADER header{sizeof header, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    b.back_bitmap = CreateDIBSection(b.back_dc, reinterpret_cast<BITMAPINFO*>(&header),
                                     DIB_RGB_COLORS, &bits, nullptr, 0);
    b.bits = static_cast<uint8_t*>(bits);
    b.old_back = SelectObject(b.back_dc, b.back_bitmap);
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"BareRecipe";
    RegisterClassExW(&wc);
    b.window =
        CreateWindowExW(WS_EX_LAYERED | WS_EX_TOOLWINDOW | WS_EX_TOPMOST, L"BareRecipe", nullptr,
                        WS_POPUP | WS_VISIBLE, 0, 0, w, h, nullptr, nullptr, wc.hInstance, nullptr);
    return b;
}

void free_bare(Bare& b) {
    DestroyWindow(b.window);
    SelectObject(b.screen_dc, b.old_screen);
    SelectObject(b.dim_dc, b.old_dim);
    SelectObject(b.back_dc, b.old_back);
    DeleteObject(b.screen_bitmap);
    DeleteObject(b.dim_bitmap);
    DeleteObject(b.back_bitmap);
    DeleteDC(b.screen_dc);
    DeleteDC(b.dim_dc);
    DeleteDC(b.back_dc);
}

double bare_frame(Bare& b) {
    const double t0 = now_ms();
    BitBlt(b.back_dc, 0, 0, b.w, b.h, b.screen_dc, 0, 0, SRCCOPY);
    GdiAlphaBlend(b.back_dc, 0, 0, b.w, b.h, b.dim_dc, 0, 0, 1, 1, {AC_SRC_OVER, 0, 100, 0});
    volatile uint8_t* bytes = b.bits;
    const size_t n = static_cast<size_t>(b.w) * b.h * 4;
    for (size_t i = 3; i < n; i += 4) bytes[i] = 255;
    SIZE size{b.w, b.h};
    POINT origin{0, 0};
    BLENDFUNCTION blend{AC_SRC_OVER, 0, 255, AC_SRC_ALPHA};
    UpdateLayeredWindow(b.window, nullptr, nullptr, &size, b.back_dc, &origin, 0, &blend,
                        ULW_ALPHA);
    return now_ms() - t0;
}

double warm_grab(int w, int h) {
    const double t0 = now_ms();
    HDC screen = GetDC(nullptr);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, screen, 0, 0, SRCCOPY);
    ReleaseDC(nullptr, screen);
    const double t = now_ms() - t0;
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return t;
}

// Ten marks of each kind spread over the selection, one pen stroke of 2,000 points and
// one mosaic of 1,000 cells among them.
void add_sixty_marks(OverlayState& s) {
    const PixelRect& sel = s.selection;
    const int w = sel.right - sel.left, h = sel.bottom - sel.top;
    for (int i = 0; i < 10; ++i) {
        const int x = sel.left + w * (i + 1) / 12, y = sel.top + h * (i + 1) / 12;
        Annotation pen;
        pen.kind = AnnotationTool::Pen;
        const int points = i == 0 ? 2000 : 50;
        for (int p = 0; p < points; ++p)
            pen.points.push_back({x + (p * 7) % (w / 3), y + (p * 13) % (h / 3)});
        pen.width = 4;
        s.annotations.push_back(pen);
        Annotation arrow;
        arrow.kind = AnnotationTool::Arrow;
        arrow.tail = {x, y}, arrow.head = {x + w / 5, y + h / 7}, arrow.width = 6;
        s.annotations.push_back(arrow);
        for (AnnotationTool kind : {AnnotationTool::Rectangle, AnnotationTool::Ellipse}) {
            Annotation shape;
            shape.kind = kind;
            shape.bounds = {x, y, x + w / 4, y + h / 4};
            shape.width = 10;
            s.annotations.push_back(shape);
        }
        s.annotations.push_back(
            text_mark("Vellumshot mark " + std::to_string(i), {x, y + 40}, 0x00FF00, 28));
        Annotation mosaic;
        mosaic.kind = AnnotationTool::Mosaic;
        const int cells = i == 0 ? 1000 : 20;
        for (int c = 0; c < cells; ++c) {
            const int cx = (sel.left / 12 + 1 + c % 40) * 12, cy = (sel.top / 12 + 1 + c / 40) * 12;
            mosaic.cells.push_back({cx, cy, cx + 12, cy + 12});
        }
        s.annotations.push_back(mosaic);
    }
}

// The floor under render_selection: one copy of the selection and one read-out.
double flatten_floor(const OverlayState& s) {
    const double t0 = now_ms();
    const int w = s.selection.right - s.selection.left, h = s.selection.bottom - s.selection.top;
    HDC memory = CreateCompatibleDC(s.screen_dc);
    HBITMAP bitmap = CreateCompatibleBitmap(s.screen_dc, w, h);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, w, h, s.screen_dc, s.selection.left, s.selection.top, SRCCOPY);
    SelectObject(memory, old);
    std::vector<uint8_t> pixels(static_cast<size_t>(w) * h * 4);
    BITMAPINFOHEADER header{sizeof header, w, -h, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    GetDIBits(memory, bitmap, 0, h, pixels.data(), reinterpret_cast<BITMAPINFO*>(&header),
              DIB_RGB_COLORS);
    DeleteObject(bitmap);
    DeleteDC(memory);
    return now_ms() - t0;
}

// Frames of a confirmed full-screen selection with the toolbar, 60 committed marks and a
// pen stroke in progress, and the flattened image of the same selection.
void marked_frames(int rounds, Bare& b, PaintTimings& timings) {
    Series marked{"marked frame: paint_overlay (60 marks + pen in progress)", {}},
        marks{"  marks", {}}, toolbar{"  toolbar", {}}, bare{"bare recipe frame", {}},
        flat{"render_selection, full screen, 60 marks", {}},
        floor{"  floor: BitBlt + GetDIBits of the selection", {}},
        flat_marks{"  marks drawn into a plain bitmap", {}};
    open_overlay();
    HWND window = newest_overlay();
    pump();
    OverlayState& s = *overlay_state(window);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
    SendMessageW(window, WM_LBUTTONUP, 0, at(b.w, b.h));
    add_sixty_marks(s);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(b.w / 2, b.h / 2));
    for (int i = 0; i < 200; ++i)
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(b.w / 2 + i, b.h / 2 + (i * i) % 97));
    UpdateWindow(window);
    if (!render_selection(s)) std::fprintf(stderr, "render_selection made no image\n");
    for (int round = 0; round < rounds; ++round) {
        for (int frame = 0; frame < 3; ++frame) {
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, at(b.w / 2 + frame, b.h / 3));
            UpdateWindow(window);
            marked.values.push_back(span(timings.start, timings.present));
            marks.values.push_back(span(timings.frame, timings.marks));
            toolbar.values.push_back(span(timings.marks, timings.toolbar));
            bare.values.push_back(bare_frame(b));
        }
        const double t0 = now_ms();
        const bool rendered = render_selection(s).has_value();
        flat.values.push_back(now_ms() - t0);
        if (!rendered) std::fprintf(stderr, "render_selection made no image\n");
        floor.values.push_back(flatten_floor(s));
        // The marks alone, on a bitmap of the selection's size.
        HDC memory = CreateCompatibleDC(s.screen_dc);
        HBITMAP bitmap = CreateCompatibleBitmap(s.screen_dc, b.w, b.h);
        HGDIOBJ old = SelectObject(memory, bitmap);
        const MosaicSource mosaic{s.selection_pixels, s.selection_pixels_width, 0, 0};
        const double t1 = now_ms();
        for (const Annotation& mark : s.annotations) draw_annotation(memory, mark, mosaic);
        GdiFlush();
        flat_marks.values.push_back(now_ms() - t1);
        if (round == 0) {
            const char* names[] = {"pen", "arrow", "rectangle", "ellipse", "text", "mosaic"};
            for (int kind = 0; kind < 6; ++kind) {
                const double k0 = now_ms();
                for (const Annotation& mark : s.annotations)
                    if (static_cast<int>(mark.kind) == kind) draw_annotation(memory, mark, mosaic);
                std::printf("  10 %-9s marks, once                      %8.2f\n", names[kind],
                            now_ms() - k0);
            }
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
    }
    SendMessageW(window, WM_LBUTTONUP, 0, at(b.w / 2, b.h / 3));
    DestroyWindow(window);
    pump();
    for (const Series* series : {&bare, &marked, &marks, &toolbar, &flat, &floor, &flat_marks})
        std::printf("%-58s %8.2f %8.2f\n", series->name, series->median(), series->minimum());
    std::printf("marked frame / bare recipe                  %.2f (goal <= 1.15)\n",
                marked.median() / bare.median());
    std::printf("render_selection / (floor + marks)          %.2f (goal <= 1.20)\n",
                flat.median() / (floor.median() + flat_marks.median()));
}

double working_set_mb() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    K32GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters);
    return static_cast<double>(counters.WorkingSetSize) / (1024.0 * 1024.0);
}

HWND newest_pin() { return FindWindowW(L"VLS_Pin", nullptr); }

// A pin's WM_PAINT for a 1000 x 700 image at zoom 1 and 2, and the working set after 50
// pins are opened and closed.
void pin_figures(int rounds) {
    PixelImage image;
    image.width = 1000;
    image.height = 700;
    image.pixels.resize(1000 * 700 * 4);
    for (size_t i = 0; i < image.pixels.size(); ++i) image.pixels[i] = static_cast<uint8_t>(i * 7);
    Series zoom1{"pin WM_PAINT, 1000x700 at zoom 1.0", {}},
        zoom2{"pin WM_PAINT, 1000x700 at zoom 2.0", {}};
    if (!open_pin_window(image)) std::fprintf(stderr, "the pin did not open\n");
    HWND pin = newest_pin();
    pump();
    for (int round = 0; round < rounds; ++round) {
        for (auto [series, scale] : {std::pair{&zoom1, 1}, std::pair{&zoom2, 2}}) {
            SetWindowPos(pin, nullptr, 0, 0, 1000 * scale, 700 * scale,
                         SWP_NOZORDER | SWP_NOACTIVATE | SWP_NOMOVE);
            pump();
            const double t0 = now_ms();
            RedrawWindow(pin, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
            series->values.push_back(now_ms() - t0);
        }
    }
    DestroyWindow(pin);
    pump();
    const double before = working_set_mb();
    for (int i = 0; i < 50; ++i) {
        if (!open_pin_window(image)) std::fprintf(stderr, "the pin did not open\n");
        pump();
        DestroyWindow(newest_pin());
        pump();
    }
    const double after = working_set_mb();
    for (const Series* series : {&zoom1, &zoom2})
        std::printf("%-58s %8.2f %8.2f\n", series->name, series->median(), series->minimum());
    std::printf("working set before / after 50 pins opened and closed   %.1f / %.1f MB\n", before,
                after);
}

} // namespace

int main(int argc, char** argv) {
    const int rounds = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    LARGE_INTEGER frequency;
    QueryPerformanceFrequency(&frequency);
    tick_ms = 1000.0 / static_cast<double>(frequency.QuadPart);
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);

    Series grab{"warm screen grab (GDI)", {}}, bare{"bare recipe frame", {}};
    Series first{"first frame: open_overlay -> first UpdateLayeredWindow", {}};
    Series drag{"drag frame: paint_overlay", {}}, background{"  background", {}},
        dimming{"  dimming", {}}, selection{"  undimmed selection", {}},
        frame{"  frame and size label", {}}, alpha{"  alpha pass", {}},
        present{"  presentation", {}}, confirmed{"confirmed-selection frame", {}};
    Series whole_open{"open_overlay until it returns", {}};
    Series close{"close: DestroyWindow and its messages", {}};

    Bare b = make_bare(w, h);
    PaintTimings timings;
    paint_timings = &timings;
    // Warm-up: first use of every call pays for loading and caches.
    warm_grab(w, h);
    bare_frame(b);
    open_overlay();
    DestroyWindow(newest_overlay());
    pump();

    for (int round = 0; round < rounds; ++round) {
        grab.values.push_back(warm_grab(w, h));
        bare.values.push_back(bare_frame(b));

        const double t0 = now_ms();
        open_overlay();
        whole_open.values.push_back(now_ms() - t0);
        first.values.push_back(static_cast<double>(timings.present) * tick_ms - t0);
        HWND window = newest_overlay();
        pump();

        // A drag from a quarter of the screen, growing each frame.
        SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(w / 4, h / 4));
        for (int step = 1; step <= 3; ++step) {
            SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON,
                         at(w / 4 + step * w / 8, h / 4 + step * h / 8));
            UpdateWindow(window); // WM_PAINT now, timed by the paint itself
            drag.values.push_back(span(timings.start, timings.present));
            background.values.push_back(span(timings.start, timings.background));
            dimming.values.push_back(span(timings.background, timings.dimming));
            selection.values.push_back(span(timings.dimming, timings.selection));
            frame.values.push_back(span(timings.selection, timings.frame) +
                                   span(timings.toolbar, timings.label));
            alpha.values.push_back(span(timings.label, timings.alpha));
            present.values.push_back(span(timings.alpha, timings.present));
            bare.values.push_back(bare_frame(b));
        }
        SendMessageW(window, WM_LBUTTONUP, 0, at(3 * w / 4, 3 * h / 4));
        UpdateWindow(window);
        confirmed.values.push_back(span(timings.start, timings.present));
        const double t1 = now_ms();
        DestroyWindow(window);
        pump();
        close.values.push_back(now_ms() - t1);
    }

    std::printf("screen %dx%d, %d rounds, milliseconds\n", w, h, rounds);
    std::printf("%-58s %8s %8s\n", "", "median", "min");
    marked_frames(rounds, b, timings);
    pin_figures(rounds);
    paint_timings = nullptr;
    free_bare(b);

    for (const Series* s : {&grab, &bare, &first, &drag, &background, &dimming, &selection, &frame,
                            &alpha, &present, &confirmed, &whole_open, &close}) {
        std::printf("%-58s %8.2f %8.2f\n", s->name, s->median(), s->minimum());
    }
    const double yard = grab.median() + bare.median();
    std::printf("drag frame / bare recipe                    %.2f (goal <= 1.10)\n",
                drag.median() / bare.median());
    std::printf("first frame / (warm grab + bare frame)      %.2f (goal <= 1.20)\n",
                first.median() / yard);
    std::printf("alpha pass share of a drag frame            %.1f%% (goal <= 3%%)\n",
                100.0 * alpha.median() / drag.median());
    return 0;
}
