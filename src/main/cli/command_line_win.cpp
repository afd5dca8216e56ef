#include "main/cli/command_line_win.h"

#include <windows.h>

#include <optional>
#include <utility>

#include "capture/image/screen_grab_win.h"
#include "capture/output/bmp_writer_win.h"
#include "capture/output/clipboard_win.h"
#include "capture/output/png_writer_win.h"
#include "main/cli/cli_options.h"
#include "main/cli/console_win.h"
#include "main/cli/display_path.h"
#include "main/cli/output_naming.h"
#include "main/dpi_win.h"
#include "strings/wide_win.h"

namespace {

constexpr int EXIT_OK = 0;
constexpr int EXIT_FAILED = 1;
constexpr int EXIT_USAGE = 2;

void print_usage() {
    for (std::string_view line : usage_lines()) print_line(line);
}

std::optional<std::string> current_directory() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    if (needed == 0) return std::nullopt;
    std::wstring buffer(needed, L'\0');
    const DWORD length = GetCurrentDirectoryW(needed, buffer.data());
    if (length == 0 || length >= needed) return std::nullopt;
    return from_wide(buffer.data(), length);
}

// The path the writers open for the file Windows creates: in \\?\ form when it is too long
// for the legacy MAX_PATH limit, which the manifest's longPathAware lifts only where the
// system's long-path switch is on too. The \\?\ form is taken literally, so it is built
// from the full path, in which Windows' own rules (dots, separators) have been applied.
std::string open_path(const std::string& created) {
    const std::wstring wide = to_wide(created);
    const DWORD needed = GetFullPathNameW(wide.c_str(), 0, nullptr, nullptr);
    if (needed == 0) return created;
    std::wstring full(needed, L'\0');
    const DWORD length = GetFullPathNameW(wide.c_str(), needed, full.data(), nullptr);
    if (length == 0 || length >= needed) return created;
    const std::string extended = extended_length_path(from_wide(full.data(), length));
    return extended.starts_with("\\\\?\\") ? extended : created;
}

// Whether something now stands at the path, following links.
bool path_exists(const std::string& path) {
    HANDLE handle = CreateFileW(to_wide(path).c_str(), 0,
                                FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

// output_name_for the current local time.
std::string default_output_name() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return output_name_for({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}

// The time-stamped default name, numbered when taken so that no earlier capture is ever
// replaced. The name is claimed by creating it empty, so a capture running beside this
// one in the same second picks the next number instead of the same file.
std::string claim_default_output_name() {
    const std::string base = default_output_name();
    for (int n = 1;; ++n) {
        std::string name = numbered_output_name(base, n);
        HANDLE handle = CreateFileW(to_wide(name).c_str(), GENERIC_WRITE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                                    CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (handle != INVALID_HANDLE_VALUE) {
            CloseHandle(handle);
            return name;
        }
        const DWORD error = GetLastError();
        // Any other failure (a read-only directory, say) is the writer's to report.
        if (error != ERROR_FILE_EXISTS && error != ERROR_ALREADY_EXISTS) return name;
    }
}

[[noreturn]] void run_screenshot(bool attached, const std::vector<std::string>& arguments) {
    // Sizes are physical pixels from here on. Best effort: the manifest asks for the same.
    set_per_monitor_dpi_awareness();

    const CliParse parse =
        parse_screenshot_options(std::vector<std::string>(arguments.begin() + 1, arguments.end()));
    if (parse.outcome == CliParse::Outcome::ShowUsage) {
        print_usage();
        exit_command_line(attached, EXIT_OK);
    }
    if (parse.outcome == CliParse::Outcome::Error) {
        print_line(parse.error);
        exit_command_line(attached, EXIT_USAGE);
    }
    const CliOptions& options = parse.options;

    std::optional<PixelImage> image = capture_screen(options.region);
    if (!image) {
        print_line(MSG_CAPTURE_EMPTY);
        exit_command_line(attached, EXIT_FAILED);
    }

    bool clipboard_failed = false;
    if (options.clipboard) {
        clipboard_failed = !copy_image_to_clipboard(*image, nullptr);
        if (!options.quiet)
            print_line(clipboard_failed ? std::string(MSG_CLIPBOARD_FAILED)
                                        : copied_message(image->width, image->height));
        if (!options.output_path)
            exit_command_line(attached, clipboard_failed ? EXIT_FAILED : EXIT_OK);
    }

    // The format and the line follow the file as Windows names it: shot.bmp. makes shot.bmp.
    const std::string path =
        created_file_path(options.output_path ? *options.output_path : claim_default_output_name());
    const std::string opened = open_path(path);
    const int32_t width = image->width;
    const int32_t height = image->height;
    // The PNG writer filters the pixels where they lie: the image is handed over.
    const bool written =
        is_bmp_path(path) ? write_bmp(opened, *image) : write_png(opened, std::move(*image));
    const std::string shown = display_path(current_directory(), path);
    // A writer's failure is final even when an older file still stands at the path.
    if (!written || !path_exists(opened)) {
        print_line(failed_to_save_message(shown));
        exit_command_line(attached, EXIT_FAILED);
    }
    if (!options.quiet) print_line(saved_message(shown, width, height));
    exit_command_line(attached, clipboard_failed ? EXIT_FAILED : EXIT_OK);
}

} // namespace

void run_command_line(const std::vector<std::string>& arguments) {
    // The shell does not wait for a GUI program, so a Ctrl+C meant for the prompt reaches
    // this run too once it shares the console.
    hold_off_console_control_events();
    const bool attached = attach_parent_console();
    if (arguments.empty()) {
        print_usage();
        exit_command_line(attached, EXIT_USAGE);
    }
    const std::string command = ascii_lower(arguments[0]);
    switch (lookup_command(command)) {
    case CliCommand::Screenshot:
        run_screenshot(attached, arguments);
    case CliCommand::Version:
        print_line(VERSION_LINE);
        exit_command_line(attached, EXIT_OK);
    case CliCommand::Help:
        print_usage();
        exit_command_line(attached, EXIT_OK);
    case CliCommand::Unknown:
        break;
    }
    print_line(unknown_command_message(command));
    print_line("");
    print_usage();
    exit_command_line(attached, EXIT_USAGE);
}
