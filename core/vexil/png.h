#pragma once
// Just enough of the PNG file structure to carry private data in a chunk of
// its own: the signature, the chunk layout (length, type, data, CRC, all
// integers big-endian) and the chunk CRC. Pixels are never touched here.

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

namespace glimmerly {

inline constexpr std::array<std::uint8_t, 8> kPngSignature = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
// A chunk's data length is a 31-bit number.
inline constexpr std::uint32_t kMaxPngChunkData = 0x7FFFFFFF;

// CRC-32 as PNG uses it (reflected polynomial 0xEDB88320, all ones in and
// out), continued from `crc` over `bytes`; start with 0.
std::uint32_t png_crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc = 0);

struct PngChunk {
    std::size_t offset = 0;  // of its length field in the file
    std::array<char, 4> type{};
    std::span<const std::uint8_t> data;
    std::uint32_t stored_crc = 0;

    std::string_view type_name() const { return {type.data(), type.size()}; }
    // The whole chunk: length, type, data and CRC.
    std::size_t size() const { return 12 + data.size(); }
    // The CRC over type and data matches the stored one.
    bool crc_matches() const;
};

bool has_png_signature(std::span<const std::uint8_t> bytes);

// The chunks from after the signature up to and including the first "IEND";
// none when a chunk runs past the end, a length passes the 31-bit limit, or
// no "IEND" comes. The file must begin with the signature.
std::optional<std::vector<PngChunk>> walk_png_chunks(std::span<const std::uint8_t> bytes);

// Appends a whole chunk of the type and data, with its CRC.
void append_png_chunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data);

}  // namespace glimmerly
