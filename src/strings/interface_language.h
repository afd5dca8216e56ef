#pragma once
// The interface language the tray runs in (kept in its state, defined there), for the parts of the
// program that only show texts (the overlay's toolbar and save dialog) and need nothing else of the
// tray's state.
#include "strings/strings.h"

Language interface_language();
