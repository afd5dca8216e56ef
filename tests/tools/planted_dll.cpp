// Test helper: a DLL that leaves a mark when any process loads it. Copied beside
// Vellumshot.exe under the name of a library the program uses; its DllMain writes
// NAME.loaded next to itself (msimg32.dll.loaded), so a test sees that it ran, and then
// fails the load.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason != DLL_PROCESS_ATTACH) return TRUE;
    wchar_t path[MAX_PATH + 16];
    const DWORD length = GetModuleFileNameW(instance, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return TRUE;
    lstrcatW(path, L".loaded");
    HANDLE marker =
        CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (marker != INVALID_HANDLE_VALUE) CloseHandle(marker);
    // Refusing to load stops the process at once: no call into the missing exports.
    return FALSE;
}
