// The platform-free PNG encoder: the filtered rows by hand, and whole files read back by a
// strict reader that checks every chunk and undoes the filter itself.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "../common/png_read.h"
#include "capture/output/png_encoder.h"

namespace {

// The image's pixels as the file must hold them: red, green, blue, 255.
std::vector<uint8_t> opaque_rgba(const PixelImage& image) {
    std::vector<uint8_t> rgba(image.pixels.size());
    for (size_t i = 0; i < rgba.size(); i += 4) {
        rgba[i] = image.pixels[i + 2];
        rgba[i + 1] = image.pixels[i + 1];
        rgba[i + 2] = image.pixels[i];
        rgba[i + 3] = 255;
    }
    return rgba;
}

PixelImage patterned(int32_t width, int32_t height) {
    PixelImage image{std::vector<uint8_t>(static_cast<size_t>(width) * height * 4), width, height};
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = static_cast<uint8_t>((i * 7 + i / 997) % 251);
    return image;
}

PixelImage noise(int32_t width, int32_t height) {
    PixelImage image{std::vector<uint8_t>(static_cast<size_t>(width) * height * 4), width, height};
    std::mt19937 random(19);
    for (uint8_t& byte : image.pixels) byte = static_cast<uint8_t>(random());
    return image;
}

ReadPng read_back(const PngFile& file) {
    std::string error;
    std::optional<ReadPng> png = read_png(file.bytes.get(), file.size, error);
    EXPECT_TRUE(png) << error;
    return png.value_or(ReadPng{});
}

} // namespace

TEST(PngFilter, ConvertsToOpaqueRgbaAndSubtractsTheLeftPixelBytewise) {
    // Two rows of two pixels; the second pixel's bytes are below the first's in some
    // channels, so the subtraction must wrap within each byte.
    const std::vector<uint8_t> bgrx = {0x10, 0x20, 0x30, 0x00, 0x15, 0x20, 0x2F, 0x7F,
                                       0xFF, 0x00, 0x01, 0xFF, 0x00, 0xFF, 0x02, 0x00};
    std::vector<uint8_t> out(png_filtered_size(2, 2), 0xEE);
    ASSERT_EQ(out.size(), 18u);
    filter_rows_sub(bgrx.data(), 2, 2, out.data());
    EXPECT_EQ(out, (std::vector<uint8_t>{1, 0x30, 0x20, 0x10, 0xFF, 0xFF, 0x00, 0x05, 0x00, //
                                         1, 0x01, 0x00, 0xFF, 0xFF, 0x01, 0xFF, 0x01, 0x00}));
}

TEST(PngFilter, InPlaceGivesTheSeparateFiltersBytes) {
    // Widths of one to three pixels, where a row moves by more than its own length over the
    // image, and an odd width of several 256-pixel pieces with an odd height. Noise leaves
    // no byte that a clobbered source byte could match by chance.
    for (const auto& [w, h] : {std::pair{1, 9}, {2, 7}, {3, 5}, {601, 7}}) {
        const PixelImage image = noise(w, h);
        std::vector<uint8_t> expected(png_filtered_size(w, h));
        filter_rows_sub(image.pixels.data(), w, h, expected.data());
        std::vector<uint8_t> buffer = image.pixels;
        buffer.resize(expected.size(), 0xEE);
        filter_rows_sub_in_place(buffer.data(), w, h);
        EXPECT_TRUE(buffer == expected) << w << "x" << h;
    }
}

TEST(PngEncoder, SmallAndOddSizesDecodeToTheirOpaquePixels) {
    for (const auto& [w, h] : {std::pair{1, 1}, {1, 2}, {3, 1}, {17, 5}, {1001, 3}}) {
        const PixelImage image = patterned(w, h);
        const std::optional<PngFile> file = encode_png(image);
        ASSERT_TRUE(file) << w << "x" << h;
        const ReadPng png = read_back(*file);
        EXPECT_EQ(png.chunks, (std::vector<std::string>{"IHDR", "IDAT", "IEND"}));
        EXPECT_EQ(png.width, static_cast<uint32_t>(w));
        EXPECT_EQ(png.height, static_cast<uint32_t>(h));
        EXPECT_TRUE(png.rgba == opaque_rgba(image)) << w << "x" << h;
    }
}

TEST(PngEncoder, EveryLevelGivesTheSamePixels) {
    const PixelImage image = patterned(64, 9);
    for (int level = 1; level <= 12; ++level) {
        const std::optional<PngFile> file = encode_png(image, level);
        ASSERT_TRUE(file) << level;
        EXPECT_TRUE(read_back(*file).rgba == opaque_rgba(image)) << level;
    }
}

TEST(PngEncoder, AStreamLongerThanAChunkIsSplitIntoConsecutiveIdatChunks) {
    const PixelImage image = noise(40, 30);
    const std::optional<PngFile> whole = encode_png(image);
    ASSERT_TRUE(whole);
    const size_t stream = whole->size - 8 - 25 - 12 - 12;
    // Chunk limits that split the stream unevenly, evenly, and not at all.
    for (const size_t limit : {size_t{1000}, stream / 3, stream}) {
        const std::optional<PngFile> file = encode_png(image, PNG_DEFLATE_LEVEL, limit);
        ASSERT_TRUE(file) << limit;
        const ReadPng png = read_back(*file);
        const size_t idats = (stream + limit - 1) / limit;
        EXPECT_EQ(png.chunks.size(), 2 + idats) << limit;
        EXPECT_EQ(file->size, whole->size + 12 * (idats - 1)) << limit;
        EXPECT_TRUE(png.rgba == opaque_rgba(image)) << limit;
    }
}

TEST(PngEncoder, TheCompressedBufferGrowsToTheBoundOnlyForIncompressiblePixels) {
    // Noise hardly compresses: the first, smaller buffer is too short and the bound, more
    // than the rows' own size, is taken. A screen-like picture fits the first one.
    const PixelImage hard = noise(300, 200);
    const std::optional<PngFile> hard_file = encode_png(hard);
    ASSERT_TRUE(hard_file);
    EXPECT_GT(hard_file->capacity, png_filtered_size(300, 200));
    EXPECT_TRUE(read_back(*hard_file).rgba == opaque_rgba(hard));

    const PixelImage easy = patterned(300, 200);
    const std::optional<PngFile> easy_file = encode_png(easy);
    ASSERT_TRUE(easy_file);
    EXPECT_LT(easy_file->capacity, png_filtered_size(300, 200) * 6 / 10);
    EXPECT_TRUE(read_back(*easy_file).rgba == opaque_rgba(easy));
}

TEST(PngEncoder, RefusesAnEmptyImageOrPixelsShorterThanItsSize) {
    EXPECT_FALSE(encode_png(PixelImage{{}, 0, 0}));
    EXPECT_FALSE(encode_png(PixelImage{std::vector<uint8_t>(16), 2, -2}));
    EXPECT_FALSE(encode_png(PixelImage{std::vector<uint8_t>(16), -2, 2}));
    EXPECT_FALSE(encode_png(PixelImage{std::vector<uint8_t>(15), 2, 2}));
    EXPECT_TRUE(encode_png(PixelImage{std::vector<uint8_t>(16), 2, 2}));
}
