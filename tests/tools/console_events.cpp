// Test helper: runs a program on a console of its own and presses Ctrl+C on that console
// again and again until the program ends, as a user at a prompt might.
// Usage: console_events PROGRAM ARG...
// Prints how many Ctrl+C events reached the console after the program had joined it, and
// exits with the program's exit code.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

namespace {

BOOL WINAPI survive(DWORD) { return TRUE; }

bool on_console(DWORD pid) {
    std::vector<DWORD> pids(64);
    const DWORD count = GetConsoleProcessList(pids.data(), static_cast<DWORD>(pids.size()));
    for (DWORD i = 0; i < count && i < pids.size(); ++i)
        if (pids[i] == pid) return true;
    return false;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 100;
    // A console of our own, whose output the program gets as its standard output: a
    // console there is what makes it attach, as when it is run at a prompt.
    FreeConsole();
    if (!AllocConsole()) return 101;
    SetConsoleCtrlHandler(survive, TRUE);
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE console =
        CreateFileW(L"CONOUT$", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                    &inherit, OPEN_EXISTING, 0, nullptr);
    if (console == INVALID_HANDLE_VALUE) return 102;
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) command += L" \"" + std::wstring(argv[i]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = console;
    startup.hStdError = console;
    PROCESS_INFORMATION process{};
    // Detached, as a GUI program starts on Windows: it joins the console only by attaching.
    // (No new process group: that would turn Ctrl+C off for it.)
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, DETACHED_PROCESS, nullptr,
                        nullptr, &startup, &process))
        return 103;
    // From the moment it has joined, every event lands while it captures or writes.
    int sent = 0;
    bool joined = false;
    while (WaitForSingleObject(process.hProcess, 1) == WAIT_TIMEOUT) {
        if (!joined) joined = on_console(process.dwProcessId);
        if (joined && GenerateConsoleCtrlEvent(CTRL_C_EVENT, 0)) ++sent;
    }
    DWORD code = 104;
    GetExitCodeProcess(process.hProcess, &code);
    std::printf("sent %d\n", sent);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
