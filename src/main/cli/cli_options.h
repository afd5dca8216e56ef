#pragma once
// Parsing of the command-line mode's arguments: the command, the screenshot options and
// region values, and every English text the command line prints.
#include <array>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "capture/image/geometry.h"
#include "main/version.h"

enum class CliCommand { Screenshot, Version, Help, Unknown };

// Looks up an already lower-cased first argument.
CliCommand lookup_command(std::string_view lowered);

struct CliOptions {
    std::optional<std::string> output_path; // last -o/--output value
    std::optional<ScreenRect> region;       // last -r/--region value
    bool clipboard = false;
    bool quiet = false;
};

// What the screenshot options ask for: a capture, the usage text (-h), or a usage error
// whose message is in `error`.
struct CliParse {
    enum class Outcome { Capture, ShowUsage, Error } outcome = Outcome::Capture;
    CliOptions options;
    std::string error;
};

// Parses the arguments that follow the screenshot command; the first offending
// argument decides.
CliParse parse_screenshot_options(const std::vector<std::string>& args);

// "X,Y,W,H" split at commas and Unicode white space; absent unless exactly four signed
// 32-bit decimals with W > 0 and H > 0.
[[nodiscard]] std::optional<ScreenRect> parse_region(std::string_view text);

// The 25 lines of the usage text.
const std::array<std::string_view, 25>& usage_lines();

inline constexpr std::string_view VERSION_LINE = VLS_PRODUCT_NAME " " VLS_VERSION_TEXT;
inline constexpr std::string_view MSG_OUTPUT_NEEDS_PATH = "--output requires a path argument.";
inline constexpr std::string_view MSG_REGION_INVALID =
    "--region requires X,Y,W,H (integers, screen pixels).";
inline constexpr std::string_view MSG_CAPTURE_EMPTY =
    "Failed to capture the screen (empty or invalid region).";
inline constexpr std::string_view MSG_CLIPBOARD_FAILED = "Clipboard copy failed.";

std::string unknown_command_message(std::string_view lowered);
std::string unknown_option_message(std::string_view argument);
std::string copied_message(int32_t width, int32_t height);
std::string saved_message(std::string_view display_path, int32_t width, int32_t height);
std::string failed_to_save_message(std::string_view display_path);
