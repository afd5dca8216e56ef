#include "main/tray/settings_win.h"

#include <windows.h>

#include <string>
#include <vector>

#include "main/tray/registry_value.h"
#include "strings/wide_win.h"

namespace {

constexpr const char* SETTINGS_KEY = "SOFTWARE\\Vellumshot";
constexpr const char* RUN_KEY = "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* RUN_VALUE = "Vellumshot";
// Task Manager and Settings turn a Run entry off here while the Run value stays.
constexpr const char* APPROVED_KEY =
    "SOFTWARE\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\Run";

// Replaces `number` only with a stored REG_DWORD; anything else keeps the default.
void read_dword(HKEY key, const char* name, uint32_t& number) {
    BYTE data[4] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    // Longer data fails the read with ERROR_MORE_DATA and keeps the default.
    const bool read =
        RegQueryValueExW(key, to_wide(name).c_str(), nullptr, &type, data, &size) == ERROR_SUCCESS;
    if (const std::optional<uint32_t> stored = stored_dword(read, type, data, size))
        number = *stored;
}

void write_dword(HKEY key, const char* name, uint32_t number) {
    const DWORD data = number;
    // Best effort: a failed write leaves the old setting, which is all we could offer.
    RegSetValueExW(key, to_wide(name).c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                   sizeof data);
}

HKEY create_key_for_writing(const char* subkey) {
    HKEY key = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, to_wide(subkey).c_str(), 0, nullptr,
                        REG_OPTION_NON_VOLATILE, KEY_WRITE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return nullptr;
    return key;
}

// The running executable's full path; empty when the system cannot tell. The buffer grows
// until the path fits, since GetModuleFileNameW truncates silently at the buffer's size.
std::string executable_path() {
    std::vector<wchar_t> buffer(MAX_PATH);
    for (;;) {
        const DWORD length =
            GetModuleFileNameW(nullptr, buffer.data(), static_cast<DWORD>(buffer.size()));
        if (length == 0) return {};
        if (length < buffer.size()) return from_wide(buffer.data(), length);
        if (buffer.size() >= 0x10000) return {}; // longer than any Windows path can be
        buffer.resize(buffer.size() * 2);
    }
}

// Whether the startup lists have turned our entry off: its REG_BINARY value's first byte
// is odd then (2 or 6 on, 3 off). No value means Windows' default, on.
bool disabled_in_startup_lists() {
    unsigned char data[12] = {};
    DWORD size = sizeof data;
    DWORD type = 0;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, to_wide(APPROVED_KEY).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    const LSTATUS status =
        RegQueryValueExW(key, to_wide(RUN_VALUE).c_str(), nullptr, &type, data, &size);
    RegCloseKey(key);
    return startup_entry_disabled(status == ERROR_SUCCESS, type, data, size);
}

// Turning the option on in the menu also lifts the startup lists' "off", so that
// Windows' default applies; the other entries there are not ours to touch.
void forget_startup_list_choice() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, to_wide(APPROVED_KEY).c_str(), 0, KEY_SET_VALUE, &key) !=
        ERROR_SUCCESS)
        return;
    RegDeleteValueW(key, to_wide(RUN_VALUE).c_str()); // absent already: nothing to do
    RegCloseKey(key);
}

} // namespace

Hotkey load_hotkey_settings() {
    Hotkey hotkey;
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, to_wide(SETTINGS_KEY).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return hotkey;
    read_dword(key, "HotkeyModifiers", hotkey.modifiers);
    read_dword(key, "HotkeyVk", hotkey.vk);
    RegCloseKey(key);
    return hotkey;
}

void save_hotkey_settings(const Hotkey& hotkey) {
    HKEY key = create_key_for_writing(SETTINGS_KEY);
    if (!key) return; // silently unsaved: the hotkey still works for this run
    write_dword(key, "HotkeyModifiers", hotkey.modifiers);
    write_dword(key, "HotkeyVk", hotkey.vk);
    RegCloseKey(key);
}

bool is_autostart_enabled() {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_CURRENT_USER, to_wide(RUN_KEY).c_str(), 0, KEY_READ, &key) !=
        ERROR_SUCCESS)
        return false;
    // Only whether the value exists matters, so ask for its size and not its data: a
    // value of any type or length then counts as on.
    DWORD size = 0;
    const LSTATUS status =
        RegQueryValueExW(key, to_wide(RUN_VALUE).c_str(), nullptr, nullptr, nullptr, &size);
    RegCloseKey(key);
    if (status != ERROR_SUCCESS && status != ERROR_MORE_DATA) return false;
    return !disabled_in_startup_lists();
}

void toggle_autostart() {
    const bool was_on = is_autostart_enabled();
    HKEY key = create_key_for_writing(RUN_KEY);
    if (!key) return;
    if (was_on) {
        RegDeleteValueW(key, to_wide(RUN_VALUE).c_str()); // failure ignored: it stays on
    } else if (const std::string path = executable_path(); !path.empty()) {
        const std::wstring command = to_wide("\"" + path + "\"");
        const DWORD bytes = static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t));
        RegSetValueExW(key, to_wide(RUN_VALUE).c_str(), 0, REG_SZ,
                       reinterpret_cast<const BYTE*>(command.c_str()), bytes);
        forget_startup_list_choice();
    }
    RegCloseKey(key);
}
