#pragma once
#include <string>

// output_name_for the current local time (GetLocalTime).
std::string default_output_name();
