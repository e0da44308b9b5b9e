#include "text/language_choice.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(LanguageFromUiTag, MapsThePrimarySubtagAndChineseScriptOrRegion) {
    struct Row { const char* tag; Language expected; };
    const Row rows[] = {
        {"de-CH", 5}, {"fr-FR", 7}, {"en-US", 0}, {"ru", 2}, {"uk-UA", 12}, {"cs-CZ", 14}, {"tr-TR", 11},
        {"pt-PT", 4}, {"pt-BR", 4}, {"ja-JP", 6}, {"ko-KR", 9}, {"pl-PL", 8}, {"it-IT", 13}, {"es-419", 3},
        {"zh-TW", 10}, {"zh-HK", 10}, {"zh-MO", 10}, {"zh-Hant-CN", 10}, {"ZH_hant", 10},
        {"zh-CN", 1}, {"zh-SG", 1}, {"zh", 1}, {"zh-Hans-HK", 1}, {"zh-Hans-TW", 1},
        {"sr-Latn-RS", 0}, {"fil", 0}, {"", 0}, {"d", 0}, {"de_DE", 5}, {"DE", 5}, {"x-de", 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.tag);
        EXPECT_EQ(language_from_ui_tag(row.tag), row.expected);
    }
}

TEST(InstallerLanguage, ReadsOneCodeOrAutoAroundWhiteSpace) {
    struct Row { const char* name; std::string content; InstallerLanguage expected; };
    const Row rows[] = {
        {"bom, spaces and line break", "\xEF\xBB\xBF DE \n", Language{5}},
        {"auto any case", "AUTO\r\n", LANGUAGE_AUTO},
        {"traditional chinese", "zh-Hant", Language{10}},
        {"unknown code", "xx", InstallerLanguageNone{}},
        {"prefix only", "pt", InstallerLanguageNone{}},
        {"empty", "", InstallerLanguageNone{}},
        {"not utf-8", "de\xFF", InstallerLanguageNone{}},
        {"two codes", "de fr", InstallerLanguageNone{}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(parse_installer_language(row.content) == row.expected);
    }
}

}  // namespace
}  // namespace glimmerly
