#include "core/board/bake_fingerprint.h"

#include <bit>
#include <cstring>

namespace glimmerly {
namespace {

struct SipState {
    std::uint64_t v0, v1, v2, v3;

    void round() {
        v0 += v1;
        v1 = std::rotl(v1, 13);
        v1 ^= v0;
        v0 = std::rotl(v0, 32);
        v2 += v3;
        v3 = std::rotl(v3, 16);
        v3 ^= v2;
        v0 += v3;
        v3 = std::rotl(v3, 21);
        v3 ^= v0;
        v2 += v1;
        v1 = std::rotl(v1, 17);
        v1 ^= v2;
        v2 = std::rotl(v2, 32);
    }

    void absorb(std::uint64_t m) {
        v3 ^= m;
        round();  // c = 1
        v0 ^= m;
    }
};

std::uint64_t load_le64(const unsigned char* p) {
    std::uint64_t m = 0;
    for (int i = 7; i >= 0; --i) m = m << 8 | p[i];
    return m;
}

void append_le64(std::string& out, std::uint64_t value) {
    for (int i = 0; i < 8; ++i) out += static_cast<char>((value >> (8 * i)) & 0xFF);
}

}  // namespace

std::uint64_t siphash_1_3(std::string_view bytes, std::uint64_t k0, std::uint64_t k1) {
    SipState s{k0 ^ 0x736f6d6570736575ull, k1 ^ 0x646f72616e646f6dull, k0 ^ 0x6c7967656e657261ull,
               k1 ^ 0x7465646279746573ull};
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t whole = bytes.size() / 8 * 8;
    for (std::size_t i = 0; i < whole; i += 8) s.absorb(load_le64(data + i));
    std::uint64_t last = static_cast<std::uint64_t>(bytes.size() & 0xFF) << 56;
    for (std::size_t i = whole; i < bytes.size(); ++i) last |= std::uint64_t{data[i]} << (8 * (i - whole));
    s.absorb(last);
    s.v2 ^= 0xFF;
    for (int i = 0; i < 3; ++i) s.round();  // d = 3
    return s.v0 ^ s.v1 ^ s.v2 ^ s.v3;
}

std::string bake_fingerprint(std::string_view page_text, const BoardBase& base, std::span<const BoardScreen> monitors) {
    std::string stream(page_text);
    stream += '\xFF';
    stream += format_board_base(base);
    stream += '\xFF';
    for (const BoardScreen& monitor : monitors) {
        stream += monitor.name;
        stream += '\xFF';
        for (const double edge : {monitor.rect.left, monitor.rect.top, monitor.rect.right, monitor.rect.bottom})
            append_le64(stream, std::bit_cast<std::uint64_t>(edge));
    }
    const std::uint64_t hash = siphash_1_3(stream);
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += kDigits[(hash >> shift) & 15];
    return text;
}

}  // namespace glimmerly
