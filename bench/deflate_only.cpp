// zlib alone on the PNG writer's data: the rows of the grab as RGBA, Sub-filtered, deflated
// with libpng's settings for them (level 1, 32K window, memLevel 8, Z_FILTERED) into one
// buffer. Built natively and for Windows over each zlib, it shows which zlib is slower.
// Usage: deflate_only NAME PIXELS.bgrx WIDTH HEIGHT RUNS
// Prints "NAME bytes ms ms ...", one time a run.
#include <zlib.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

int main(int argc, char** argv) {
    if (argc != 6) return 2;
    const size_t width = std::strtoul(argv[3], nullptr, 10);
    const size_t height = std::strtoul(argv[4], nullptr, 10);
    const int runs = std::atoi(argv[5]);
    std::vector<unsigned char> bgrx(width * height * 4);
    FILE* in = std::fopen(argv[2], "rb");
    if (!in || std::fread(bgrx.data(), 1, bgrx.size(), in) != bgrx.size()) return 1;
    std::fclose(in);

    const size_t stride = width * 4;
    std::vector<unsigned char> filtered;
    filtered.reserve((stride + 1) * height);
    for (size_t y = 0; y < height; ++y) {
        const unsigned char* row = bgrx.data() + y * stride;
        filtered.push_back(1); // Sub
        for (size_t i = 0; i < stride; ++i) {
            auto value = [&](size_t at) -> unsigned char {
                const size_t c = at % 4, pixel = at - c;
                return c == 3 ? 255 : row[pixel + 2 - c]; // BGRX to RGBA
            };
            filtered.push_back(static_cast<unsigned char>(value(i) - (i >= 4 ? value(i - 4) : 0)));
        }
    }

    std::vector<unsigned char> out(deflateBound(nullptr, static_cast<uLong>(filtered.size())));
    std::vector<double> times;
    size_t bytes = 0;
    for (int run = 0; run <= runs; ++run) {
        const auto start = std::chrono::steady_clock::now();
        z_stream z{};
        if (deflateInit2(&z, 1, Z_DEFLATED, 15, 8, Z_FILTERED) != Z_OK) return 1;
        z.next_in = filtered.data();
        z.avail_in = static_cast<uInt>(filtered.size());
        z.next_out = out.data();
        z.avail_out = static_cast<uInt>(out.size());
        const int result = deflate(&z, Z_FINISH);
        bytes = z.total_out;
        deflateEnd(&z);
        if (result != Z_STREAM_END) return 1;
        const double ms =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        if (run > 0) times.push_back(ms); // the first run is a warm-up
    }
    std::printf("%s %zu", argv[1], bytes);
    for (double t : times) std::printf(" %.3f", t);
    std::printf("\n");
    return 0;
}
