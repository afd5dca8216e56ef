// Test helper: opens the clipboard and keeps it open, so that another program's attempt
// to use it fails. Prints "held" once the clipboard is open, then holds it for the number
// of milliseconds given as the first argument (default 5000).
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    const DWORD hold = argc > 1 ? static_cast<DWORD>(std::atoi(argv[1])) : 5000;
    if (!OpenClipboard(nullptr)) return 1;
    std::printf("held\n");
    std::fflush(stdout);
    Sleep(hold);
    CloseClipboard();
    return 0;
}
