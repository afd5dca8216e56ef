#include "main/cli/display_path.h"

namespace {

bool is_sep(char c, bool verbatim = false) { return c == '\\' || (!verbatim && c == '/'); }

struct Prefix {
    size_t length = 0; // bytes of the prefix; 0 when there is none
    bool disk = false; // a plain drive letter ("C:"), the only prefix without an implied root
    bool verbatim = false;
};

// Offset just past the next component starting at `from` and of the separator after it.
size_t skip_component(std::string_view p, size_t from, bool verbatim, size_t* component_end) {
    size_t i = from;
    while (i < p.size() && !is_sep(p[i], verbatim)) ++i;
    *component_end = i;
    return i < p.size() ? i + 1 : i;
}

bool is_drive(std::string_view p, size_t at) {
    if (p.size() < at + 2 || p[at + 1] != ':') return false;
    const char c = p[at];
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

Prefix parse_prefix(std::string_view p) {
    // Prefix markers are matched with forward slashes read as backslashes, except that a
    // verbatim prefix (\\?\) must be written with backslashes.
    auto at = [&](size_t i) { return i < p.size() ? (p[i] == '/' ? '\\' : p[i]) : '\0'; };
    Prefix prefix;
    if (at(0) == '\\' && at(1) == '\\') {
        if (p.substr(0, 4) == "\\\\?\\") {
            prefix.verbatim = true;
            size_t end = 0;
            if (p.substr(4, 4) == "UNC\\") {
                const size_t share = skip_component(p, 8, true, &end);
                skip_component(p, share, true, &end);
            } else if (is_drive(p, 4) && (p.size() == 6 || p[6] == '\\')) {
                end = 6;
            } else {
                skip_component(p, 4, true, &end);
            }
            prefix.length = end;
        } else if (at(2) == '.' && at(3) == '\\') {
            size_t end = 0;
            skip_component(p, 4, false, &end);
            prefix.length = end;
        } else {
            size_t server_end = 0, share_end = 0;
            const size_t share = skip_component(p, 2, false, &server_end);
            skip_component(p, share, false, &share_end);
            if (server_end > 2 && share_end > share) prefix.length = share_end;
        }
    } else if (is_drive(p, 0)) {
        prefix.length = 2;
        prefix.disk = true;
    }
    return prefix;
}

bool has_root(std::string_view p, const Prefix& prefix) {
    if (prefix.length > 0 && !prefix.disk) return true;
    return prefix.length < p.size() && is_sep(p[prefix.length], prefix.verbatim);
}

} // namespace

bool is_absolute_windows_path(std::string_view path) {
    const Prefix prefix = parse_prefix(path);
    return prefix.length > 0 && has_root(path, prefix);
}

std::string display_path(const std::optional<std::string>& current_dir, std::string_view path) {
    if (!current_dir) return std::string(path);
    const Prefix path_prefix = parse_prefix(path);
    if (path_prefix.length > 0) return std::string(path); // absolute, or its own drive
    std::string joined = *current_dir;
    const Prefix dir_prefix = parse_prefix(joined);
    if (has_root(path, path_prefix)) {
        joined.resize(dir_prefix.length); // \x.png: keep only the drive or share
    } else {
        // "C:" alone is a drive-relative directory: nothing goes between it and the path.
        const bool bare_drive = dir_prefix.disk && joined.size() == dir_prefix.length;
        if (!joined.empty() && !is_sep(joined.back()) && !bare_drive) joined += '\\';
    }
    joined += path;
    return joined;
}
