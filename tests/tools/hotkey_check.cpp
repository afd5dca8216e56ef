// Tells whether a global hotkey combination is free, by trying to register it.
// Usage: hotkey_check MODIFIERS VK (numbers, 0x allowed). Exit 0: free, 1: taken, 2: usage.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const UINT modifiers = std::strtoul(argv[1], nullptr, 0);
    const UINT vk = std::strtoul(argv[2], nullptr, 0);
    if (!RegisterHotKey(nullptr, 1, modifiers, vk)) {
        std::printf("taken\n");
        return 1;
    }
    UnregisterHotKey(nullptr, 1);
    std::printf("free\n");
    return 0;
}
