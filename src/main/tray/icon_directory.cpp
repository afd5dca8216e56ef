#include "main/tray/icon_directory.h"

#include <cstdlib>

#include "capture/output/little_endian.h"

namespace {

constexpr size_t HEADER_SIZE = 6;
constexpr size_t ENTRY_SIZE = 16;

// Callers check that the bytes are there first.
uint32_t read_u16(std::span<const uint8_t> bytes, size_t at) { return read_le(&bytes[at], 2); }
uint32_t read_u32(std::span<const uint8_t> bytes, size_t at) { return read_le(&bytes[at], 4); }

int64_t stored_extent(uint8_t value) { return value == 0 ? 256 : value; }

} // namespace

std::optional<IconImageSpan> choose_icon_image(std::span<const uint8_t> ico, int32_t cx,
                                               int32_t cy) {
    if (ico.size() < HEADER_SIZE) return std::nullopt;
    // A count larger than the directory that is actually there only reaches the entries
    // present, so a damaged header cannot make us read past the image.
    size_t count = read_u16(ico, 4);
    const size_t present = (ico.size() - HEADER_SIZE) / ENTRY_SIZE;
    if (count > present) count = present;
    std::optional<size_t> best;
    int64_t best_distance = 0;
    for (size_t i = 0; i < count; ++i) {
        const size_t entry = HEADER_SIZE + i * ENTRY_SIZE;
        // 64-bit differences: the requested sizes may be anything a caller passes.
        const int64_t distance = std::llabs(stored_extent(ico[entry]) - cx) +
                                 std::llabs(stored_extent(ico[entry + 1]) - cy);
        if (!best || distance < best_distance) {
            best = entry;
            best_distance = distance;
        }
    }
    if (!best) return std::nullopt;
    const IconImageSpan span{read_u32(ico, *best + 12), read_u32(ico, *best + 8)};
    if (uint64_t{span.offset} + span.size > ico.size()) return std::nullopt;
    return span;
}
