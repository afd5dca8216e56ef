// Test helper: keeps a system resource busy so that another program's use of it fails.
//   hold clipboard        opens the clipboard and keeps it open
//   hold file PATH        opens PATH with no sharing, so nobody can replace it
//   hold hotkey MODS VK   registers the global hotkey (numbers, 0x allowed)
// Prints "held" once the resource is taken and holds it until its standard input ends,
// then lets go and prints "released" before it exits.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const bool file = std::strcmp(argv[1], "file") == 0;
    const bool hotkey = std::strcmp(argv[1], "hotkey") == 0;
    if ((file && argc < 3) || (hotkey && argc < 4)) return 2;
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (hotkey) {
        if (!RegisterHotKey(nullptr, 1, std::strtoul(argv[2], nullptr, 0),
                            std::strtoul(argv[3], nullptr, 0)))
            return 1;
    } else if (file) {
        handle = CreateFileA(argv[2], GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
        if (handle == INVALID_HANDLE_VALUE) return 1;
    } else {
        // Opened for a window, as applications do; Wine lets a second opener with no
        // window through when the holder has none either.
        HWND owner = CreateWindowExA(0, "STATIC", "", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr,
                                     nullptr);
        if (!OpenClipboard(owner)) return 1;
    }
    std::printf("held\n");
    std::fflush(stdout);
    while (std::getchar() != EOF) {
    }
    if (hotkey)
        UnregisterHotKey(nullptr, 1);
    else if (file)
        CloseHandle(handle);
    else
        CloseClipboard();
    std::printf("released\n");
    std::fflush(stdout);
    return 0;
}
