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

// A chunk as a position in the file it was walked from; nothing is copied.
struct PngChunk {
    std::size_t offset = 0;  // of its length field in the file
    std::array<char, 4> type{};
    std::span<const std::uint8_t> data;  // followed in the file by the stored CRC

    std::string_view type_name() const { return {type.data(), type.size()}; }
    // The whole chunk: length, type, data and CRC.
    std::size_t size() const { return 12 + data.size(); }
    // The CRC over type and data matches the stored one.
    bool crc_matches() const;
};

bool has_png_signature(std::span<const std::uint8_t> bytes);

// The chunks from after the signature up to and including the first "IEND",
// handed out one at a time and never kept: a file can hold millions of empty
// chunks, and a list of them would need several times the file's size.
class PngChunkWalker {
public:
    explicit PngChunkWalker(std::span<const std::uint8_t> bytes);

    // The next chunk; none after "IEND", and none at a fault: the file does
    // not begin with the signature, a chunk runs past the end or its length
    // passes the 31-bit limit, or no "IEND" comes.
    std::optional<PngChunk> next();
    // The walk reached "IEND" with every chunk whole.
    bool complete() const { return state_ == State::Complete; }

private:
    enum class State : std::uint8_t { Walking, Complete, Faulty };

    std::span<const std::uint8_t> bytes_;
    std::size_t pos_;
    State state_;
};

// The width and height in the header chunk, which must come first; none
// when the file does not begin with a whole "IHDR" of 13 bytes.
struct PngSize {
    std::uint32_t width = 0;
    std::uint32_t height = 0;

    friend bool operator==(const PngSize&, const PngSize&) = default;
};
std::optional<PngSize> png_header_size(std::span<const std::uint8_t> bytes);

// Appends a whole chunk of the type and data, with its CRC.
void append_png_chunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data);

}  // namespace glimmerly
