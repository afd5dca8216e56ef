#pragma once
// What tests reach into the output file with. Not for the program's own callers.
#include <windows.h>

// The function that stands for CreateFileW in create_output_file from now on; null gives
// the real one back.
using CreateFileFunction = HANDLE(WINAPI*)(LPCWSTR, DWORD, DWORD, LPSECURITY_ATTRIBUTES, DWORD,
                                           DWORD, HANDLE);
void set_create_file_function(CreateFileFunction create);
