#include <gtest/gtest.h>

#include <string>

#include "core/base/utf.h"
#include "text/text_table.h"

namespace glimmerly {
namespace {

// A key cap has room for four UTF-16 units, and the keys display refuses a
// label with a control, a space of any kind or a broken surrogate.
bool fits_a_key_cap(std::u16string_view label) {
    if (label.empty() || label.size() > 4) return false;
    for (std::size_t i = 0; i < label.size(); ++i) {
        const char16_t unit = label[i];
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == label.size() || label[i + 1] < 0xDC00 || label[i + 1] > 0xDFFF) return false;
            ++i;
            continue;
        }
        if (unit >= 0xDC00 && unit <= 0xDFFF) return false;
        if (unit < 0x21 || (unit >= 0x7F && unit <= 0x9F)) return false;
        for (const char16_t space : {u'\u00A0', u'\u1680', u'\u2028', u'\u2029', u'\u202F', u'\u205F', u'\u3000'})
            if (unit == space) return false;
        if (unit >= 0x2000 && unit <= 0x200A) return false;
    }
    return true;
}

TEST(KeyCapTexts, EveryLanguageNamesEveryKeyInOneToFourPrintableUnits) {
    int caps = 0;
    for (std::uint16_t index = 0; index < TEXT_COUNT; ++index) {
        if (!text_key(text_id(index)).starts_with("keycap.")) continue;
        ++caps;
        for (std::size_t language = 0; language < LANGUAGE_COUNT; ++language) {
            const std::string_view text = text_of(static_cast<Language>(language), text_id(index));
            SCOPED_TRACE(std::string(text_key(text_id(index))) + " in " + std::string(LANGUAGE_CODES[language]));
            const auto label = utf8_to_utf16(text);
            ASSERT_TRUE(label);
            EXPECT_TRUE(fits_a_key_cap(*label)) << text;
        }
    }
    EXPECT_EQ(caps, 11);
}

}  // namespace
}  // namespace glimmerly
