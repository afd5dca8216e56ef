#include "capture/output/bmp_writer_win.h"

#include "capture/image/pixel_convert.h"
#include "capture/output/bmp_layout.h"
#include "capture/output/output_file_win.h"

#include <array>
#include <cstdint>
#include <cstring>
#include <vector>

bool write_bmp(std::string_view path, const PixelImage& image) {
    std::optional<OutputFile> file = create_output_file(path);
    if (!file) return false;
    // Straight to the file, no user-space buffer for the pixels: one write the header, as
    // the unit tests check its bytes, then one a row.
    const std::array<uint8_t, BMP_HEADER_SIZE> header = bmp_header_bytes(image.width, image.height);
    bool ok = write_all(file->handle, header.data(), header.size());
    const size_t stride = static_cast<size_t>(image.width) * 4;
    // Each row goes through an opaque copy: readers that take the fourth byte as alpha
    // would show GDI's zeros as holes.
    std::vector<uint32_t> opaque(static_cast<size_t>(image.width));
    for (int32_t row = image.height - 1; ok && row >= 0; --row) {
        std::memcpy(opaque.data(), image.pixels.data() + row * stride, stride);
        set_opaque_alpha(opaque.data(), opaque.size());
        ok = write_all(file->handle, opaque.data(), stride);
    }
    return finish_output_file(*file, ok);
}
