#include "main/output_naming.h"

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
