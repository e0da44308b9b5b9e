#include "text/text_table.h"

#include <algorithm>
#include <atomic>

#include "core/base/ascii.h"

namespace glimmerly {

namespace detail {
extern const std::array<std::string_view, TEXT_COUNT> kTextKeys;
extern const std::array<std::array<std::string_view, TEXT_COUNT>, LANGUAGE_COUNT> kTexts;
}  // namespace detail

namespace {

std::atomic<Language> g_current_language{LANGUAGE_ENGLISH};

constexpr std::array<LanguageMenuItem, LANGUAGE_MENU_ENTRIES> kLanguageMenu = [] {
    std::array<LanguageMenuItem, LANGUAGE_MENU_ENTRIES> items{};
    items[0] = {LanguageMenuItemKind::Text, text_index(TextId::menu_language_auto), LANGUAGE_COMMAND_AUTO};
    for (std::uint16_t n = 0; n < LANGUAGE_COUNT; ++n)
        items[n + 1] = {LanguageMenuItemKind::LanguageName, n, static_cast<std::uint16_t>(LANGUAGE_COMMAND_FIRST + n)};
    return items;
}();

// Length in bytes of the White_Space character (or U+FEFF) starting at `s`, else 0.
std::size_t space_length(std::string_view s, bool bom) {
    const auto b = [&](std::size_t i) { return i < s.size() ? static_cast<unsigned char>(s[i]) : 0u; };
    const unsigned c0 = b(0);
    if ((c0 >= 0x09 && c0 <= 0x0D) || c0 == 0x20) return 1;
    if (c0 == 0xC2 && (b(1) == 0x85 || b(1) == 0xA0)) return 2;
    if (c0 == 0xE1 && b(1) == 0x9A && b(2) == 0x80) return 3;  // U+1680
    if (c0 == 0xE2 && b(1) == 0x80 && ((b(2) >= 0x80 && b(2) <= 0x8A) || b(2) == 0xA8 || b(2) == 0xA9 || b(2) == 0xAF))
        return 3;                                                // U+2000..200A, 2028, 2029, 202F
    if (c0 == 0xE2 && b(1) == 0x81 && b(2) == 0x9F) return 3;  // U+205F
    if (c0 == 0xE3 && b(1) == 0x80 && b(2) == 0x80) return 3;  // U+3000
    if (bom && c0 == 0xEF && b(1) == 0xBB && b(2) == 0xBF) return 3;
    return 0;
}

// Length of the White_Space character that ends `s`, else 0.
std::size_t trailing_space_length(std::string_view s, bool bom) {
    for (std::size_t len = 1; len <= 3 && len <= s.size(); ++len)
        if (space_length(s.substr(s.size() - len), bom) == len) return len;
    return 0;
}

}  // namespace

std::string_view text_of(Language language, TextId id) {
    const auto index = text_index(id);
    if (index >= TEXT_COUNT) return {};
    if (language >= LANGUAGE_COUNT) language = LANGUAGE_ENGLISH;
    return detail::kTexts[language][index];
}

std::string_view text_key(TextId id) {
    const auto index = text_index(id);
    return index < TEXT_COUNT ? detail::kTextKeys[index] : std::string_view{};
}

std::optional<TextId> text_id_from_key(std::string_view key) {
    for (std::uint16_t i = 0; i < TEXT_COUNT; ++i)
        if (detail::kTextKeys[i] == key) return text_id(i);
    return std::nullopt;
}

std::string fill_template(std::string_view text, std::span<const TextArg> args) {
    std::string out;
    out.reserve(text.size());
    std::size_t pos = 0;
    while (pos < text.size()) {
        const std::size_t open = text.find('{', pos);
        if (open == std::string_view::npos) break;
        const std::size_t close = text.find('}', open + 1);
        if (close == std::string_view::npos) break;
        out.append(text.substr(pos, open - pos));
        const std::string_view name = text.substr(open + 1, close - open - 1);
        const auto found = std::find_if(args.begin(), args.end(), [&](const TextArg& a) { return a.name == name; });
        if (found != args.end()) out.append(found->value);
        pos = close + 1;
    }
    if (pos < text.size()) out.append(text.substr(pos));
    return out;
}

std::string localized_text(Language language, TextId id, std::span<const TextArg> args) {
    return fill_template(text_of(language, id), args);
}

Language current_language() { return g_current_language.load(std::memory_order_relaxed); }

void set_current_language(Language language) {
    if (language >= LANGUAGE_COUNT) language = LANGUAGE_ENGLISH;
    g_current_language.store(language, std::memory_order_relaxed);
}

std::string language_menu_label(Language language) {
    const std::string_view english = text_of(LANGUAGE_ENGLISH, TextId::language_menu);
    if (language == LANGUAGE_ENGLISH || language >= LANGUAGE_COUNT) return std::string(english);
    std::string label(text_of(language, TextId::language_menu));
    label += " \xC2\xB7 ";
    label += english;
    return label;
}

const std::array<LanguageMenuItem, LANGUAGE_MENU_ENTRIES>& language_menu_items() { return kLanguageMenu; }

std::string language_menu_item_label(std::uint32_t menu_kind, std::uint32_t submenu_id, std::size_t entry,
                                     Language language) {
    if (menu_kind != LANGUAGE_MENU_KIND || submenu_id != LANGUAGE_SUBMENU_ID || entry >= LANGUAGE_MENU_ENTRIES)
        return {};
    const LanguageMenuItem& item = kLanguageMenu[entry];
    switch (item.kind) {
        case LanguageMenuItemKind::Text:
            return std::string(text_of(language, text_id(item.argument)));
        case LanguageMenuItemKind::LanguageLabel:
            return language_menu_label(static_cast<Language>(item.argument));
        case LanguageMenuItemKind::LanguageName:
            return item.argument < LANGUAGE_COUNT ? std::string(LANGUAGE_OWN_NAMES[item.argument]) : std::string();
        case LanguageMenuItemKind::Empty:
            break;
    }
    return {};
}

std::string_view trim_unicode_space(std::string_view text, bool byte_order_mark_is_space) {
    while (!text.empty()) {
        const std::size_t n = space_length(text, byte_order_mark_is_space);
        if (!n) break;
        text.remove_prefix(n);
    }
    while (!text.empty()) {
        const std::size_t n = trailing_space_length(text, byte_order_mark_is_space);
        if (!n) break;
        text.remove_suffix(n);
    }
    return text;
}

Language parse_language_code(std::string_view text) {
    text = trim_unicode_space(text);
    for (Language n = 0; n < LANGUAGE_COUNT; ++n)
        if (ascii_iequals(text, LANGUAGE_CODES[n])) return n;
    return LANGUAGE_AUTO;
}

}  // namespace glimmerly
