#include "capture/output/png_writer_win.h"

#include "capture/output/output_file_win.h"
#include "capture/output/png_encoder.h"

#include <utility>

bool write_png(std::string_view path, PixelImage image) {
    std::optional<OutputFile> file = create_output_file(path);
    if (!file) return false;
    // The whole file is made in memory and written at once: one write, no buffering layer.
    const std::optional<PngFile> png = encode_png(std::move(image));
    const bool ok = png && write_all(file->handle, png->bytes.get(), png->size);
    return finish_output_file(*file, ok);
}
