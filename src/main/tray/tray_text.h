#pragma once
// Texts the tray composes from the string table and the version.
#include <string>

#include "strings/strings.h"

// The notification-area tip: the application's name and " v" with the version.
std::string tray_tip_text(Language language);
// The About box: name and version, description, licence, separated by blank lines.
std::string about_text(Language language);
