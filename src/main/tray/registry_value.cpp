#include "main/tray/registry_value.h"

#include "capture/output/little_endian.h"

std::optional<uint32_t> stored_dword(bool read_ok, uint32_t type, const uint8_t* data,
                                     size_t size) {
    if (!read_ok || type != REGISTRY_TYPE_DWORD || size > 4 || (size > 0 && !data))
        return std::nullopt;
    // A shorter REG_DWORD fills only the low bytes of the zeroed buffer.
    return read_le(data, size);
}

bool startup_entry_disabled(bool read_ok, uint32_t type, const uint8_t* data, size_t size) {
    return read_ok && type == REGISTRY_TYPE_BINARY && size > 0 && data && (data[0] & 1) != 0;
}
