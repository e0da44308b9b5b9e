#include "core/base/utf.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

TEST(Utf, RoundTripsEveryPlane) {
    const std::string text = "A\xC3\xA9\xE4\xB8\xAD\xF0\x9F\x98\x80z";  // A é 中 😀 z
    const auto wide = utf8_to_utf16(text);
    ASSERT_TRUE(wide.has_value());
    EXPECT_EQ(*wide, (std::u16string{u'A', u'\u00E9', u'\u4E2D', 0xD83D, 0xDE00, u'z'}));
    EXPECT_EQ(utf16_to_utf8(*wide), text);
}

TEST(Utf, UnpairedSurrogatesBecomeReplacementCharacter) {
    EXPECT_EQ(utf16_to_utf8(std::u16string{u'a', 0xD800, u'b'}), "a\xEF\xBF\xBD" "b");
    EXPECT_EQ(utf16_to_utf8(std::u16string{0xDC00}), "\xEF\xBF\xBD");
    EXPECT_EQ(utf16_to_utf8(std::u16string{0xD800}), "\xEF\xBF\xBD");
}

TEST(Utf, RefusesMalformedUtf8) {
    struct Row { const char* name; std::string bytes; };
    const Row rows[] = {
        {"overlong slash", "\xC0\xAF"},
        {"encoded surrogate", "\xED\xA0\x80"},
        {"truncated", "\xE4\xB8"},
        {"stray continuation", "\x80"},
        {"past U+10FFFF", "\xF4\x90\x80\x80"},
        {"five-byte lead", "\xF8\x88\x80\x80\x80"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_FALSE(is_valid_utf8(row.bytes));
        EXPECT_FALSE(utf8_to_utf16(row.bytes).has_value());
        EXPECT_FALSE(utf8_to_utf16_lossy(row.bytes).empty());
    }
}

TEST(Utf, LossyConversionKeepsTheValidParts) {
    EXPECT_EQ(utf8_to_utf16_lossy("a\xFF" "b"), (std::u16string{u'a', 0xFFFD, u'b'}));
}

}  // namespace
}  // namespace glimmerly
