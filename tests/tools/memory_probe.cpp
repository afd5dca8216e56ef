// Test helper: prints the committed private memory, in KiB, of the running tray (the
// process owning the "VLS_Msg" window), so the end-to-end tests measure it the way the
// in-process tests measure themselves. Exit code 1 when there is no tray or it cannot be
// read.
#include <windows.h>

#include <cstdio>

#include "../win/process_measure.h"

int main() {
    HWND tray = FindWindowW(L"VLS_Msg", nullptr);
    DWORD id = 0;
    if (!tray || !GetWindowThreadProcessId(tray, &id)) return 1;
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, id);
    if (!process) return 1;
    const long long kib = committed_private_kib(process);
    CloseHandle(process);
    if (kib < 0) return 1;
    std::printf("%lld\n", kib);
    return 0;
}
