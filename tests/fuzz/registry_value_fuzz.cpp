// Settings as the registry may hand them back: any read status, any type, any number of
// bytes. The hotkey values, then the name of the hotkey they make, then the startup
// lists' value that can turn the Run entry off.
#include "fuzz_input.h"
#include "main/hotkey/hotkey.h"
#include "main/tray/registry_value.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    Hotkey hotkey;
    for (uint32_t* number : {&hotkey.modifiers, &hotkey.vk}) {
        const bool read_ok = take<uint8_t>(in) & 1;
        const uint32_t type = take<uint32_t>(in);
        const size_t length = take<uint8_t>(in) % 12;
        const size_t available = length < in.size ? length : in.size;
        const std::optional<uint32_t> stored = stored_dword(read_ok, type, in.data, available);
        FUZZ_CHECK(!stored || (read_ok && type == REGISTRY_TYPE_DWORD && available <= 4));
        if (stored) *number = *stored;
        in.data += available;
        in.size -= available;
    }
    const std::string name = format_hotkey(hotkey.modifiers, hotkey.vk);
    FUZZ_CHECK(!name.empty());

    // The startup lists' value for the Run entry: whatever is left of the input.
    const bool read_ok = take<uint8_t>(in) & 1;
    const uint32_t type = take<uint32_t>(in);
    if (startup_entry_disabled(read_ok, type, in.data, in.size))
        FUZZ_CHECK(read_ok && type == REGISTRY_TYPE_BINARY && (in.data[0] & 1) != 0);
    return 0;
}
