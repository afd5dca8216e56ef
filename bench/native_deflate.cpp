// The native libdeflate figure: the program's own PNG encoder (the same rows, filter and
// level), compiled natively against Debian's libdeflate, the file written straight out.
// It also measures what one encode adds to the process's peak resident memory.
// Usage: native_deflate PIXELS.bgrx WIDTH HEIGHT RUNS OUT.png
// Prints "native_deflate bytes ms ms ...", one time a run, and "peak_kib EXTRA ALLOCATED".
#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <utility>
#include <vector>

#include "capture/output/png_encoder.h"

namespace {

bool write_file(const char* path, const PngFile& file) {
    const int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    const uint8_t* at = file.bytes.get();
    size_t left = file.size;
    while (left > 0) {
        const ssize_t n = write(fd, at, left);
        if (n <= 0) break;
        at += n;
        left -= static_cast<size_t>(n);
    }
    return close(fd) == 0 && left == 0;
}

long peak_kib() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss;
}

// A copy of the image as the program hands it to the encoder, which consumes it: made by
// make_pixel_image, with its room for the filter bytes.
PixelImage fresh_copy(const PixelImage& image) {
    std::optional<PixelImage> copy = make_pixel_image(image.width, image.height);
    if (!copy) std::exit(1);
    std::memcpy(copy->pixels.data(), image.pixels.data(), image.pixels.size());
    return std::move(*copy);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: native_deflate PIXELS.bgrx WIDTH HEIGHT RUNS OUT.png\n");
        return 2;
    }
    PixelImage image{{}, std::atoi(argv[2]), std::atoi(argv[3])};
    const int runs = std::atoi(argv[4]);
    // Read at its exact size: a growing buffer would raise the peak before the encode.
    image.pixels.resize(static_cast<size_t>(image.width) * image.height * 4);
    FILE* in = std::fopen(argv[1], "rb");
    if (!in || std::fread(image.pixels.data(), 1, image.pixels.size(), in) != image.pixels.size())
        return 1;
    std::fclose(in);

    // The copy is made and resident; whatever the first encode adds to the peak is its own.
    PixelImage copy = fresh_copy(image);
    const long before = peak_kib();
    std::optional<PngFile> first = encode_png(std::move(copy));
    const long extra = peak_kib() - before;
    if (!first || !write_file(argv[5], *first)) return 1;
    const size_t allocated = png_filtered_size(image.width, image.height) - image.pixels.size() +
                             first->capacity; // the compressor's aside
    first.reset();

    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        copy = fresh_copy(image);
        const auto start = std::chrono::steady_clock::now();
        const std::optional<PngFile> file = encode_png(std::move(copy));
        if (!file || !write_file(argv[5], *file)) return 1;
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::ifstream out(argv[5], std::ios::binary | std::ios::ate);
    std::printf("native_deflate %lld", static_cast<long long>(out.tellg()));
    for (double t : times) std::printf(" %.3f", t);
    std::printf("\npeak_kib %ld %zu\n", extra, allocated / 1024);
    return 0;
}
