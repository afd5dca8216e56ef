#pragma once
// What a test process still holds, for leak tests that repeat a path many times.
//
// GetGuiResources is not implemented under Wine (it returns 0), so GDI objects are counted
// as the free room in the process's GDI handle table: brushes are created until the system
// refuses one, then deleted again. Every live object holds one slot, so each leaked object
// lowers the count by exactly one.
#include <cstdint>

int creatable_gdi_objects();

// The process's working set in KiB: memory a leak keeps touched grows it.
int64_t working_set_kib();
