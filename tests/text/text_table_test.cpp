#include "text/text_table.h"

#include <gtest/gtest.h>

#include <set>

namespace glimmerly {
namespace {

std::set<std::string> placeholders(std::string_view text) {
    std::set<std::string> names;
    std::size_t pos = 0;
    while ((pos = text.find('{', pos)) != std::string_view::npos) {
        const std::size_t close = text.find('}', pos);
        if (close == std::string_view::npos) break;
        names.insert(std::string(text.substr(pos + 1, close - pos - 1)));
        pos = close + 1;
    }
    return names;
}

bool braces_balanced(std::string_view text) {
    bool open = false;
    for (char c : text) {
        if (c == '{') {
            if (open) return false;
            open = true;
        } else if (c == '}') {
            if (!open) return false;
            open = false;
        }
    }
    return !open;
}

TEST(TextTable, EveryLanguageHasEveryTextWithTheEnglishPlaceholders) {
    for (Language lang = 0; lang < LANGUAGE_COUNT; ++lang) {
        SCOPED_TRACE(std::string(LANGUAGE_CODES[lang]));
        for (std::uint16_t i = 0; i < TEXT_COUNT; ++i) {
            SCOPED_TRACE(std::string(text_key(text_id(i))));
            const std::string_view text = text_of(lang, text_id(i));
            const std::string_view english = text_of(LANGUAGE_ENGLISH, text_id(i));
            EXPECT_FALSE(text.empty());
            EXPECT_TRUE(braces_balanced(text));
            EXPECT_EQ(placeholders(text), placeholders(english));
            EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), std::count(english.begin(), english.end(), '\n'));
        }
    }
}

TEST(TextTable, KeysAreUniqueAndFindTheirIds) {
    EXPECT_EQ(TEXT_COUNT, 277);
    std::set<std::string_view> seen;
    for (std::uint16_t i = 0; i < TEXT_COUNT; ++i) {
        const auto key = text_key(text_id(i));
        EXPECT_TRUE(seen.insert(key).second) << key;
        EXPECT_EQ(text_id_from_key(key), text_id(i));
    }
    EXPECT_EQ(text_key(TextId::error_settings_busy), "error.settings_busy");
    EXPECT_EQ(text_index(TextId::error_settings_busy), 172);
    EXPECT_EQ(text_index(TextId::settings_shape_duration_note), 276);
    EXPECT_FALSE(text_id_from_key("error.settings_bus").has_value());
    EXPECT_FALSE(text_id_from_key("").has_value());
}

TEST(TextTable, EnglishTextsStandAsWritten) {
    EXPECT_EQ(text_of(0, TextId::language_menu), "Language");
    EXPECT_EQ(text_of(0, TextId::error_unexpected), "Something went wrong.\n{detail}");
    EXPECT_EQ(text_of(0, TextId::setup_press), "Press your shortcut\xE2\x80\xA6");
    EXPECT_EQ(text_of(0, TextId::error_document_too_large),
              "This image ({width} \xC3\x97 {height}) is larger than this screen. It still opens as a PNG.");
    EXPECT_EQ(text_of(99, TextId::key_ctrl), "Ctrl");  // past the table reads English
}

TEST(FillTemplate, FillsNamedPlaceholders) {
    struct Row {
        const char* name;
        std::string_view text;
        std::vector<TextArg> args;
        std::string expected;
    };
    const Row rows[] = {
        {"unclosed brace stays", "x{y", {{"y", "1"}}, "x{y"},
        {"empty name", "<{}>", {{"", "v"}}, "<v>"},
        {"same placeholder twice", "{a}{a}", {{"a", "1"}}, "11"},
        {"missing argument disappears", "a{b}c", {}, "ac"},
        {"first of two same names wins", "{a}", {{"a", "1"}, {"a", "2"}}, "1"},
        {"brace inside a name belongs to it", "a{b{c}d", {{"b{c", "X"}}, "aXd"},
        {"stray closing brace copied", "a}b{c}", {{"c", "1"}}, "a}b1"},
        {"values are not scanned", "{a}", {{"a", "{b}"}, {"b", "no"}}, "{b}"},
        {"name is case-sensitive", "{A}", {{"a", "1"}}, ""},
        {"unused argument ignored", "plain", {{"x", "1"}}, "plain"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fill_template(row.text, row.args), row.expected);
    }
}

TEST(LocalizedText, FillsTheTemplatesOfTheTable) {
    EXPECT_EQ(localized_text(0, TextId::notice_shortcuts_unavailable, {{"names", "A, B"}}), "Shortcut unavailable: A, B");
    EXPECT_EQ(localized_text(0, TextId::error_unexpected), "Something went wrong.\n");
    for (Language lang = 0; lang < LANGUAGE_COUNT; ++lang) {
        SCOPED_TRACE(std::string(LANGUAGE_CODES[lang]));
        EXPECT_EQ(localized_text(lang, TextId::tooltip_with_shortcut, {{"label", "Pen"}, {"shortcut", "P"}}),
                  "Pen \xC2\xB7 P");
    }
}

TEST(LanguageMenu, KeepsTheEnglishWordBesideTheTranslation) {
    EXPECT_EQ(language_menu_label(0), "Language");
    EXPECT_EQ(language_menu_label(5), "Sprache \xC2\xB7 Language");
    EXPECT_EQ(language_menu_label(2), "\xD0\xAF\xD0\xB7\xD1\x8B\xD0\xBA \xC2\xB7 Language");
}

TEST(LanguageMenu, ItemsAnswerOnlyForTheLanguageSubmenu) {
    EXPECT_EQ(language_menu_item_label(4, 150, 0, 0), "Windows language");
    EXPECT_EQ(language_menu_item_label(4, 150, 0, 5), std::string(text_of(5, TextId::menu_language_auto)));
    EXPECT_EQ(language_menu_item_label(4, 150, 1, 5), "English");
    EXPECT_EQ(language_menu_item_label(4, 150, 6, 0), "Deutsch");
    EXPECT_EQ(language_menu_item_label(4, 150, 15, 0), "\xC4\x8C" "e\xC5\xA1tina");
    EXPECT_EQ(language_menu_item_label(4, 150, 16, 0), "");
    EXPECT_EQ(language_menu_item_label(3, 150, 1, 0), "");
    EXPECT_EQ(language_menu_item_label(4, 151, 1, 0), "");
    const auto& items = language_menu_items();
    EXPECT_EQ(items[0].command, 151);
    for (std::size_t n = 1; n < items.size(); ++n) EXPECT_EQ(items[n].command, 151 + n);
}

TEST(ParseLanguageCode, TrimsAndIgnoresAsciiCase) {
    struct Row { const char* text; Language expected; };
    const Row rows[] = {
        {" PT-br ", 4}, {"pt", LANGUAGE_AUTO}, {"auto", LANGUAGE_AUTO}, {"zh-hant", 10}, {"EN", 0},
        {"\xE3\x80\x80" "de\xC2\xA0", 5}, {"\t\r\ncs\xE2\x80\xAF", 14}, {"d e", LANGUAGE_AUTO}, {"", LANGUAGE_AUTO},
        {"\xEF\xBB\xBF" "de", LANGUAGE_AUTO},  // a byte-order mark is not white space here
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.text);
        EXPECT_EQ(parse_language_code(row.text), row.expected);
    }
}

TEST(CurrentLanguage, StartsEnglishAndRefusesValuesPastTheTable) {
    const Language before = current_language();
    set_current_language(7);
    EXPECT_EQ(current_language(), 7);
    set_current_language(LANGUAGE_AUTO);
    EXPECT_EQ(current_language(), LANGUAGE_ENGLISH);
    set_current_language(before);
}

}  // namespace
}  // namespace glimmerly
