#pragma once
// Output file names: the command line's time-stamped default name and the BMP-or-PNG
// choice by the name's ending.
#include <cstdint>
#include <string>
#include <string_view>

struct LocalTime {
    int32_t year, month, day, hour, minute, second;
};

// "Vellumshot_YYYYMMDD_HHMMSS.png" for the given local time.
std::string output_name_for(const LocalTime& time);

// The n-th candidate when the time-stamped name is taken: n = 1 is the name itself,
// n >= 2 inserts "_n" before the extension (Vellumshot_20261207_084904_2.png).
std::string numbered_output_name(std::string_view name, int n);

// True when the path ends in ".bmp" in any letter case; every other ending means PNG.
bool is_bmp_path(std::string_view path);

// The path of the file Windows makes for `path`: the last component loses its trailing
// dots and spaces (shot.bmp. makes shot.bmp). Unchanged for a \\?\ path, which Windows
// takes literally, and when nothing would be left of the component (it names a folder).
std::string created_file_path(std::string_view path);

// The \\?\ form of a full path (as GetFullPathNameW gives it) when it is MAX_PATH UTF-16
// units or longer, so that it opens past the legacy length limit; shorter paths and
// \\?\ paths come back unchanged.
std::string extended_length_path(std::string_view full_path);
