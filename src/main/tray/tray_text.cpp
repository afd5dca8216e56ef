#include "main/tray/tray_text.h"

#include "main/version.h"

std::string tray_tip_text(Language language) {
    return std::string(app_name(language)) + " v" VLS_VERSION_TEXT;
}

std::string about_text(Language language) {
    std::string text = tray_tip_text(language);
    text += "\n\n";
    text += about_description(language);
    text += "\n\n";
    text += about_license(language);
    return text;
}
