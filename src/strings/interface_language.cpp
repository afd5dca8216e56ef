#include "strings/interface_language.h"

namespace {

Language current = Language::Chinese; // until detect_language's answer is set at start

} // namespace

Language interface_language() { return current; }

void set_interface_language(Language language) { current = language; }
