#include "main/tray_app.h"

// The tray application is not part of this build yet: tray mode ends at once.
void run_tray_app() {}
