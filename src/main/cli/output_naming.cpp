#include "main/cli/output_naming.h"

#include <cstdio>

#include "strings/utf.h"

std::string output_name_for(const LocalTime& t) {
    char text[64];
    std::snprintf(text, sizeof text, "Vellumshot_%04d%02d%02d_%02d%02d%02d.png", t.year, t.month,
                  t.day, t.hour, t.minute, t.second);
    return text;
}

std::string numbered_output_name(std::string_view name, int n) {
    if (n <= 1) return std::string(name);
    const size_t dot = name.rfind('.');
    const size_t cut = dot == std::string_view::npos ? name.size() : dot;
    return std::string(name.substr(0, cut)) + "_" + std::to_string(n) +
           std::string(name.substr(cut));
}

bool is_bmp_path(std::string_view path) {
    // Full Unicode lower-casing maps no character but B, M and P onto b, m and p, and only
    // '.' onto '.', so lower-casing the ASCII letters of the ending decides the same way.
    return path.size() >= 4 && ascii_lower(path.substr(path.size() - 4)) == ".bmp";
}

namespace {

constexpr size_t MAX_PATH_UNITS = 260;

bool is_separator(char c) { return c == '\\' || c == '/'; }

} // namespace

std::string created_file_path(std::string_view path) {
    if (path.starts_with("\\\\?\\")) return std::string(path);
    size_t start = path.size();
    while (start > 0 && !is_separator(path[start - 1])) --start;
    // A drive-relative path (C:shot.bmp.) has its drive before the component.
    if (start == 0 && path.size() >= 2 && path[1] == ':') start = 2;
    size_t end = path.size();
    while (end > start && (path[end - 1] == '.' || path[end - 1] == ' ')) --end;
    if (end == start) return std::string(path);
    return std::string(path.substr(0, end));
}

std::string extended_length_path(std::string_view full_path) {
    // MAX_PATH counts the terminating NUL.
    if (utf8_to_utf16(full_path).size() < MAX_PATH_UNITS || full_path.starts_with("\\\\?\\"))
        return std::string(full_path);
    // A full path is normalised already, so \\.\ may become \\?\ as it stands.
    if (full_path.starts_with("\\\\.\\")) return "\\\\?\\" + std::string(full_path.substr(4));
    if (full_path.starts_with("\\\\")) return "\\\\?\\UNC\\" + std::string(full_path.substr(2));
    return "\\\\?\\" + std::string(full_path);
}
