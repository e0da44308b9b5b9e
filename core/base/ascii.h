#pragma once
// ASCII letter case, for the codes and file extensions that are matched
// without regard to it. Every other character, non-ASCII letters included,
// is compared as it is: the platform folds far more than ASCII, but nothing
// matched here needs it.

#include <string>
#include <string_view>

namespace glimmerly {

constexpr char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }
constexpr char16_t ascii_lower(char16_t c) {
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}
std::string ascii_lower(std::string_view text);

bool ascii_iequals(std::string_view a, std::string_view b);
bool ascii_iequals(std::u16string_view a, std::u16string_view b);

}  // namespace glimmerly
