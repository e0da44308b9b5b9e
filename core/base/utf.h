#pragma once
// UTF-8 <-> UTF-16 conversion. The program's texts are UTF-8 everywhere but at
// the platform's wide-character calls, which convert at the edge.

#include <optional>
#include <string>
#include <string_view>

namespace glimmerly {

// Unpaired surrogates become U+FFFD, as the platform's own conversion does.
std::string utf16_to_utf8(std::u16string_view text);

// Invalid UTF-8 (overlong forms, surrogates, truncated sequences) gives none.
std::optional<std::u16string> utf8_to_utf16(std::string_view text);

// As above, but each invalid sequence becomes U+FFFD: for texts that are shown,
// never for names of files that must round-trip.
std::u16string utf8_to_utf16_lossy(std::string_view text);

bool is_valid_utf8(std::string_view text);

// The longest start of `text` of at most `max_units` code units that does not
// end between the two halves of a surrogate pair, for fixed-size buffers.
std::u16string_view utf16_prefix(std::u16string_view text, std::size_t max_units);

// Appends the UTF-8 form of one code point (U+FFFD for a surrogate or a value
// past U+10FFFF).
void append_utf8(std::string& out, char32_t code_point);

}  // namespace glimmerly
