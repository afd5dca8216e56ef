#include <gtest/gtest.h>

#include <utility>

#include "main/cli/output_naming.h"

TEST(OutputNaming, DefaultNameIsZeroPaddedLocalTime) {
    EXPECT_EQ(output_name_for({2026, 12, 7, 8, 49, 4}), "Vellumshot_20261207_084904.png");
    EXPECT_EQ(output_name_for({2027, 1, 1, 9, 5, 3}), "Vellumshot_20270101_090503.png");
    EXPECT_EQ(output_name_for({999, 1, 1, 0, 0, 0}), "Vellumshot_09990101_000000.png");
    EXPECT_EQ(output_name_for({2026, 12, 31, 23, 59, 59}), "Vellumshot_20261231_235959.png");
}

TEST(OutputNaming, TakenNamesAreNumberedBeforeTheExtension) {
    const std::string base = "Vellumshot_20261207_084904.png";
    EXPECT_EQ(numbered_output_name(base, 1), base);
    EXPECT_EQ(numbered_output_name(base, 2), "Vellumshot_20261207_084904_2.png");
    EXPECT_EQ(numbered_output_name(base, 13), "Vellumshot_20261207_084904_13.png");
    EXPECT_EQ(numbered_output_name("noext", 3), "noext_3");
}

TEST(OutputNaming, BmpIsChosenOnlyByTheEnding) {
    for (const char* bmp : {"shot.bmp", "SHOT.BMP", "dir.png\\shot.Bmp", ".bmp", "C:\\a b\\x.bMp"})
        EXPECT_TRUE(is_bmp_path(bmp)) << bmp;
    for (const char* png : {"shot.png", "shot", "shot.bmp.png", "shot.jpg", "bmp", "shot.bmp ",
                            "shot.bm", "", "x.\xEF\xBC\xA2MP"})
        EXPECT_FALSE(is_bmp_path(png)) << png;
}

TEST(OutputNaming, TheCreatedNameLosesTrailingDotsAndSpacesOfItsLastComponent) {
    const std::pair<const char*, const char*> cases[] = {
        {"shot.bmp.", "shot.bmp"},
        {"shot.bmp. . ", "shot.bmp"},
        {"shot.png  ", "shot.png"},
        {"dir.\\x.bmp..", "dir.\\x.bmp"},
        {"C:\\a b\\x. y.png.", "C:\\a b\\x. y.png"},
        {"sub/shot.bmp.", "sub/shot.bmp"},
        {"C:shot.bmp.", "C:shot.bmp"},
        {"shot.bmp", "shot.bmp"},
        {".hidden", ".hidden"},
        // Nothing left of the component: it names a folder, and stays as typed.
        {"..", ".."},
        {"sub\\...", "sub\\..."},
        {"C: .", "C: ."},
        {"sub\\", "sub\\"},
        {"", ""},
        // Windows takes \\?\ paths literally.
        {"\\\\?\\C:\\x\\shot.bmp.", "\\\\?\\C:\\x\\shot.bmp."},
    };
    for (const auto& [typed, created] : cases)
        EXPECT_EQ(created_file_path(typed), created) << typed;
    EXPECT_TRUE(is_bmp_path(created_file_path("shot.bmp.")));
}

TEST(OutputNaming, FullPathsOfMaxPathUnitsOrMoreTakeTheExtendedForm) {
    const std::string dir = "C:\\" + std::string(246, 'd') + "\\";
    const std::string fits = dir + "12345.png"; // 259 units: MAX_PATH with its NUL
    ASSERT_EQ(fits.size(), 259u);
    EXPECT_EQ(extended_length_path(fits), fits);
    EXPECT_EQ(extended_length_path(dir + "123456.png"), "\\\\?\\" + dir + "123456.png");
    EXPECT_EQ(extended_length_path("\\\\server\\share\\" + std::string(260, 'u')),
              "\\\\?\\UNC\\server\\share\\" + std::string(260, 'u'));
    EXPECT_EQ(extended_length_path("\\\\.\\C:\\" + std::string(260, 'v')),
              "\\\\?\\C:\\" + std::string(260, 'v'));
    const std::string literal = "\\\\?\\C:\\" + std::string(300, 'w');
    EXPECT_EQ(extended_length_path(literal), literal);
    // Counted in UTF-16 units, not bytes: 200 three-byte characters are 200 units.
    std::string wide = "C:\\";
    for (int i = 0; i < 200; ++i) wide += "\xE4\xB8\xAD";
    EXPECT_EQ(extended_length_path(wide), wide);
}
