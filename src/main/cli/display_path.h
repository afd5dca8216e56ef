#pragma once
// How the command line shows a saved file's path: Windows path rules, worked on UTF-8
// text, with no file-system access.
#include <optional>
#include <string>
#include <string_view>

// True when the path has a drive or UNC prefix and a root (C:\x, \\server\share\x).
bool is_absolute_windows_path(std::string_view path);

// The path as typed when absolute; otherwise `current_dir` joined with it by the ordinary
// join rules: a separator is inserted unless the directory ends in one, a root-relative
// path (\x.png) keeps only the directory's drive or share, and a path with its own drive
// (D:x.png) stands unchanged. Dot components are left in place. Without a current
// directory the path itself.
std::string display_path(const std::optional<std::string>& current_dir, std::string_view path);
