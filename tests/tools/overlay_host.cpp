// Test helper standing in for the tray: opens an overlay at start (unless --idle), on
// every Ctrl+Shift+A and whenever a file named open-overlay appears in its working
// directory (deleting it), runs the message loop, and prints "opened" for each open and
// "overlays N" whenever the number of open overlay windows changes, so tests can wait for
// opens and closes. Under Wine a hotkey arrives only while a window of the program has
// the X keyboard focus, as an open overlay does; the file opens one when none is open.
// --fail buffer|window makes the first open fail at its back buffer or window.
#include <windows.h>

#include <cstdio>
#include <cstring>

#include "capture/overlay.h"

namespace {

int count_overlays() {
    int count = 0;
    HWND window = nullptr;
    while ((window = FindWindowExW(nullptr, window, L"VLS_Capture", nullptr)) != nullptr) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        if (process == GetCurrentProcessId()) ++count;
    }
    return count;
}

void report(int& shown) {
    const int now = count_overlays();
    if (now == shown) return;
    shown = now;
    std::printf("overlays %d\n", now);
    std::fflush(stdout);
}

} // namespace

int main(int argc, char** argv) {
    bool open_at_start = true;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--idle") == 0) open_at_start = false;
        if (std::strcmp(argv[i], "--fail") == 0 && i + 1 < argc) {
            ++i;
            fail_next_overlay(std::strcmp(argv[i], "window") == 0 ? OverlayFault::Window
                                                                  : OverlayFault::BackBuffer);
        }
    }
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    // Thread hotkey and timer: both arrive in the loop below with no window.
    if (!RegisterHotKey(nullptr, 1, MOD_CONTROL | MOD_SHIFT | MOD_NOREPEAT, 'A')) return 1;
    SetTimer(nullptr, 0, 50, nullptr);
    int shown = -1;
    report(shown);
    std::printf("ready\n");
    std::fflush(stdout);
    if (open_at_start) open_overlay();
    report(shown);

    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
        const bool asked =
            msg.hwnd == nullptr && msg.message == WM_TIMER && DeleteFileW(L"open-overlay");
        if (asked || (msg.hwnd == nullptr && msg.message == WM_HOTKEY)) {
            open_overlay();
            std::printf("opened\n");
            std::fflush(stdout);
        }
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
        report(shown);
    }
    return 0;
}
