// Hotkey values as the registry may hand them back: any read status, any type, any
// number of bytes; then the hotkey they make is named for the tray and the dialog.
#include "fuzz_input.h"
#include "main/hotkey.h"
#include "main/registry_value.h"

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
    return 0;
}
