#pragma once
// A real but plain PNG coder for platform-free tests and fuzz targets, where
// the platform's encoder is out of reach: 8-bit RGBA, no filtering, and zlib
// data in stored (uncompressed) blocks. Its decoder reads only what its
// encoder writes, and like the program's refuses a header of another size
// than the one expected before it allocates any pixels.

#include "core/base/result.h"
#include "core/document/scene.h"
#include "core/image/bgra_image.h"
#include "core/vexil/png.h"

#include <algorithm>
#include <cstdint>
#include <optional>
#include <random>
#include <span>
#include <vector>

namespace glimmerly::testing {

inline void put_u32(std::vector<std::uint8_t>& out, std::uint32_t v) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

inline std::uint32_t get_u32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

// A picture of seeded noise, alpha included: no run or pattern in it for a
// fault to hide behind.
inline BgraImage noise_image(std::uint32_t width, std::uint32_t height, std::uint32_t seed) {
    BgraImage image{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height};
    std::mt19937 random(seed);
    for (auto& byte : image.pixels) byte = static_cast<std::uint8_t>(random());
    return image;
}

inline Result<std::vector<std::uint8_t>> encode_stored_png(const BgraImage& image) {
    if (!is_valid_bgra_image(image)) return invalid_input("Invalid BGRA image dimensions or buffer length");
    std::vector<std::uint8_t> raw;
    raw.reserve(image.pixels.size() + image.height);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        raw.push_back(0);  // no filter
        const std::uint8_t* p = &image.pixels[std::size_t{y} * image.width * 4];
        for (std::uint32_t x = 0; x < image.width; ++x, p += 4) raw.insert(raw.end(), {p[2], p[1], p[0], p[3]});
    }
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::size_t pos = 0;
    do {
        const std::size_t n = std::min<std::size_t>(raw.size() - pos, 65535);
        zlib.push_back(pos + n == raw.size() ? 1 : 0);
        zlib.insert(zlib.end(), {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
                                 static_cast<std::uint8_t>(~n), static_cast<std::uint8_t>(~n >> 8)});
        zlib.insert(zlib.end(), raw.begin() + pos, raw.begin() + pos + n);
        pos += n;
    } while (pos < raw.size());
    std::uint32_t a = 1, b = 0;
    for (const std::uint8_t byte : raw) {
        a = (a + byte) % 65521;
        b = (b + a) % 65521;
    }
    put_u32(zlib, (b << 16) | a);

    std::vector<std::uint8_t> header;
    put_u32(header, image.width);
    put_u32(header, image.height);
    header.insert(header.end(), {8, 6, 0, 0, 0});
    std::vector<std::uint8_t> png(kPngSignature.begin(), kPngSignature.end());
    append_png_chunk(png, "IHDR", header);
    append_png_chunk(png, "IDAT", zlib);
    append_png_chunk(png, "IEND", {});
    return png;
}

inline Result<BgraImage> decode_stored_png(std::span<const std::uint8_t> png,
                                           std::optional<FrameSize> expected = std::nullopt) {
    PngChunkWalker walk(png);
    const auto header = walk.next();
    if (!header || header->type_name() != "IHDR" || header->data.size() != 13)
        return plain_failure("not a PNG of the test coder");
    const std::uint8_t* h = header->data.data();
    BgraImage image{{}, get_u32(h), get_u32(h + 4)};
    if (h[8] != 8 || h[9] != 6 || h[12] != 0 || image.width == 0 || image.height == 0 ||
        image.width > 16384 || image.height > 16384)
        return plain_failure("unsupported PNG");
    if (expected && (image.width != expected->width || image.height != expected->height))
        return invalid_input("PNG of another size than expected");
    std::vector<std::uint8_t> zlib;
    for (auto chunk = header; chunk; chunk = walk.next()) {
        if (!chunk->crc_matches()) return plain_failure("PNG chunk CRC");
        if (chunk->type_name() == "IDAT") zlib.insert(zlib.end(), chunk->data.begin(), chunk->data.end());
    }
    if (!walk.complete()) return plain_failure("PNG chunks cut short");
    const std::size_t row = std::size_t{image.width} * 4 + 1;
    std::vector<std::uint8_t> raw;
    std::size_t pos = 2;
    bool last = false;
    while (!last) {
        if (zlib.size() < pos + 5 || (zlib[pos] & 6) != 0) return plain_failure("not stored zlib data");
        last = zlib[pos] & 1;
        const std::size_t n = zlib[pos + 1] | (zlib[pos + 2] << 8);
        pos += 5;
        if (zlib.size() < pos + n) return plain_failure("zlib data cut short");
        raw.insert(raw.end(), zlib.begin() + pos, zlib.begin() + pos + n);
        pos += n;
    }
    if (raw.size() != row * image.height) return plain_failure("PNG pixel data of the wrong size");
    image.pixels.reserve(std::size_t{image.width} * image.height * 4);
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* p = &raw[y * row];
        if (*p++ != 0) return plain_failure("filtered PNG row");
        for (std::uint32_t x = 0; x < image.width; ++x, p += 4)
            image.pixels.insert(image.pixels.end(), {p[2], p[1], p[0], p[3]});
    }
    return image;
}

// A black PNG of any size in a few hundred kilobytes: one bit a pixel, its
// rows of zeros packed as a literal and back-references in fixed-Huffman
// deflate. A decoder that trusts the header would need width x height x 4
// bytes for it; the file itself is about 1/160 of a bit a pixel.
inline std::vector<std::uint8_t> blank_png(std::uint32_t width, std::uint32_t height) {
    std::vector<std::uint8_t> zlib = {0x78, 0x01};
    std::uint32_t held = 0;
    int held_bits = 0;
    const auto bits = [&](std::uint32_t value, int count) {
        held |= value << held_bits;
        held_bits += count;
        for (; held_bits >= 8; held_bits -= 8, held >>= 8) zlib.push_back(static_cast<std::uint8_t>(held));
    };
    // Huffman codes go most significant bit first.
    const auto code = [&](std::uint32_t value, int count) {
        std::uint32_t reversed = 0;
        for (int i = 0; i < count; ++i) reversed |= ((value >> i) & 1u) << (count - 1 - i);
        bits(reversed, count);
    };
    const std::uint64_t total = std::uint64_t{height} * (1 + (std::uint64_t{width} + 7) / 8);
    bits(1, 1);  // the last block
    bits(1, 2);  // fixed codes
    code(0x30, 8);  // a literal 0
    std::uint64_t left = total - 1;
    for (; left >= 258; left -= 258) {
        code(0xC5, 8);  // length 258 (symbol 285)
        code(0, 5);     // distance 1
    }
    for (; left > 0; --left) code(0x30, 8);
    code(0, 7);  // end of block
    if (held_bits > 0) zlib.push_back(static_cast<std::uint8_t>(held));
    put_u32(zlib, static_cast<std::uint32_t>((total % 65521) << 16 | 1));  // Adler-32 of zeros

    std::vector<std::uint8_t> header;
    put_u32(header, width);
    put_u32(header, height);
    header.insert(header.end(), {1, 0, 0, 0, 0});  // one bit of grey
    std::vector<std::uint8_t> png(kPngSignature.begin(), kPngSignature.end());
    append_png_chunk(png, "IHDR", header);
    append_png_chunk(png, "IDAT", zlib);
    append_png_chunk(png, "IEND", {});
    return png;
}

// decode_stored_png as the document reader takes a decoder.
inline Result<BgraImage> decode_stored_png_of(std::span<const std::uint8_t> png, FrameSize expected) {
    return decode_stored_png(png, expected);
}

}  // namespace glimmerly::testing
