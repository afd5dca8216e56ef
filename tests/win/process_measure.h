#pragma once
// What a process still holds, for leak tests that repeat a path many times.
//
// GetGuiResources is not implemented under Wine (it returns 0), so GDI objects are counted
// as the free room in the process's GDI handle table: brushes are created until the system
// refuses one, then deleted again. Every live object holds one slot, so each leaked object
// lowers the count by exactly one.
//
// Memory is counted as committed private bytes: the sum of the process's private regions
// in the committed state, walked with VirtualQueryEx. Every heap block, DIB section and
// VirtualAlloc a leak keeps stays committed whether or not its pages are resident, while
// what the working set also moves by (pages of DLLs and fonts the kernel drops or brings
// back, Wine's own Unix-side allocations, which Windows code cannot see) is not counted.
#include <windows.h>

#include <cstdint>

int creatable_gdi_objects();

// Committed private memory of `process` in KiB, or -1 when it cannot be read.
int64_t committed_private_kib(HANDLE process = GetCurrentProcess());
