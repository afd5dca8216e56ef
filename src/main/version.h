#pragma once
// The one source of the program's version: the version command, the About box, the tray
// tip and the VERSIONINFO resource all read it.
#define VLS_VERSION_MAJOR 1
#define VLS_VERSION_MINOR 0
#define VLS_VERSION_PATCH 0
#define VLS_VERSION_TEXT "1.0.0"
#define VLS_PRODUCT_NAME "Vellumshot"
