#pragma once
// Command-line mode: screenshot, help and version. Ends the process with exit code 0
// (success), 1 (capture or output failed) or 2 (bad usage); never returns.
#include <string>
#include <vector>

[[noreturn]] void run_command_line(const std::vector<std::string>& arguments);
