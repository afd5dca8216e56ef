#include "capture/image/png_writer_win.h"

#include <png.h>
#include <zlib.h>

#include <csetjmp>
#include <vector>

#include "capture/image/output_file_win.h"
#include "capture/image/pixel_convert.h"

namespace {

void write_to_file(png_structp png, png_bytep data, size_t size) {
    auto* file = static_cast<OutputFile*>(png_get_io_ptr(png));
    if (!write_all(file->handle, data, size)) png_error(png, "write failed");
}

void flush_nothing(png_structp) {}

// Runs the encoder; kept free of objects with destructors because libpng reports errors
// by longjmp back into it.
bool encode(png_structp png, png_infop info, OutputFile& file, const PixelImage& image,
            png_bytep row, size_t zbuffer_size) {
    if (setjmp(png_jmpbuf(png))) return false;
    png_set_write_fn(png, &file, write_to_file, flush_nothing);
    png_set_IHDR(png, info, static_cast<png_uint_32>(image.width),
                 static_cast<png_uint_32>(image.height), 8, PNG_COLOR_TYPE_RGBA, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_set_filter(png, PNG_FILTER_TYPE_BASE, PNG_FILTER_SUB);
    png_set_compression_level(png, Z_BEST_SPEED);
    // libpng emits an IDAT chunk each time its output buffer fills; one buffer that holds
    // the whole stream gives a single IDAT and a single write for it.
    png_set_compression_buffer_size(png, zbuffer_size);
    png_write_info(png, info);
    // Each row is converted just before it is encoded, into one buffer that stays in the
    // cache: no converted copy of the whole image is allocated, filled and read back.
    const size_t width = static_cast<size_t>(image.width);
    for (int32_t y = 0; y < image.height; ++y) {
        bgrx_to_rgba(image.pixels.data() + y * width * 4, row, width);
        png_write_row(png, row);
    }
    png_write_end(png, nullptr);
    return true;
}

} // namespace

bool write_png(std::string_view path, const PixelImage& image) {
    std::optional<OutputFile> file = create_output_file(path);
    if (!file) return false;

    const size_t stride = static_cast<size_t>(image.width) * 4;
    std::vector<uint8_t> row(stride);

    // Deflate's worst case for the filtered rows (zlib's compressBound), capped at the
    // largest chunk PNG allows.
    const size_t raw = (stride + 1) * static_cast<size_t>(image.height);
    const size_t bound = raw + (raw >> 12) + (raw >> 14) + (raw >> 25) + 13 + 64;
    const size_t zbuffer_size = bound < 0x7FFFFFFF ? bound : 0x7FFFFFFF;

    bool ok = false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (info) ok = encode(png, info, *file, image, row.data(), zbuffer_size);
    png_destroy_write_struct(png ? &png : nullptr, info ? &info : nullptr);
    return finish_output_file(*file, ok);
}
