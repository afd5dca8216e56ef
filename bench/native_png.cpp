// The native yardstick: Debian's own libpng and zlib encoding the same pixels with the
// same settings as the program's PNG writer (RGBA 8-bit, no interlace, Sub filter on every
// row, Z_BEST_SPEED, one IDAT), written straight to a file.
// Usage: native_png PIXELS.bgrx WIDTH HEIGHT RUNS OUT.png
// Prints "native_png bytes ms ms ...", one time a run.
#include <fcntl.h>
#include <png.h>
#include <unistd.h>
#include <zlib.h>

#include <chrono>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <utility>
#include <vector>

namespace {

void write_to_fd(png_structp png, png_bytep data, size_t size) {
    const int fd = *static_cast<int*>(png_get_io_ptr(png));
    while (size > 0) {
        const ssize_t n = write(fd, data, size);
        if (n <= 0) png_error(png, "write failed");
        data += n;
        size -= static_cast<size_t>(n);
    }
}

void flush_nothing(png_structp) {}

bool encode(png_structp png, png_infop info, int& fd, int width, int height, png_bytep* rows,
            size_t zbuffer_size) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &fd, write_to_fd, flush_nothing);
    png_set_IHDR(png, info, width, height, 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, Z_BEST_SPEED);
    png_set_compression_buffer_size(png, zbuffer_size);
    png_write_info(png, info);
    png_write_image(png, rows);
    png_write_end(png, nullptr);
    return true;
}

bool write_png(const char* path, int width, int height, png_bytep* rows) {
    const size_t raw = (static_cast<size_t>(width) * 4 + 1) * height;
    const size_t bound = raw + (raw >> 12) + (raw >> 14) + (raw >> 25) + 13 + 64;
    const size_t zbuffer_size = bound < 0x7FFFFFFF ? bound : 0x7FFFFFFF;
    int fd = open(path, O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    const bool ok = info && encode(png, info, fd, width, height, rows, zbuffer_size);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return close(fd) == 0 && ok;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 6) {
        std::fprintf(stderr, "usage: native_png PIXELS.bgrx WIDTH HEIGHT RUNS OUT.png\n");
        return 2;
    }
    const int width = std::atoi(argv[2]), height = std::atoi(argv[3]), runs = std::atoi(argv[4]);
    std::ifstream in(argv[1], std::ios::binary);
    std::vector<unsigned char> rgba{std::istreambuf_iterator<char>(in),
                                    std::istreambuf_iterator<char>()};
    if (rgba.size() != static_cast<size_t>(width) * height * 4) return 1;
    for (size_t i = 0; i < rgba.size(); i += 4) {
        std::swap(rgba[i], rgba[i + 2]);
        rgba[i + 3] = 255;
    }
    std::vector<png_bytep> rows(height);
    for (int r = 0; r < height; ++r) rows[r] = rgba.data() + static_cast<size_t>(r) * width * 4;

    if (!write_png(argv[5], width, height, rows.data())) return 1; // untimed warm-up
    std::vector<double> times;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        if (!write_png(argv[5], width, height, rows.data())) return 1;
        times.push_back(
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count());
    }
    std::ifstream out(argv[5], std::ios::binary | std::ios::ate);
    std::printf("native_png %lld", static_cast<long long>(out.tellg()));
    for (double t : times) std::printf(" %.3f", t);
    std::printf("\n");
    return 0;
}
