#include "core/vexil/png.h"

#include <algorithm>

namespace glimmerly {
namespace {

constexpr std::array<std::uint32_t, 256> make_crc_table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> kCrcTable = make_crc_table();

std::uint32_t read_u32(const std::uint8_t* p) {
    return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

void append_u32(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(value >> shift));
}

}  // namespace

std::uint32_t png_crc32(std::span<const std::uint8_t> bytes, std::uint32_t crc) {
    std::uint32_t c = ~crc;
    for (const std::uint8_t b : bytes) c = kCrcTable[(c ^ b) & 0xFF] ^ (c >> 8);
    return ~c;
}

bool PngChunk::crc_matches() const {
    const auto* type_bytes = reinterpret_cast<const std::uint8_t*>(type.data());
    const std::uint32_t crc = png_crc32(data, png_crc32(std::span(type_bytes, type.size())));
    return crc == read_u32(data.data() + data.size());
}

bool has_png_signature(std::span<const std::uint8_t> bytes) {
    return bytes.size() >= kPngSignature.size() &&
           std::equal(kPngSignature.begin(), kPngSignature.end(), bytes.begin());
}

PngChunkWalker::PngChunkWalker(std::span<const std::uint8_t> bytes)
    : bytes_(bytes), pos_(kPngSignature.size()), state_(has_png_signature(bytes) ? State::Walking : State::Faulty) {}

std::optional<PngChunk> PngChunkWalker::next() {
    if (state_ != State::Walking) return std::nullopt;
    state_ = State::Faulty;  // until the chunk is known to be whole
    if (bytes_.size() - pos_ < 8) return std::nullopt;
    const std::uint32_t length = read_u32(&bytes_[pos_]);
    // Checked against what is left, so the sum below cannot wrap.
    if (length > kMaxPngChunkData || bytes_.size() - pos_ - 8 < std::size_t{length} + 4) return std::nullopt;
    PngChunk chunk;
    chunk.offset = pos_;
    std::copy_n(reinterpret_cast<const char*>(&bytes_[pos_ + 4]), 4, chunk.type.begin());
    chunk.data = bytes_.subspan(pos_ + 8, length);
    pos_ += chunk.size();
    state_ = chunk.type_name() == "IEND" ? State::Complete : State::Walking;
    return chunk;
}

std::optional<PngSize> png_header_size(std::span<const std::uint8_t> bytes) {
    const auto header = PngChunkWalker(bytes).next();
    if (!header || header->type_name() != "IHDR" || header->data.size() != 13) return std::nullopt;
    return PngSize{read_u32(header->data.data()), read_u32(header->data.data() + 4)};
}

void append_png_chunk(std::vector<std::uint8_t>& out, std::string_view type, std::span<const std::uint8_t> data) {
    append_u32(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t type_at = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    append_u32(out, png_crc32(std::span(out).subspan(type_at, type.size() + data.size())));
}

}  // namespace glimmerly
