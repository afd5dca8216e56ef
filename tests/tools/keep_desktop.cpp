// Test helper: holds Wine's desktop for as long as the test session lasts. Wine's desktop
// process exits once no program is attached to it and starts again for the next one; a
// suite that runs one short program after another would pay that restart (seconds, much
// more on a loaded machine) for almost every test. Runs until the session's wineserver
// is stopped. tests/session.sh builds and starts it.
#include <windows.h>

int main() {
    // A window of this process, even a message-only one, keeps it a desktop client.
    HWND window =
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr);
    if (!window) return 1;
    MSG msg;
    while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
    return 0;
}
