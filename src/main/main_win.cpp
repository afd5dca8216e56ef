// Process entry: any argument at all selects the command line, none the tray application.
#include <windows.h>

#include <shellapi.h>

#include <string>
#include <vector>

#include "main/cli/command_line_win.h"
#include "main/tray/tray_app_win.h"
#include "strings/wide_win.h"

int main() {
    // Libraries loaded by name from here on, by us or by the system's own DLLs (themes,
    // dialogs), come from the system folder only: a DLL left beside the executable (a
    // Downloads folder) never runs. The imports themselves are KnownDLLs or side-by-side.
    SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
    int count = 0;
    LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &count);
    if (argv != nullptr && count >= 2) {
        std::vector<std::string> arguments;
        for (int i = 1; i < count; ++i) arguments.push_back(from_wide(argv[i]));
        LocalFree(argv);
        run_command_line(arguments);
    }
    if (argv != nullptr) LocalFree(argv);
    run_tray_app();
    return 0;
}
