#include "main/cli/console_win.h"

#include <windows.h>

#include <string>

#include "capture/output/output_file_win.h"
#include "strings/wide_win.h"

namespace {

// Reentrant by nature, so a line is never interleaved with another writer's.
struct StdoutLock {
    CRITICAL_SECTION section;
    StdoutLock() { InitializeCriticalSection(&section); }
};

StdoutLock& stdout_lock() {
    static StdoutLock lock;
    return lock;
}

// Runs on a thread of its own for each event. A closing console, logoff or shutdown ends
// the process once a handler returns (or after the system's timeout), so for those it never
// returns: the run, which takes well under that timeout, ends the process itself.
BOOL WINAPI hold_control_event(DWORD event) {
    if (event == CTRL_C_EVENT || event == CTRL_BREAK_EVENT) return TRUE;
    Sleep(INFINITE);
    return TRUE;
}

} // namespace

void hold_off_console_control_events() { SetConsoleCtrlHandler(hold_control_event, TRUE); }

bool attach_parent_console(AttachConsoleFunction attach) {
    // From Windows 8 on, attaching replaces the standard handles with the console's unless
    // the process was started with explicit ones, so `> log.txt` or `| findstr` from cmd.exe
    // would lose every line to the console window. A redirection is kept as it is.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out != nullptr && out != INVALID_HANDLE_VALUE && GetFileType(out) != FILE_TYPE_UNKNOWN &&
        !GetConsoleMode(out, &mode))
        return false;
    return attach(ATTACH_PARENT_PROCESS) != FALSE;
}

void print_line(std::string_view text) {
    std::string line(text);
    line += '\n';
    EnterCriticalSection(&stdout_lock().section);
    // Looked up at every write: the handle may change when a console is attached.
    HANDLE out = GetStdHandle(STD_OUTPUT_HANDLE);
    DWORD mode = 0;
    if (out == nullptr || out == INVALID_HANDLE_VALUE) {
        // No standard output (started from Explorer, say): the line is dropped.
    } else if (GetConsoleMode(out, &mode) && GetConsoleOutputCP() != CP_UTF8) {
        // A console in a legacy code page would garble UTF-8 bytes; hand it UTF-16.
        const std::wstring wide = to_wide(line);
        DWORD written = 0;
        WriteConsoleW(out, wide.data(), static_cast<DWORD>(wide.size()), &written, nullptr);
    } else {
        // A pipe or file whose reader is gone drops the line: nothing else can be told.
        (void)write_all(out, line.data(), line.size());
    }
    LeaveCriticalSection(&stdout_lock().section);
}

void release_console(bool attached) {
    if (attached) FreeConsole();
}

void exit_command_line(bool attached, int code) {
    // Lines are written whole as they are printed, so nothing is left to flush.
    release_console(attached);
    ExitProcess(static_cast<UINT>(code));
}
