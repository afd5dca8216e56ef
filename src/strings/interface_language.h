#pragma once
// The language the interface shows, chosen at start by the tray and changed from its menu.
// It lives here, not in the tray's state, so that the parts that only show texts (the
// overlay's toolbar and save dialog) need nothing of the tray. GUI thread only.
#include "strings/strings.h"

Language interface_language();
void set_interface_language(Language language);
