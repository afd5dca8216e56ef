// Test helper: starts a program with a UTF-16 command line that a Unix shell cannot
// express. Usage: spawn_wide PROGRAM ARG...; in each ARG "\uXXXX" stands for that UTF-16
// unit (lone surrogates included). Standard handles are inherited; exits with the
// child's exit code.
#include <windows.h>

#include <cwchar>
#include <string>

namespace {

std::wstring unescape(const wchar_t* text) {
    std::wstring out;
    for (const wchar_t* p = text; *p; ++p) {
        if (p[0] == L'\\' && p[1] == L'u' && std::wcslen(p) >= 6) {
            out += static_cast<wchar_t>(std::wcstoul(std::wstring(p + 2, 4).c_str(), nullptr, 16));
            p += 5;
        } else {
            out += *p;
        }
    }
    return out;
}

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc < 2) return 100;
    std::wstring command = L"\"" + std::wstring(argv[1]) + L"\"";
    for (int i = 2; i < argc; ++i) command += L" \"" + unescape(argv[i]) + L"\"";
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return 101;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD code = 102;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return static_cast<int>(code);
}
