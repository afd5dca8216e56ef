// Test helper that plays a restarted taskbar for the tray tests. Usage:
//   taskbar_created remove      the notification area forgets the tray's icon (uID 1)
//   taskbar_created broadcast   "TaskbarCreated" goes to every top-level window
// Exit 1 when `remove` finds no tray window.
#include <windows.h>

#include <shellapi.h>

#include <cstring>

int main(int argc, char** argv) {
    if (argc != 2) return 2;
    if (std::strcmp(argv[1], "broadcast") == 0) {
        // As Explorer sends it: to top-level windows only, message-only ones never see it.
        PostMessageW(HWND_BROADCAST, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
        return 0;
    }
    if (std::strcmp(argv[1], "remove") != 0) return 2;
    HWND tray = FindWindowW(L"VLS_Msg", nullptr);
    if (tray == nullptr) tray = FindWindowExW(HWND_MESSAGE, nullptr, L"VLS_Msg", nullptr);
    if (tray == nullptr) return 1;
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof(data);
    data.hWnd = tray;
    data.uID = 1;
    return Shell_NotifyIconW(NIM_DELETE, &data) ? 0 : 1;
}
