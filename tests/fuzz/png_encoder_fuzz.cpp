// The PNG encoder over any width, height, pixels, level and chunk limit within a size
// bound: the file must always read back, through a strict reader of the container and
// libdeflate's decompressor, to the input's colours made opaque.
#include <string>
#include <vector>

#include "../common/png_read.h"
#include "capture/output/png_encoder.h"
#include "fuzz_input.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzInput in{data, size};
    const int32_t width = 1 + take<uint16_t>(in) % 300;
    const int32_t height = 1 + take<uint8_t>(in) % 64;
    const int level = 1 + take<uint8_t>(in) % 6; // the levels the writer is measured at
    const uint16_t chunk = take<uint16_t>(in);
    const size_t max_chunk = chunk == 0 ? PNG_MAX_CHUNK : chunk;
    PixelImage image{std::vector<uint8_t>(static_cast<size_t>(width) * height * 4), width, height};
    // The rest of the input, repeated, so short inputs still fill large images with runs
    // the compressor can match.
    for (size_t i = 0; i < image.pixels.size(); ++i)
        image.pixels[i] = in.size ? in.data[i % in.size] : static_cast<uint8_t>(i);

    const std::optional<PngFile> file = encode_png(image, level, max_chunk);
    FUZZ_CHECK(file.has_value());
    FUZZ_CHECK(file->size <= file->capacity);
    std::string error;
    const std::optional<ReadPng> png = read_png(file->bytes.get(), file->size, error);
    if (!png) std::fprintf(stderr, "unreadable: %s\n", error.c_str());
    FUZZ_CHECK(png.has_value());
    FUZZ_CHECK(png->width == static_cast<uint32_t>(width));
    FUZZ_CHECK(png->height == static_cast<uint32_t>(height));
    for (size_t i = 0; i < image.pixels.size(); i += 4) {
        FUZZ_CHECK(png->rgba[i] == image.pixels[i + 2]);
        FUZZ_CHECK(png->rgba[i + 1] == image.pixels[i + 1]);
        FUZZ_CHECK(png->rgba[i + 2] == image.pixels[i]);
        FUZZ_CHECK(png->rgba[i + 3] == 255);
    }
    return 0;
}
