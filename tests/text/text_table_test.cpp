#include "text/text_table.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(FillTemplate, FillsNamedPlaceholders) {
    struct Row { const char* name; std::string_view text; std::vector<TextArg> args; std::string expected; };
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
        {"unnamed argument ignored", "plain", {{"x", "1"}}, "plain"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fill_template(row.text, row.args), row.expected);
    }
}

TEST(LanguageMenu, LabelsKeepTheEnglishWordAndNameEachLanguageInItself) {
    EXPECT_EQ(language_menu_label(0), "Language");
    EXPECT_EQ(language_menu_label(5), "Sprache \xC2\xB7 Language");
    struct Row { std::uint32_t kind, submenu; std::size_t entry; Language language; std::string label; };
    const Row rows[] = {
        {4, 150, 0, 0, "Windows language"}, {4, 150, 1, 5, "English"}, {4, 150, 6, 0, "Deutsch"},
        {4, 150, 15, 0, "\xC4\x8C" "e\xC5\xA1tina"}, {4, 150, 16, 0, ""}, {3, 150, 1, 0, ""}, {4, 151, 1, 0, ""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.entry);
        EXPECT_EQ(language_menu_item_label(row.kind, row.submenu, row.entry, row.language), row.label);
    }
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

TEST(CurrentLanguage, RefusesValuesPastTheTable) {
    set_current_language(7);
    EXPECT_EQ(current_language(), 7);
    set_current_language(LANGUAGE_AUTO);
    EXPECT_EQ(current_language(), LANGUAGE_ENGLISH);
}

}  // namespace
}  // namespace glimmerly
