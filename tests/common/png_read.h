#pragma once
// A strict reader of the PNG files the encoder makes, for the tests and the fuzz target:
// it checks the container itself (signature, chunk order, every CRC by a bitwise CRC-32 of
// its own) and undoes the Sub filter by the PNG rule, so nothing of the encoder's code
// judges the encoder. libdeflate's decompressor reads the zlib stream.
#include <libdeflate.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ReadPng {
    std::vector<std::string> chunks; // chunk types in file order
    uint32_t width = 0, height = 0;
    std::vector<uint8_t> rgba; // the decoded pixels, rows top to bottom
};

inline uint32_t bitwise_crc32(const uint8_t* data, size_t size) {
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

inline uint32_t read_u32(const uint8_t* at) {
    return (uint32_t{at[0]} << 24) | (uint32_t{at[1]} << 16) | (uint32_t{at[2]} << 8) | at[3];
}

// Absent, with the reason in `error`, when the file breaks any rule the writer promises.
inline std::optional<ReadPng> read_png(const uint8_t* data, size_t size, std::string& error) {
    static const uint8_t SIGNATURE[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    auto fail = [&](const char* why) {
        error = why;
        return std::optional<ReadPng>();
    };
    if (size < 8 || !std::equal(SIGNATURE, SIGNATURE + 8, data)) return fail("signature");
    ReadPng png;
    std::vector<uint8_t> stream;
    size_t at = 8;
    while (at < size) {
        if (size - at < 12) return fail("truncated chunk");
        const uint32_t length = read_u32(data + at);
        if (length > 0x7FFFFFFFu || size - at - 12 < length) return fail("chunk length");
        const std::string type(reinterpret_cast<const char*>(data + at + 4), 4);
        if (read_u32(data + at + 8 + length) != bitwise_crc32(data + at + 4, 4 + size_t{length}))
            return fail("chunk CRC");
        const uint8_t* body = data + at + 8;
        if (png.chunks.empty() != (type == "IHDR")) return fail("IHDR not first");
        if (type == "IHDR") {
            if (length != 13) return fail("IHDR length");
            png.width = read_u32(body);
            png.height = read_u32(body + 4);
            if (png.width == 0 || png.height == 0) return fail("IHDR size");
            // 8 bits, RGBA, compression 0, filter method 0, no interlace.
            if (body[8] != 8 || body[9] != 6 || body[10] || body[11] || body[12])
                return fail("IHDR fields");
        } else if (type == "IDAT") {
            if (png.chunks.back() != "IHDR" && png.chunks.back() != "IDAT")
                return fail("IDAT chunks not consecutive");
            stream.insert(stream.end(), body, body + length);
        } else if (type == "IEND") {
            if (length != 0 || at + 12 != size) return fail("IEND not last");
        } else {
            return fail("a chunk other than IHDR, IDAT and IEND");
        }
        png.chunks.push_back(type);
        at += 12 + size_t{length};
    }
    if (png.chunks.size() < 3 || png.chunks.back() != "IEND") return fail("no IEND");

    const size_t stride = size_t{png.width} * 4;
    std::vector<uint8_t> raw((stride + 1) * png.height);
    libdeflate_decompressor* inflater = libdeflate_alloc_decompressor();
    size_t in_used = 0;
    const libdeflate_result result = libdeflate_zlib_decompress_ex(
        inflater, stream.data(), stream.size(), raw.data(), raw.size(), &in_used, nullptr);
    libdeflate_free_decompressor(inflater);
    // Exactly the rows' bytes, in one zlib stream that fills the IDAT data.
    if (result != LIBDEFLATE_SUCCESS || in_used != stream.size()) return fail("zlib stream");

    png.rgba.resize(stride * png.height);
    for (size_t y = 0; y < png.height; ++y) {
        const uint8_t* line = raw.data() + y * (stride + 1);
        if (line[0] != 1) return fail("a row's filter is not Sub");
        uint8_t* out = png.rgba.data() + y * stride;
        for (size_t i = 0; i < stride; ++i)
            out[i] = static_cast<uint8_t>(line[1 + i] + (i >= 4 ? out[i - 4] : 0));
    }
    return png;
}
