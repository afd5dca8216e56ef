// Measures the memory a screenshot's route takes beyond the grabbed image, in image sizes,
// as the command line (grab, then write_png or write_bmp) and the overlay's Save
// (render_selection of a full-screen selection, then the writer) do it, once per process.
// Usage: route_memory png|bmp|save
// Prints "memory_ROUTE GRAB_COMMITTED GRAB_ALLOCATED WRITE_COMMITTED WRITE_ALLOCATED", in
// images: for the grab its peak less one image (the grabbed image it returns), for the
// write its peak above what was held before it. The save route's grab is the overlay's
// opening (its frozen screen and buffers), its write render_selection and the writer.
//
// Two views of each peak. "Committed": the process's committed private bytes (walked with
// VirtualQuery, as the leak tests count them; GetProcessMemoryInfo's PrivateUsage under
// Wine is only the resident part), polled by a thread, so a peak shorter than one walk
// can be missed; it includes GDI's bitmaps where they live in the process (Wine) and
// libdeflate's compressor. "Allocated": what operator new handed out and had not taken
// back, counted exactly here: every buffer of the program's own.
#include <windows.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>
#include <optional>
#include <string>
#include <thread>
#include <utility>

#include "capture/image/screen_grab_win.h"
#include "capture/output/bmp_writer_win.h"
#include "capture/output/png_writer_win.h"
#include "capture/overlay/overlay_internal_win.h"
#include "capture/overlay/overlay_win.h"
#include "win/process_measure.h"
#include "win/window_driver.h"

namespace {

std::atomic<long long> allocated{0};
std::atomic<long long> allocated_peak{0};

void* counted_new(size_t size) {
    void* p = std::malloc(size ? size : 1);
    if (!p) throw std::bad_alloc();
    const long long now = allocated += static_cast<long long>(_msize(p));
    long long peak = allocated_peak;
    while (now > peak && !allocated_peak.compare_exchange_weak(peak, now)) {
    }
    return p;
}

void counted_delete(void* p) {
    if (!p) return;
    allocated -= static_cast<long long>(_msize(p));
    std::free(p);
}

} // namespace

void* operator new(size_t size) { return counted_new(size); }
void* operator new[](size_t size) { return counted_new(size); }
void operator delete(void* p) noexcept { counted_delete(p); }
void operator delete[](void* p) noexcept { counted_delete(p); }
void operator delete(void* p, size_t) noexcept { counted_delete(p); }
void operator delete[](void* p, size_t) noexcept { counted_delete(p); }

namespace {

long long committed() { return committed_private_kib() * 1024; }

// The peaks of one step above what was held when it began.
struct Peaks {
    long long committed = 0;
    long long allocated = 0;
};

// Polls the committed bytes while `measuring`. Started once, before any step: a thread's
// own stack and blocks, committed as it starts, would otherwise count towards the step.
std::atomic<bool> measuring{false};
std::atomic<bool> finished{false};
std::atomic<long long> polled{0};

void poll() {
    while (!finished) {
        if (measuring)
            polled = std::max<long long>(polled, committed());
        else
            Sleep(1);
    }
}

template <typename Step>
Peaks measure(Step step) {
    const long long before = committed();
    const long long base_allocated = allocated;
    allocated_peak = base_allocated;
    polled = before;
    measuring = true;
    step();
    measuring = false;
    polled = std::max<long long>(polled, committed());
    return {polled - before, allocated_peak - base_allocated};
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    const std::string route = argv[1];
    if (route != "png" && route != "bmp" && route != "save") return 2;
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    const int w = GetSystemMetrics(SM_CXSCREEN);
    const int h = GetSystemMetrics(SM_CYSCREEN);
    const double image = static_cast<double>(w) * h * 4;
    bool ok = false;
    Peaks grab, write;
    std::thread poller(poll);
    if (route == "png" || route == "bmp") {
        std::optional<PixelImage> shot;
        grab = measure([&] { shot = capture_screen(std::nullopt); });
        if (shot)
            write = measure([&] {
                ok = route == "png" ? write_png("probe.png", std::move(*shot))
                                    : write_bmp("probe.bmp", *shot);
            });
    } else if (route == "save") {
        HWND window = nullptr;
        grab = measure([&] {
            open_overlay();
            window = FindWindowW(L"VLS_Capture", nullptr);
            pump();
        });
        if (const OverlayState* state = window ? overlay_state(window) : nullptr) {
            SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, at(0, 0));
            SendMessageW(window, WM_LBUTTONUP, 0, at(w, h));
            pump();
            // save_selection without its dialog: the flattened selection handed to the writer.
            write = measure([&] {
                std::optional<PixelImage> picture = render_selection(*state);
                ok = picture && write_png("probe.png", std::move(*picture));
            });
        }
    }
    finished = true;
    poller.join();
    // The command line's grab returns the image, so its peak is counted above one; the
    // overlay's opening is printed as it is, its frozen screen held in GDI's bitmaps.
    const double returned = route == "save" ? 0 : image;
    std::printf("memory_%s %.3f %.3f %.3f %.3f\n", route.c_str(),
                (grab.committed - returned) / image, (grab.allocated - returned) / image,
                write.committed / image, write.allocated / image);
    return ok ? 0 : 1;
}
