#include "core/base/ascii.h"

#include <algorithm>

namespace glimmerly {
namespace {

template <class Char>
bool iequals(std::basic_string_view<Char> a, std::basic_string_view<Char> b) {
    return std::ranges::equal(a, b, [](Char x, Char y) { return ascii_lower(x) == ascii_lower(y); });
}

}  // namespace

std::string ascii_lower(std::string_view text) {
    std::string out(text);
    for (char& c : out) c = ascii_lower(c);
    return out;
}

bool ascii_iequals(std::string_view a, std::string_view b) { return iequals(a, b); }
bool ascii_iequals(std::u16string_view a, std::u16string_view b) { return iequals(a, b); }

}  // namespace glimmerly
