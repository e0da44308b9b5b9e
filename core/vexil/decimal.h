#pragma once
// Unsigned decimal numbers as the stored formats write them: digits with an
// optional leading "+", nothing else, and no overflow. Shared by the scene
// text, the document header and the board file, so all three refuse the
// same forms.

#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>

namespace glimmerly {

constexpr std::optional<std::uint64_t> parse_decimal_u64(std::string_view s) {
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    if (s.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : s) {
        if (c < '0' || c > '9') return std::nullopt;
        const auto digit = static_cast<std::uint64_t>(c - '0');
        if (value > (std::numeric_limits<std::uint64_t>::max() - digit) / 10) return std::nullopt;
        value = value * 10 + digit;
    }
    return value;
}

constexpr std::optional<std::uint32_t> parse_decimal_u32(std::string_view s) {
    const auto value = parse_decimal_u64(s);
    if (!value || *value > std::numeric_limits<std::uint32_t>::max()) return std::nullopt;
    return static_cast<std::uint32_t>(*value);
}

}  // namespace glimmerly
