#pragma once
#include "strings/strings.h"

// The language of the user's default locale (English when it cannot be read).
Language detect_language();
