#pragma once
// The command line's output: it borrows the parent's console for the run and writes
// UTF-8 lines ending in LF to standard output. Nothing goes to standard error.
#include <string_view>

#include <windows.h>

using AttachConsoleFunction = BOOL(WINAPI*)(DWORD);

// Keeps console control events (Ctrl+C, Ctrl+Break, the console closing, logoff) from
// ending the run half-way through a file; call before attaching.
void hold_off_console_control_events();

// AttachConsole(ATTACH_PARENT_PROCESS), unless standard output is already a file, a pipe or
// another device that is not a console; true when it attached. Tests pass their own attach.
bool attach_parent_console(AttachConsoleFunction attach = AttachConsole);

// Writes text and one LF as one hand-over; errors are ignored.
void print_line(std::string_view text);

// FreeConsole when the attach succeeded.
void release_console(bool attached);

// Gives the console back and ends the process with `code`.
[[noreturn]] void exit_command_line(bool attached, int code);
