#pragma once
// What a setting read back from the registry holds, apart from the registry call that read
// it: a user or another program may have left any type, size or bytes there.
#include <cstddef>
#include <cstdint>
#include <optional>

constexpr uint32_t REGISTRY_TYPE_BINARY = 3; // REG_BINARY
constexpr uint32_t REGISTRY_TYPE_DWORD = 4;  // REG_DWORD, stored little-endian

// The number a REG_DWORD setting holds, read into a 4-byte buffer preset to 0: nothing
// unless the read succeeded, the type is REG_DWORD and at most 4 bytes came back.
[[nodiscard]] std::optional<uint32_t> stored_dword(bool read_ok, uint32_t type, const uint8_t* data,
                                                   size_t size);

// Whether Windows' startup lists turned a Run entry off, from its StartupApproved value:
// a successful read of REG_BINARY data whose first byte is odd (2 or 6 on, 3 off).
bool startup_entry_disabled(bool read_ok, uint32_t type, const uint8_t* data, size_t size);
