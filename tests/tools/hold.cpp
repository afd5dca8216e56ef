// Test helper: keeps a system resource busy so that another program's use of it fails.
//   hold clipboard MS     opens the clipboard and keeps it open
//   hold file PATH MS     opens PATH with no sharing, so nobody can replace it
// Prints "held" once the resource is taken, then holds it for MS milliseconds.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 3) return 2;
    const bool file = std::strcmp(argv[1], "file") == 0;
    if (file && argc < 4) return 2;
    const DWORD hold = static_cast<DWORD>(std::atoi(argv[file ? 3 : 2]));
    HANDLE handle = INVALID_HANDLE_VALUE;
    if (file) {
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
    Sleep(hold);
    if (file)
        CloseHandle(handle);
    else
        CloseClipboard();
    return 0;
}
