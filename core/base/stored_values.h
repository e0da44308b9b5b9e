#pragma once
// The value forms shared by the line-based stored formats: decimals, flags,
// hexadecimal and rrggbb colours.

#include <charconv>
#include <concepts>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/base/rgb.h"

namespace glimmerly {

// ASCII digits forming an unsigned number, with one optional leading "+";
// none for empty text, a lone sign, any other character or overflow. Every
// stored format reads its counts, sizes and ids with these, so all of them
// refuse the same forms.
std::optional<std::uint64_t> parse_decimal_u64(std::string_view text);
std::optional<std::uint32_t> parse_decimal(std::string_view text);

// As parse_decimal, but the text must also be the number's own rendering:
// no sign and no leading zero.
std::optional<std::uint32_t> parse_canonical_decimal(std::string_view text);

// The decimal digits of an integer, with a "-" when it is negative.
template <std::integral Integer>
void append_decimal(std::string& out, Integer value) {
    char buffer[24];
    const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
    out.append(buffer, result.ptr);
}

// "0" or "1", nothing else.
std::optional<bool> parse_stored_flag(std::string_view text);

// The value of one hexadecimal digit of either case, or -1.
int hex_digit_value(char c);
// Two lower-case hexadecimal digits.
void append_hex_byte(std::string& out, std::uint8_t byte);
// Lower-case hexadecimal digits without leading zeros ("0" for zero).
void append_hex(std::string& out, std::uint32_t value);

// Exactly six hexadecimal digits of either case, red first.
std::optional<Rgb> parse_rgb_hex(std::string_view text);
// Six lower-case hexadecimal digits.
void append_rgb_hex(std::string& out, Rgb colour);
std::string format_rgb_hex(Rgb colour);

// Splits at the first `separator`; none when there is none.
std::optional<std::pair<std::string_view, std::string_view>> split_once(std::string_view text, char separator);
// Every piece between separators, empty ones included: one more than the
// separators.
std::vector<std::string_view> split_all(std::string_view text, char separator);

}  // namespace glimmerly
