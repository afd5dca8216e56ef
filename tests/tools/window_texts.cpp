// Prints a top-level window of a given class with its children, so tests can read what
// a dialog shows and find where to click. Usage: window_texts CLASS
// Output (UTF-8), one line each, rectangles in screen pixels as left top right bottom:
//   window <left> <top> <right> <bottom> <text>
//   client <left> <top> <right> <bottom>
//   child <id> <left> <top> <right> <bottom> <text>
//   foreground <1 when the window is the foreground window, else 0>
// Exit 1 when no such window exists.
#include <windows.h>

#include <cstdio>
#include <string>

namespace {

std::string utf8(const wchar_t* text) {
    const int n = WideCharToMultiByte(CP_UTF8, 0, text, -1, nullptr, 0, nullptr, nullptr);
    std::string out(n > 0 ? n - 1 : 0, '\0');
    if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text, -1, out.data(), n, nullptr, nullptr);
    return out;
}

std::string text_of(HWND window) {
    wchar_t text[512] = {};
    GetWindowTextW(window, text, 512);
    return utf8(text);
}

BOOL CALLBACK print_child(HWND child, LPARAM) {
    RECT r;
    GetWindowRect(child, &r);
    std::printf("child %d %ld %ld %ld %ld %s\n", GetDlgCtrlID(child), r.left, r.top, r.right,
                r.bottom, text_of(child).c_str());
    return TRUE;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) return 2;
    HWND window = FindWindowW(argv[1], nullptr);
    if (window == nullptr || !IsWindowVisible(window)) return 1;
    RECT r;
    GetWindowRect(window, &r);
    std::printf("window %ld %ld %ld %ld %s\n", r.left, r.top, r.right, r.bottom,
                text_of(window).c_str());
    RECT c;
    GetClientRect(window, &c);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    std::printf("client %ld %ld %ld %ld\n", origin.x, origin.y, origin.x + c.right,
                origin.y + c.bottom);
    EnumChildWindows(window, print_child, 0);
    std::printf("foreground %d\n", GetForegroundWindow() == window ? 1 : 0);
    return 0;
}
