#include "process_measure.h"

#include <windows.h>

#include <psapi.h>

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

int64_t working_set_kib() {
    PROCESS_MEMORY_COUNTERS counters{};
    counters.cb = sizeof counters;
    if (!GetProcessMemoryInfo(GetCurrentProcess(), &counters, sizeof counters)) return -1;
    return static_cast<int64_t>(counters.WorkingSetSize / 1024);
}
