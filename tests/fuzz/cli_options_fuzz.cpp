// Command-line arguments as a user or a script may pass them: the input is split at NUL
// bytes into arguments, the first one being the command.
#include <string>
#include <vector>

#include "fuzz_input.h"
#include "main/cli/cli_options.h"
#include "strings/utf.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<std::string> args;
    std::string current;
    for (size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            args.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    args.push_back(current);

    const std::string lowered = ascii_lower(args[0]);
    if (lookup_command(lowered) == CliCommand::Unknown)
        FUZZ_CHECK(unknown_command_message(lowered).size() > lowered.size());

    const std::vector<std::string> options(args.begin() + 1, args.end());
    const CliParse parse = parse_screenshot_options(options);
    FUZZ_CHECK((parse.outcome == CliParse::Outcome::Error) == !parse.error.empty());
    if (parse.options.region) {
        FUZZ_CHECK(parse.options.region->width > 0 && parse.options.region->height > 0);
    }
    for (const std::string& arg : args) {
        if (const std::optional<ScreenRect> region = parse_region(arg)) {
            FUZZ_CHECK(region->width > 0 && region->height > 0);
            // The four numbers written back plainly read as the same region.
            const std::string plain = std::to_string(region->x) + "," + std::to_string(region->y) +
                                      "," + std::to_string(region->width) + "," +
                                      std::to_string(region->height);
            FUZZ_CHECK(parse_region(plain) == region);
        }
    }
    return 0;
}
