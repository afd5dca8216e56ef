// What the tray writes from the string table: tip and About text.
#include <gtest/gtest.h>

#include <algorithm>

#include "main/tray/tray_text.h"

TEST(TrayText, TipIsTheNameAndVersionInBothLanguages) {
    EXPECT_EQ(tray_tip_text(Language::English), "Vellumshot v1.0.0");
    EXPECT_EQ(tray_tip_text(Language::Chinese), "Vellumshot v1.0.0");
}

TEST(TrayText, AboutHasNameDescriptionAndLicenceSeparatedByBlankLines) {
    const std::string en = about_text(Language::English);
    const std::string en_head =
        "Vellumshot v1.0.0\n\nLightweight Windows screenshot & annotation tool\n\n";
    ASSERT_EQ(en.substr(0, en_head.size()), en_head);
    EXPECT_EQ(en.substr(en_head.size()), about_license(Language::English));
    EXPECT_FALSE(about_license(Language::English).empty());

    const std::string zh = about_text(Language::Chinese);
    const std::string zh_head = "Vellumshot v1.0.0\n\n轻量级 Windows 截图标注工具\n\n";
    ASSERT_EQ(zh.substr(0, zh_head.size()), zh_head);
    EXPECT_EQ(zh.substr(zh_head.size()), about_license(Language::Chinese));
    EXPECT_EQ(std::count(zh.begin(), zh.end(), '\r'), 0); // single line feeds only
}
