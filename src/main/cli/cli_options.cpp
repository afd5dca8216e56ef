#include "main/cli/cli_options.h"

#include <cstdint>

CliCommand lookup_command(std::string_view lowered) {
    if (lowered == "screenshot" || lowered == "shot" || lowered == "capture")
        return CliCommand::Screenshot;
    if (lowered == "version" || lowered == "--version") return CliCommand::Version;
    if (lowered == "help" || lowered == "--help" || lowered == "-h") return CliCommand::Help;
    return CliCommand::Unknown;
}

CliParse parse_screenshot_options(const std::vector<std::string>& args) {
    CliParse parse;
    auto fail = [&parse](std::string message) {
        parse.outcome = CliParse::Outcome::Error;
        parse.error = std::move(message);
        return parse;
    };
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "-o" || arg == "--output") {
            if (++i == args.size()) return fail(std::string(MSG_OUTPUT_NEEDS_PATH));
            parse.options.output_path = args[i]; // verbatim, even when it starts with '-'
        } else if (arg == "-r" || arg == "--region") {
            if (++i == args.size()) return fail(std::string(MSG_REGION_INVALID));
            std::optional<ScreenRect> region = parse_region(args[i]);
            if (!region) return fail(std::string(MSG_REGION_INVALID));
            parse.options.region = region;
        } else if (arg == "-c" || arg == "--clipboard") {
            parse.options.clipboard = true;
        } else if (arg == "-q" || arg == "--quiet") {
            parse.options.quiet = true;
        } else if (arg == "-h" || arg == "--help") {
            parse.outcome = CliParse::Outcome::ShowUsage;
            return parse;
        } else {
            return fail(unknown_option_message(arg));
        }
    }
    return parse;
}

namespace {

// Length in bytes of the Unicode White_Space character starting at text[i], or 0.
size_t white_space_length(std::string_view text, size_t i) {
    const auto b = [&](size_t k) { return static_cast<uint8_t>(text[i + k]); };
    const size_t left = text.size() - i;
    if (b(0) == ' ' || (b(0) >= 0x09 && b(0) <= 0x0D)) return 1;
    if (left >= 2 && b(0) == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;
    if (left < 3) return 0;
    const uint32_t c = (uint32_t{b(0)} << 16) | (uint32_t{b(1)} << 8) | b(2);
    if (c == 0xE19A80) return 3;                  // U+1680
    if (c >= 0xE28080 && c <= 0xE2808A) return 3; // U+2000..U+200A
    if (c == 0xE280A8 || c == 0xE280A9) return 3; // U+2028, U+2029
    if (c == 0xE280AF || c == 0xE2819F) return 3; // U+202F, U+205F
    if (c == 0xE38080) return 3;                  // U+3000
    return 0;
}

std::optional<int32_t> parse_int32(std::string_view piece) {
    size_t i = 0;
    bool negative = false;
    if (!piece.empty() && (piece[0] == '+' || piece[0] == '-')) {
        negative = piece[0] == '-';
        i = 1;
    }
    if (i == piece.size()) return std::nullopt;
    int64_t value = 0;
    for (; i < piece.size(); ++i) {
        if (piece[i] < '0' || piece[i] > '9') return std::nullopt;
        value = value * 10 + (piece[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (negative) value = -value;
    if (value > INT32_MAX || value < INT32_MIN) return std::nullopt;
    return static_cast<int32_t>(value);
}

} // namespace

std::optional<ScreenRect> parse_region(std::string_view text) {
    int32_t numbers[4] = {};
    size_t count = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text[i] == ',') {
            ++i;
            continue;
        }
        if (size_t ws = white_space_length(text, i)) {
            i += ws;
            continue;
        }
        const size_t start = i;
        while (i < text.size() && text[i] != ',' && white_space_length(text, i) == 0) ++i;
        std::optional<int32_t> n = parse_int32(text.substr(start, i - start));
        if (!n || count == 4) return std::nullopt;
        numbers[count++] = *n;
    }
    if (count != 4 || numbers[2] <= 0 || numbers[3] <= 0) return std::nullopt;
    return ScreenRect{numbers[0], numbers[1], numbers[2], numbers[3]};
}

const std::array<std::string_view, 25>& usage_lines() {
    static const std::array<std::string_view, 25> lines = {
        "Vellumshot - lightweight Windows screenshot tool",
        "",
        "USAGE:",
        "  Vellumshot.exe <command> [options]",
        "",
        "COMMANDS:",
        "  screenshot     Capture the screen (or a region) to a file and/or clipboard",
        "  help           Show this help",
        "  version        Show version",
        "",
        "SCREENSHOT OPTIONS:",
        "  -o, --output <PATH>    Save to PATH (.png or .bmp). Default: "
        ".\\Vellumshot_<timestamp>.png",
        "  -r, --region <X,Y,W,H> Capture a region (screen pixels) instead of the full screen",
        "  -c, --clipboard        Copy the capture to the Windows clipboard",
        "  -q, --quiet            Suppress console output",
        "  -h, --help             Show this help",
        "",
        "EXAMPLES:",
        "  Vellumshot.exe screenshot",
        "  Vellumshot.exe screenshot -o shot.png",
        "  Vellumshot.exe screenshot -r 0,0,800,600 -o region.png",
        "  Vellumshot.exe screenshot --clipboard",
        "",
        "Run with no arguments to launch the tray application.",
        "Note: this is a GUI-subsystem exe; from a script use `start /wait` to wait for it.",
    };
    return lines;
}

std::string unknown_command_message(std::string_view lowered) {
    return "Unknown command: " + std::string(lowered);
}

std::string unknown_option_message(std::string_view argument) {
    return "Unknown option: " + std::string(argument);
}

std::string copied_message(int32_t width, int32_t height) {
    return "Copied " + std::to_string(width) + "x" + std::to_string(height) + " to clipboard.";
}

std::string saved_message(std::string_view display_path, int32_t width, int32_t height) {
    return "Saved " + std::string(display_path) + " (" + std::to_string(width) + "x" +
           std::to_string(height) + ").";
}

std::string failed_to_save_message(std::string_view display_path) {
    return "Failed to save " + std::string(display_path) + ".";
}
