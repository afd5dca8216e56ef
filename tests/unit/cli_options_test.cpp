#include <gtest/gtest.h>

#include "main/cli/cli_options.h"

namespace {
CliParse parse(std::vector<std::string> args) { return parse_screenshot_options(args); }
const std::string REGION_MSG(MSG_REGION_INVALID);
} // namespace

TEST(CliCommands, NamesAndAliases) {
    EXPECT_EQ(lookup_command("screenshot"), CliCommand::Screenshot);
    EXPECT_EQ(lookup_command("shot"), CliCommand::Screenshot);
    EXPECT_EQ(lookup_command("capture"), CliCommand::Screenshot);
    EXPECT_EQ(lookup_command("version"), CliCommand::Version);
    EXPECT_EQ(lookup_command("--version"), CliCommand::Version);
    for (const char* help : {"help", "--help", "-h"})
        EXPECT_EQ(lookup_command(help), CliCommand::Help);
    for (const char* other : {"", "-v", "screenshots", "SHOT", "foo"})
        EXPECT_EQ(lookup_command(other), CliCommand::Unknown);
}

TEST(CliOptions, OptionsSetTheirFieldsAndLaterValuesWin) {
    const CliParse p = parse({"-o", "a.png", "--clipboard", "-r", "1,2,3,4", "--output", "b.bmp",
                              "-q", "--region", "5,6,7,8"});
    ASSERT_EQ(p.outcome, CliParse::Outcome::Capture);
    EXPECT_EQ(p.options.output_path, "b.bmp");
    EXPECT_EQ(p.options.region, (ScreenRect{5, 6, 7, 8}));
    EXPECT_TRUE(p.options.clipboard);
    EXPECT_TRUE(p.options.quiet);
    const CliParse none = parse({});
    EXPECT_EQ(none.outcome, CliParse::Outcome::Capture);
    EXPECT_FALSE(none.options.output_path || none.options.region || none.options.clipboard ||
                 none.options.quiet);
}

TEST(CliOptions, OutputValueIsTakenVerbatim) {
    const CliParse p = parse({"-o", "-c"});
    ASSERT_EQ(p.outcome, CliParse::Outcome::Capture);
    EXPECT_EQ(p.options.output_path, "-c");
    EXPECT_FALSE(p.options.clipboard);
}

TEST(CliOptions, FirstOffendingArgumentDecides) {
    EXPECT_EQ(parse({"-O", "x.png"}).error, "Unknown option: -O");
    const CliParse unknown_first = parse({"-x", "-h"});
    EXPECT_EQ(unknown_first.outcome, CliParse::Outcome::Error);
    EXPECT_EQ(unknown_first.error, "Unknown option: -x");
    EXPECT_EQ(parse({"-h", "-x"}).outcome, CliParse::Outcome::ShowUsage);
    EXPECT_EQ(parse({"--help"}).outcome, CliParse::Outcome::ShowUsage);
    EXPECT_EQ(parse({"-o"}).error, "--output requires a path argument.");
    EXPECT_EQ(parse({"-c", "--output"}).error, "--output requires a path argument.");
    EXPECT_EQ(parse({"-r"}).error, REGION_MSG);
    EXPECT_EQ(parse({"-r", "0,0,0,1", "-x"}).error, REGION_MSG);
    EXPECT_EQ(parse({"-cq"}).error, "Unknown option: -cq"); // no grouping
    EXPECT_EQ(parse({"--output=x.png"}).error, "Unknown option: --output=x.png");
}

TEST(CliRegion, AcceptedForms) {
    const ScreenRect r{0, 0, 800, 600};
    EXPECT_EQ(parse_region("0,0,800,600"), r);
    EXPECT_EQ(parse_region("0, 0, 800, 600"), r);
    EXPECT_EQ(parse_region("0 0 800 600"), r);
    EXPECT_EQ(parse_region("+0,-0,800,600"), r);
    EXPECT_EQ(parse_region(",,0,,0\t800\n600,,"), r);
    EXPECT_EQ(parse_region("0\xE3\x80\x80"
                           "0\xC2\xA0"
                           "800\xE2\x80\xAF"
                           "600"),
              r); // U+3000, U+00A0, U+202F
    EXPECT_EQ(parse_region("0\xC2\x85"
                           "0\xE1\x9A\x80"
                           "800\xE2\x80\xA8"
                           "600"),
              r); // U+0085, U+1680, U+2028
    EXPECT_EQ(parse_region("-100,-2147483648,2147483647,1"),
              (ScreenRect{-100, INT32_MIN, INT32_MAX, 1}));
}

TEST(CliRegion, RejectedForms) {
    for (const char* bad : {"0,0,800", "0,0,800,600,1", "0,0,0,600", "0,0,800,-1", "a,0,800,600",
                            "0,0,800,600x", "-,0,1,1", "0,0,99999999999,1", "0,0,2147483648,1",
                            "-2147483649,0,1,1", "", " , ", "0;0;1;1", "0,0,1,+", "0,0,1,1.0",
                            "0,0,1,\xEF\xBC\x91", "++1,0,1,1", "0,0,1,1\xE2\x80\x8B"})
        EXPECT_FALSE(parse_region(bad)) << bad;
}

TEST(CliTexts, UsageHasItsBlankLinesAndExactEnds) {
    const auto& lines = usage_lines();
    for (size_t blank : {1u, 4u, 9u, 16u, 22u}) EXPECT_EQ(lines[blank], "") << blank;
    EXPECT_EQ(lines[0], "Vellumshot - lightweight Windows screenshot tool");
    EXPECT_EQ(lines[11], "  -o, --output <PATH>    Save to PATH (.png or .bmp). Default: "
                         ".\\Vellumshot_<timestamp>.png");
    EXPECT_EQ(lines[24],
              "Note: this is a GUI-subsystem exe; from a script use `start /wait` to wait for it.");
}

TEST(CliTexts, MessagesFillTheirValues) {
    EXPECT_EQ(VERSION_LINE, "Vellumshot 1.0.0");
    EXPECT_EQ(unknown_command_message(""), "Unknown command: ");
    EXPECT_EQ(copied_message(1920, 1080), "Copied 1920x1080 to clipboard.");
    EXPECT_EQ(saved_message("C:\\work\\.\\a.png", 1920, 1080),
              "Saved C:\\work\\.\\a.png (1920x1080).");
    EXPECT_EQ(failed_to_save_message("C:\\x\\y.png"), "Failed to save C:\\x\\y.png.");
}
