#include "core/board/bake_fingerprint.h"

#include <algorithm>
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

// SipHash-1-3 over bytes given in pieces, equal to one call over their
// concatenation: the fingerprint hashes a page of up to 256 MiB where it
// lies. Joining the pieces first held another copy of the page, and two
// while the joined string grew.
class SipHasher {
public:
    SipHasher(std::uint64_t k0, std::uint64_t k1)
        : state_{k0 ^ 0x736f6d6570736575ull, k1 ^ 0x646f72616e646f6dull, k0 ^ 0x6c7967656e657261ull,
                 k1 ^ 0x7465646279746573ull} {}

    void add(std::string_view bytes) {
        const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
        std::size_t left = bytes.size();
        length_ += left;
        if (held_ > 0) {
            const std::size_t taken = std::min(left, sizeof block_ - held_);
            std::memcpy(block_ + held_, data, taken);
            held_ += taken;
            data += taken;
            left -= taken;
            if (held_ < sizeof block_) return;
            state_.absorb(load_le64(block_));
            held_ = 0;
        }
        for (; left >= 8; data += 8, left -= 8) state_.absorb(load_le64(data));
        std::memcpy(block_, data, left);
        held_ = left;
    }

    void add_le64(std::uint64_t value) {
        char bytes[8];
        for (int i = 0; i < 8; ++i) bytes[i] = static_cast<char>((value >> (8 * i)) & 0xFF);
        add(std::string_view(bytes, sizeof bytes));
    }

    std::uint64_t finish() {
        std::uint64_t last = (length_ & 0xFF) << 56;
        for (std::size_t i = 0; i < held_; ++i) last |= std::uint64_t{block_[i]} << (8 * i);
        state_.absorb(last);
        state_.v2 ^= 0xFF;
        for (int i = 0; i < 3; ++i) state_.round();  // d = 3
        return state_.v0 ^ state_.v1 ^ state_.v2 ^ state_.v3;
    }

private:
    SipState state_;
    unsigned char block_[8] = {};
    std::size_t held_ = 0;
    std::uint64_t length_ = 0;
};

}  // namespace

std::uint64_t siphash_1_3(std::string_view bytes, std::uint64_t k0, std::uint64_t k1) {
    SipHasher hasher(k0, k1);
    hasher.add(bytes);
    return hasher.finish();
}

std::string bake_fingerprint(std::string_view page_text, const BoardBase& base, std::span<const BoardScreen> monitors) {
    constexpr std::string_view kSeparator = "\xFF";
    SipHasher hasher(0, 0);
    hasher.add(page_text);
    hasher.add(kSeparator);
    hasher.add(format_board_base(base));
    hasher.add(kSeparator);
    for (const BoardScreen& monitor : monitors) {
        hasher.add(monitor.name);
        hasher.add(kSeparator);
        for (const double edge : {monitor.rect.left, monitor.rect.top, monitor.rect.right, monitor.rect.bottom})
            hasher.add_le64(std::bit_cast<std::uint64_t>(edge));
    }
    const std::uint64_t hash = hasher.finish();
    constexpr char kDigits[] = "0123456789abcdef";
    std::string text;
    for (int shift = 60; shift >= 0; shift -= 4) text += kDigits[(hash >> shift) & 15];
    return text;
}

}  // namespace glimmerly
