#include <gtest/gtest.h>

#include "main/output_naming.h"

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
