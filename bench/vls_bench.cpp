// Times the command line's building blocks inside one process under Wine: the screen
// grab, the PNG and BMP writers, the PNG writer's row filtering, libdeflate's compression
// of the filtered rows alone, and the PNG encoder at libdeflate's levels 1 to 6.
// Usage: vls_bench RUNS    (files land in the current directory)
// Prints one line a measurement, "name bytes ms ms ..." (bytes -1 when it makes no file),
// and leaves the last
// grab in pixels.bgrx so the native yardstick encodes exactly the same pixels.
#include <windows.h>

#include <libdeflate.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "capture/image/screen_grab_win.h"
#include "capture/output/bmp_writer_win.h"
#include "capture/output/png_encoder.h"
#include "capture/output/png_writer_win.h"

namespace {

double now_ms() {
    static LARGE_INTEGER frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return f;
    }();
    LARGE_INTEGER count;
    QueryPerformanceCounter(&count);
    return 1000.0 * static_cast<double>(count.QuadPart) / static_cast<double>(frequency.QuadPart);
}

long long file_size(const char* path) {
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!GetFileAttributesExA(path, GetFileExInfoStandard, &data)) return -1;
    return (static_cast<long long>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

void report(const char* name, const std::vector<double>& times, long long bytes = -1) {
    std::printf("%s %lld", name, bytes);
    for (double t : times) std::printf(" %.3f", t);
    std::printf("\n");
}

// Times `runs` calls of `step` after one untimed call, so the figures are the steady
// state; the cold first call is what the whole-process timings show.
template <typename Step>
std::vector<double> time_runs(int runs, Step step) {
    step();
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const double start = now_ms();
        step();
        times.push_back(now_ms() - start);
    }
    return times;
}

// A copy of the grab as the program would hand it to the PNG writer: made by
// make_pixel_image, with its room for the filter bytes. Made outside the timings.
PixelImage fresh_copy(const PixelImage& image) {
    std::optional<PixelImage> copy = make_pixel_image(image.width, image.height);
    if (!copy) std::exit(1);
    std::memcpy(copy->pixels.data(), image.pixels.data(), image.pixels.size());
    return std::move(*copy);
}

// Times `runs` calls of `step` on a fresh copy of the image each, after one untimed call.
template <typename Step>
std::vector<double> time_consuming_runs(int runs, const PixelImage& image, Step step) {
    std::vector<double> times;
    for (int i = 0; i <= runs; ++i) {
        PixelImage copy = fresh_copy(image);
        const double start = now_ms();
        step(std::move(copy));
        if (i > 0) times.push_back(now_ms() - start);
    }
    return times;
}

} // namespace

int main(int argc, char** argv) {
    const int runs = argc > 1 ? std::atoi(argv[1]) : 10;
    std::optional<PixelImage> image;
    report("capture_screen", time_runs(runs, [&] { image = capture_screen(std::nullopt); }));
    if (!image) return 1;

    // The sizes are read after the runs, not as arguments beside them: argument order is
    // unspecified.
    bool ok = true;
    // The writer consumes its image, as the command line and the overlay's Save hand theirs
    // over.
    std::vector<double> png = time_consuming_runs(
        runs, *image, [&](PixelImage copy) { ok = write_png("bench.png", std::move(copy)) && ok; });
    report("write_png", png, file_size("bench.png"));
    std::vector<double> bmp = time_runs(runs, [&] { ok = write_bmp("bench.bmp", *image) && ok; });
    report("write_bmp", bmp, file_size("bench.bmp"));

    std::vector<uint8_t> filtered(png_filtered_size(image->width, image->height));
    report("filter_rows_sub", time_runs(runs, [&] {
               filter_rows_sub(image->pixels.data(), image->width, image->height, filtered.data());
           }));

    // libdeflate alone on the filtered rows, into a buffer already touched: what the encoder
    // adds beyond this is its own.
    {
        libdeflate_compressor* compressor = libdeflate_alloc_compressor(PNG_DEFLATE_LEVEL);
        if (!compressor) return 1;
        const size_t bound = libdeflate_zlib_compress_bound(compressor, filtered.size());
        std::vector<uint8_t> stream(bound);
        size_t stream_size = 0;
        report("deflate_only", time_runs(runs, [&] {
                   stream_size = libdeflate_zlib_compress(compressor, filtered.data(),
                                                          filtered.size(), stream.data(), bound);
               }));
        libdeflate_free_compressor(compressor);
        ok = stream_size > 0 && ok;
    }

    // The levels in turn within each run, so a busy spell on the machine falls on all.
    constexpr int LEVELS = 6;
    std::vector<double> level_times[LEVELS];
    long long level_bytes[LEVELS] = {};
    for (int run = 0; run <= runs; ++run) {
        for (int level = 1; level <= LEVELS; ++level) {
            PixelImage copy = fresh_copy(*image);
            const double start = now_ms();
            const std::optional<PngFile> file = encode_png(std::move(copy), level);
            const double elapsed = now_ms() - start;
            ok = file.has_value() && ok;
            level_bytes[level - 1] = file ? static_cast<long long>(file->size) : -1;
            if (run > 0) level_times[level - 1].push_back(elapsed); // run 0 warms up
        }
    }
    for (int level = 1; level <= LEVELS; ++level) {
        const std::string name = "level_" + std::to_string(level);
        report(name.c_str(), level_times[level - 1], level_bytes[level - 1]);
    }

    FILE* raw = std::fopen("pixels.bgrx", "wb");
    ok = raw &&
         std::fwrite(image->pixels.data(), 1, image->pixels.size(), raw) == image->pixels.size() &&
         ok;
    if (raw) std::fclose(raw);
    std::printf("size %d %d\n", image->width, image->height);
    return ok ? 0 : 1;
}
