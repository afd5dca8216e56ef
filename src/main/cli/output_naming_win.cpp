#include <windows.h>

#include "main/cli/output_naming_win.h"

#include "main/cli/output_naming.h"

std::string default_output_name() {
    SYSTEMTIME now;
    GetLocalTime(&now);
    return output_name_for({now.wYear, now.wMonth, now.wDay, now.wHour, now.wMinute, now.wSecond});
}
