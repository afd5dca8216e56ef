#include "capture/output/png_encoder.h"

#include <libdeflate.h>

#include <cstring>
#include <new>

namespace {

constexpr uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
constexpr size_t IHDR_CHUNK = 12 + 13;
// Before the zlib stream: signature, IHDR, the first IDAT's length and type.
constexpr size_t HEAD = sizeof SIGNATURE + IHDR_CHUNK + 8;
// After it: the last IDAT's CRC and IEND.
constexpr size_t TAIL = 4 + 12;

void put_u32(uint8_t* at, uint32_t value) {
    at[0] = static_cast<uint8_t>(value >> 24);
    at[1] = static_cast<uint8_t>(value >> 16);
    at[2] = static_cast<uint8_t>(value >> 8);
    at[3] = static_cast<uint8_t>(value);
}

// A chunk whose body already sits 8 bytes after `at`: length and type before it, the CRC
// of type and body after it. Returns the end of the chunk.
uint8_t* frame_chunk(uint8_t* at, const char (&type)[5], size_t length) {
    put_u32(at, static_cast<uint32_t>(length));
    std::memcpy(at + 4, type, 4);
    put_u32(at + 8 + length, libdeflate_crc32(0, at + 4, 4 + length));
    return at + 12 + length;
}

uint8_t* put_chunk(uint8_t* at, const char (&type)[5], const uint8_t* body, size_t length) {
    if (length > 0) std::memcpy(at + 8, body, length);
    return frame_chunk(at, type, length);
}

uint8_t* put_head(uint8_t* at, int32_t width, int32_t height) {
    std::memcpy(at, SIGNATURE, sizeof SIGNATURE);
    uint8_t ihdr[13] = {};
    put_u32(ihdr, static_cast<uint32_t>(width));
    put_u32(ihdr + 4, static_cast<uint32_t>(height));
    ihdr[8] = 8; // bits per channel
    ihdr[9] = 6; // truecolour with alpha; compression, filter method and interlace stay 0
    return put_chunk(at + sizeof SIGNATURE, "IHDR", ihdr, sizeof ihdr);
}

// Subtracts each byte of `b` from the same byte of `a`, modulo 256, without borrows
// crossing bytes.
uint32_t sub_bytes(uint32_t a, uint32_t b) {
    constexpr uint32_t HIGH = 0x80808080u;
    return ((a | HIGH) - (b & ~HIGH)) ^ ((a ^ ~b) & HIGH);
}

uint32_t to_rgba(const uint8_t* bgrx) {
    uint32_t v;
    std::memcpy(&v, bgrx, 4);
    return 0xFF000000u | ((v & 0xFFu) << 16) | (v & 0xFF00u) | ((v >> 16) & 0xFFu);
}

// The Sub-filtered RGBA of pixels [first, end) of the row at `in`, pixel `first` at `out`.
// Each pixel is converted afresh rather than carried over from the last step, so the loop
// has no dependence between steps and the compiler vectorises it.
void filter_pixels(const uint8_t* in, size_t first, size_t end, uint8_t* out) {
    size_t x = first;
    if (x == 0) {
        const uint32_t v = to_rgba(in);
        std::memcpy(out, &v, 4);
        x = 1;
    }
    for (; x < end; ++x) {
        const uint32_t d = sub_bytes(to_rgba(in + 4 * x), to_rgba(in + 4 * x - 4));
        std::memcpy(out + 4 * (x - first), &d, 4);
    }
}

struct Compressor {
    libdeflate_compressor* handle;
    ~Compressor() { libdeflate_free_compressor(handle); }
};

// Compresses `raw` into a buffer that leaves HEAD bytes before the stream and TAIL after.
// It is first sized for a stream of a quarter of the filtered bytes, which screenshots stay
// well under (about a tenth); only a picture that compresses worse pays for a second pass
// at the bound. The buffer is left uninitialised: only the pages the stream fills are
// ever touched.
std::optional<PngFile> compress_rows(const uint8_t* raw, size_t raw_size, int level) {
    Compressor compressor{libdeflate_alloc_compressor(level)};
    if (!compressor.handle) return std::nullopt;
    PngFile file;
    file.capacity = HEAD + raw_size / 4 + 64 + TAIL;
    file.bytes.reset(new uint8_t[file.capacity]);
    size_t stream = libdeflate_zlib_compress(compressor.handle, raw, raw_size, &file.bytes[HEAD],
                                             file.capacity - HEAD - TAIL);
    if (stream == 0) {
        file.bytes.reset();
        file.capacity = HEAD + libdeflate_zlib_compress_bound(compressor.handle, raw_size) + TAIL;
        file.bytes.reset(new uint8_t[file.capacity]);
        stream = libdeflate_zlib_compress(compressor.handle, raw, raw_size, &file.bytes[HEAD],
                                          file.capacity - HEAD - TAIL);
        if (stream == 0) return std::nullopt;
    }
    file.size = stream; // the stream's length until the file is laid out
    return file;
}

// Lays the stream out as IDAT chunks of at most `max_chunk` bytes. One chunk, the case of
// any display-sized image, is framed in place; more are copied into a larger buffer.
void lay_out(PngFile& file, int32_t width, int32_t height, size_t max_chunk) {
    const size_t stream = file.size;
    const size_t chunks = stream / max_chunk + (stream % max_chunk != 0);
    if (chunks <= 1) {
        put_head(file.bytes.get(), width, height);
        uint8_t* end = frame_chunk(&file.bytes[HEAD - 8], "IDAT", stream);
        end = put_chunk(end, "IEND", nullptr, 0);
        file.size = static_cast<size_t>(end - file.bytes.get());
        return;
    }
    PngFile split;
    split.capacity = HEAD - 8 + chunks * 12 + stream + 12;
    split.bytes.reset(new uint8_t[split.capacity]);
    uint8_t* end = put_head(split.bytes.get(), width, height);
    for (size_t at = 0; at < stream; at += max_chunk) {
        const size_t length = stream - at < max_chunk ? stream - at : max_chunk;
        end = put_chunk(end, "IDAT", &file.bytes[HEAD + at], length);
    }
    end = put_chunk(end, "IEND", nullptr, 0);
    split.size = static_cast<size_t>(end - split.bytes.get());
    file = std::move(split);
}

} // namespace

size_t png_filtered_size(int32_t width, int32_t height) {
    return (static_cast<size_t>(width) * 4 + 1) * static_cast<size_t>(height);
}

void filter_rows_sub(const uint8_t* bgrx, int32_t width, int32_t height, uint8_t* out) {
    const size_t pixels = static_cast<size_t>(width);
    for (int32_t y = 0; y < height; ++y) {
        uint8_t* row = out + static_cast<size_t>(y) * (pixels * 4 + 1);
        row[0] = 1; // Sub
        filter_pixels(bgrx + static_cast<size_t>(y) * pixels * 4, 0, pixels, row + 1);
    }
}

void filter_rows_sub_in_place(uint8_t* buffer, int32_t width, int32_t height) {
    // Each filtered row is one byte longer than its source, so row y moves y + 1 bytes
    // further on. Taken from the last row and, within a row, from the last pixel, every
    // byte written lies on source bytes already read: rows below were done before, and a
    // piece of a row is converted into `piece` before it is stored over its own source.
    constexpr size_t PIECE = 256;
    const size_t pixels = static_cast<size_t>(width);
    for (int32_t y = height - 1; y >= 0; --y) {
        const uint8_t* in = buffer + static_cast<size_t>(y) * pixels * 4;
        uint8_t* row = buffer + static_cast<size_t>(y) * (pixels * 4 + 1);
        for (size_t end = pixels; end > 0;) {
            const size_t first = end > PIECE ? end - PIECE : 0;
            uint8_t piece[PIECE * 4];
            filter_pixels(in, first, end, piece);
            std::memcpy(row + 1 + first * 4, piece, (end - first) * 4);
            end = first;
        }
        row[0] = 1; // Sub; last, as it lies on a source byte of this row or a later one
    }
}

std::optional<PngFile> encode_png(PixelImage image, int level, size_t max_chunk) {
    if (image.width <= 0 || image.height <= 0 || max_chunk == 0) return std::nullopt;
    if (max_chunk > PNG_MAX_CHUNK) max_chunk = PNG_MAX_CHUNK;
    const size_t stride = static_cast<size_t>(image.width) * 4;
    if (image.pixels.size() / stride < static_cast<size_t>(image.height)) return std::nullopt;
    try {
        const size_t raw_size = png_filtered_size(image.width, image.height);
        // Within the room make_pixel_image reserved this neither moves nor copies the rows.
        if (image.pixels.size() < raw_size) image.pixels.resize(raw_size);
        filter_rows_sub_in_place(image.pixels.data(), image.width, image.height);
        std::optional<PngFile> file = compress_rows(image.pixels.data(), raw_size, level);
        std::vector<uint8_t>().swap(image.pixels); // freed before the file is laid out
        if (file) lay_out(*file, image.width, image.height, max_chunk);
        return file;
    } catch (const std::bad_alloc&) {
        // A picture too large for the memory left is a failed save, not the end of the tray.
        return std::nullopt;
    }
}
