#include "process_measure.h"

#include <vector>

int creatable_gdi_objects() {
    std::vector<HBRUSH> made;
    made.reserve(70000);
    // Bounded, in case a system ever hands out brushes without limit.
    while (made.size() < 1000000) {
        HBRUSH brush = CreateSolidBrush(0x123456);
        if (!brush) break;
        made.push_back(brush);
    }
    for (HBRUSH brush : made) DeleteObject(brush);
    return static_cast<int>(made.size());
}

int64_t committed_private_kib(HANDLE process) {
    SYSTEM_INFO system{};
    GetSystemInfo(&system);
    auto* address = static_cast<char*>(system.lpMinimumApplicationAddress);
    const auto* end = static_cast<const char*>(system.lpMaximumApplicationAddress);
    uint64_t bytes = 0;
    bool read_any = false;
    while (address < end) {
        MEMORY_BASIC_INFORMATION region{};
        if (VirtualQueryEx(process, address, &region, sizeof region) != sizeof region) break;
        read_any = true;
        if (region.State == MEM_COMMIT && region.Type == MEM_PRIVATE) bytes += region.RegionSize;
        char* next = static_cast<char*>(region.BaseAddress) + region.RegionSize;
        if (next <= address) break; // a region that does not advance would loop for ever
        address = next;
    }
    return read_any ? static_cast<int64_t>(bytes / 1024) : -1;
}
