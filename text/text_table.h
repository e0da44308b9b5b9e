#pragma once
// The compiled-in text table: 279 texts in 15 languages, addressed by TextId
// and by a stable dotted key, and the process-wide current language.

#include <array>
#include <cstdint>
#include <initializer_list>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "text/text_id.h"  // generated: TextId, TEXT_COUNT, LANGUAGE_COUNT

namespace glimmerly {

// Index 0..14 in the order of LANGUAGE_CODES; a stored 255 means automatic.
using Language = std::uint8_t;
inline constexpr Language LANGUAGE_ENGLISH = 0;
inline constexpr Language LANGUAGE_AUTO = 255;

inline constexpr std::array<std::string_view, LANGUAGE_COUNT> LANGUAGE_CODES = {
    "en", "zh-Hans", "ru", "es", "pt-BR", "de", "ja", "fr", "pl", "ko", "zh-Hant", "tr", "uk", "it", "cs"};

// Each language's own name, the same in every interface language.
inline constexpr std::array<std::string_view, LANGUAGE_COUNT> LANGUAGE_OWN_NAMES = {
    "English", "简体中文", "Русский", "Español", "Português (Brasil)", "Deutsch", "日本語", "Français",
    "Polski", "한국어", "繁體中文", "Türkçe", "Українська", "Italiano", "Čeština"};

constexpr TextId text_id(std::uint16_t index) { return static_cast<TextId>(index); }
constexpr std::uint16_t text_index(TextId id) { return static_cast<std::uint16_t>(id); }

// One named argument of a template: {name} is replaced by value.
struct TextArg {
    std::string_view name;
    std::string_view value;
};

// The stored text itself, without filling. A language past the table reads English.
std::string_view text_of(Language language, TextId id);
std::string_view text_key(TextId id);
std::optional<TextId> text_id_from_key(std::string_view key);

// The template with its placeholders filled: {name} takes the value of the
// first argument of that name; a placeholder without an argument disappears;
// a "{" without a closing "}" is copied as it stands.
std::string fill_template(std::string_view text, std::span<const TextArg> args);
std::string localized_text(Language language, TextId id, std::span<const TextArg> args = {});
inline std::string localized_text(Language language, TextId id, std::initializer_list<TextArg> args) {
    return localized_text(language, id, std::span<const TextArg>(args.begin(), args.size()));
}

// The process-wide current language, English until the language choice has
// run. Read by every lookup that is not given a language.
Language current_language();
void set_current_language(Language language);

// The label of the language entry of a menu: "Language" in English, else the
// language's own word followed by " · Language", so that a user who cannot
// read the current language still finds it.
std::string language_menu_label(Language language);

// The language submenu: entry 0 "Windows language" (command 151), entries
// 1..15 the languages' own names (commands 152..166).
inline constexpr std::uint32_t LANGUAGE_MENU_KIND = 4;
inline constexpr std::uint32_t LANGUAGE_SUBMENU_ID = 150;
inline constexpr std::uint16_t LANGUAGE_COMMAND_AUTO = 151;
inline constexpr std::uint16_t LANGUAGE_COMMAND_FIRST = 152;
inline constexpr std::size_t LANGUAGE_MENU_ENTRIES = 16;

enum class LanguageMenuItemKind : std::uint8_t { Text, LanguageLabel, LanguageName, Empty };

struct LanguageMenuItem {
    LanguageMenuItemKind kind;
    std::uint16_t argument;  // a TextId for Text, a Language for the two language kinds
    std::uint16_t command;
    // Read by the tray popup that draws the submenu.
    std::uint32_t icon = 22;
    std::uint16_t parent = 0xFFFF;
    std::uint16_t flags = 5;
};

const std::array<LanguageMenuItem, LANGUAGE_MENU_ENTRIES>& language_menu_items();
std::string language_menu_item_label(std::uint32_t menu_kind, std::uint32_t submenu_id, std::size_t entry,
                                     Language language);

// The language whose code matches, ASCII case-insensitively, after trimming
// white space; LANGUAGE_AUTO (none) otherwise. "auto" is not a code.
Language parse_language_code(std::string_view text);

// Trims Unicode White_Space (and, when asked, U+FEFF) from both ends of UTF-8 text.
std::string_view trim_unicode_space(std::string_view text, bool byte_order_mark_is_space = false);

}  // namespace glimmerly
