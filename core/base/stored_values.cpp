#include "core/base/stored_values.h"

#include <limits>

namespace glimmerly {
namespace {

constexpr char kHexDigits[] = "0123456789abcdef";

}  // namespace

std::optional<bool> parse_stored_flag(std::string_view text) {
    if (text == "0") return false;
    if (text == "1") return true;
    return std::nullopt;
}

int hex_digit_value(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

void append_hex_byte(std::string& out, std::uint8_t byte) {
    out += kHexDigits[byte >> 4];
    out += kHexDigits[byte & 15];
}

void append_hex(std::string& out, std::uint32_t value) {
    int shift = 28;
    while (shift > 0 && (value >> shift) == 0) shift -= 4;
    for (; shift >= 0; shift -= 4) out += kHexDigits[(value >> shift) & 15];
}

std::optional<std::uint64_t> parse_decimal_u64(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

std::optional<std::uint32_t> parse_decimal(std::string_view text) {
    const auto value = parse_decimal_u64(text);
    if (!value || *value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

std::optional<std::uint32_t> parse_canonical_decimal(std::string_view text) {
    const auto value = parse_decimal(text);
    if (!value || std::to_string(*value) != text) return std::nullopt;
    return value;
}

std::optional<Rgb> parse_rgb_hex(std::string_view text) {
    if (text.size() != 6) return std::nullopt;
    std::uint8_t bytes[3];
    for (std::size_t i = 0; i < 3; ++i) {
        const int high = hex_digit_value(text[2 * i]);
        const int low = hex_digit_value(text[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        bytes[i] = static_cast<std::uint8_t>(high * 16 + low);
    }
    return Rgb{bytes[0], bytes[1], bytes[2]};
}

void append_rgb_hex(std::string& out, Rgb colour) {
    append_hex_byte(out, colour.r);
    append_hex_byte(out, colour.g);
    append_hex_byte(out, colour.b);
}

std::string format_rgb_hex(Rgb colour) {
    std::string out;
    append_rgb_hex(out, colour);
    return out;
}

std::optional<std::pair<std::string_view, std::string_view>> split_once(std::string_view text, char separator) {
    const std::size_t at = text.find(separator);
    if (at == std::string_view::npos) return std::nullopt;
    return std::pair{text.substr(0, at), text.substr(at + 1)};
}

std::vector<std::string_view> split_all(std::string_view text, char separator) {
    std::vector<std::string_view> pieces;
    for (;;) {
        const std::size_t at = text.find(separator);
        pieces.push_back(text.substr(0, at));
        if (at == std::string_view::npos) return pieces;
        text.remove_prefix(at + 1);
    }
}

}  // namespace glimmerly
