// Test helper: drives the settings and language functions from the command line.
//   load            prints the loaded hotkey as "MODIFIERS VK" (decimal)
//   save M V        saves modifiers M and key V (decimal or 0x-hex)
//   autostart       prints "on" or "off"
//   toggle          toggles start-on-boot
//   language        prints "Chinese" or "English"
//   run-value       prints the Run value as the registry holds it, read with the raw API:
//                   "type T size S" and then its data in hexadecimal, or "absent"
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "main/tray/settings_win.h"
#include "strings/detect_language_win.h"

namespace {

int print_run_value() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, L"SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run", 0,
                      KEY_READ, &key) != ERROR_SUCCESS) {
        std::printf("absent\n");
        return 0;
    }
    DWORD type = 0;
    DWORD size = 0;
    if (RegQueryValueExW(key, L"Vellumshot", nullptr, &type, nullptr, &size) != ERROR_SUCCESS) {
        std::printf("absent\n");
        RegCloseKey(key);
        return 0;
    }
    std::vector<BYTE> data(size + 1);
    RegQueryValueExW(key, L"Vellumshot", nullptr, &type, data.data(), &size);
    RegCloseKey(key);
    std::printf("type %lu size %lu\n", type, size);
    for (DWORD i = 0; i < size; ++i) std::printf("%02x", data[i]);
    std::printf("\n");
    return 0;
}

uint32_t number(const char* text) { return static_cast<uint32_t>(std::strtoul(text, nullptr, 0)); }

} // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const char* command = argv[1];
    if (!std::strcmp(command, "load")) {
        const Hotkey hotkey = load_hotkey_settings();
        std::printf("%u %u\n", hotkey.modifiers, hotkey.vk);
    } else if (!std::strcmp(command, "save") && argc == 4) {
        save_hotkey_settings(Hotkey{number(argv[2]), number(argv[3])});
    } else if (!std::strcmp(command, "autostart")) {
        std::printf("%s\n", is_autostart_enabled() ? "on" : "off");
    } else if (!std::strcmp(command, "toggle")) {
        toggle_autostart();
    } else if (!std::strcmp(command, "language")) {
        std::printf("%s\n", detect_language() == Language::Chinese ? "Chinese" : "English");
    } else if (!std::strcmp(command, "run-value")) {
        return print_run_value();
    } else {
        return 2;
    }
    return 0;
}
