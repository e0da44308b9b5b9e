#include "core/base/base64.h"

namespace glimmerly {

std::string base64_encode(std::span<const std::uint8_t> bytes) {
    static constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    out.reserve((bytes.size() + 2) / 3 * 4);
    std::size_t i = 0;
    for (; i + 3 <= bytes.size(); i += 3) {
        const std::uint32_t group = (std::uint32_t{bytes[i]} << 16) | (std::uint32_t{bytes[i + 1]} << 8) | bytes[i + 2];
        for (int shift = 18; shift >= 0; shift -= 6) out += kAlphabet[(group >> shift) & 63];
    }
    const std::size_t left = bytes.size() - i;
    if (left == 0) return out;
    std::uint32_t group = std::uint32_t{bytes[i]} << 16;
    if (left == 2) group |= std::uint32_t{bytes[i + 1]} << 8;
    out += kAlphabet[(group >> 18) & 63];
    out += kAlphabet[(group >> 12) & 63];
    out += left == 2 ? kAlphabet[(group >> 6) & 63] : '=';
    out += '=';
    return out;
}

}  // namespace glimmerly
