#include "text/language_choice.h"

#include <string>
#include <vector>

#include "core/base/ascii.h"
#include "core/base/utf.h"

namespace glimmerly {
namespace {

bool is_ascii_letters(std::string_view s) {
    for (char c : s)
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) return false;
    return true;
}

std::vector<std::string_view> split_subtags(std::string_view tag) {
    std::vector<std::string_view> parts;
    std::size_t start = 0;
    for (std::size_t i = 0; i <= tag.size(); ++i) {
        if (i == tag.size() || tag[i] == '-' || tag[i] == '_') {
            parts.push_back(tag.substr(start, i - start));
            start = i + 1;
        }
    }
    return parts;
}

Language chinese(const std::vector<std::string_view>& subtags) {
    for (std::size_t i = 1; i < subtags.size(); ++i) {
        if (subtags[i].size() == 4 && is_ascii_letters(subtags[i])) {
            if (subtags[i] == "hant") return 10;
            if (subtags[i] == "hans") return 1;
        }
    }
    for (std::size_t i = 1; i < subtags.size(); ++i) {
        if (subtags[i].size() == 2 && is_ascii_letters(subtags[i]))
            return (subtags[i] == "tw" || subtags[i] == "hk" || subtags[i] == "mo") ? 10 : 1;
    }
    return 1;
}

}  // namespace

Language language_from_ui_tag(std::string_view raw_tag) {
    const std::string tag = ascii_lower(raw_tag);
    const auto subtags = split_subtags(tag);
    const std::string_view primary = subtags.front();
    if (primary.size() != 2 || !is_ascii_letters(primary)) return LANGUAGE_ENGLISH;
    struct Pair { std::string_view code; Language language; };
    static constexpr Pair kPrimary[] = {{"ru", 2},  {"es", 3}, {"pt", 4},  {"de", 5},  {"ja", 6},  {"fr", 7},
                                        {"pl", 8},  {"ko", 9}, {"tr", 11}, {"uk", 12}, {"it", 13}, {"cs", 14}};
    if (primary == "zh") return chinese(subtags);
    for (const auto& p : kPrimary)
        if (p.code == primary) return p.language;
    return LANGUAGE_ENGLISH;
}

InstallerLanguage parse_installer_language(std::string_view content) {
    if (!is_valid_utf8(content)) return InstallerLanguageNone{};
    const std::string_view text = trim_unicode_space(content, true);
    if (ascii_iequals(text, "auto")) return LANGUAGE_AUTO;
    for (Language n = 0; n < LANGUAGE_COUNT; ++n)
        if (ascii_iequals(text, LANGUAGE_CODES[n])) return n;
    return InstallerLanguageNone{};
}

}  // namespace glimmerly
