#include "core/paths/path_names.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

// A name for SCOPED_TRACE: each UTF-16 code unit cut to a byte.
std::string trace(std::u16string_view name) { return std::string(name.begin(), name.end()); }

TEST(TemporaryPath, ReplacesTheExtensionWithTheProcessId) {
    struct Row { const char16_t* target; const char16_t* temporary; };
    const Row rows[] = {
        {u"C:\\Pictures\\photo.png", u"C:\\Pictures\\photo.4242.tmp"},
        {u"C:\\Pictures\\photo", u"C:\\Pictures\\photo.4242.tmp"},
        {u"C:\\Glimmerly\\settings.txt", u"C:\\Glimmerly\\settings.4242.tmp"},
        {u"C:\\a.b\\archive.tar.gz", u"C:\\a.b\\archive.tar.4242.tmp"},
        {u"C:/a/.hidden", u"C:/a/.hidden.4242.tmp"},  // a leading dot starts no extension
        {u"photo.", u"photo.4242.tmp"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(trace(row.target));
        EXPECT_EQ(temporary_path(row.target, 4242), row.temporary);
    }
}

TEST(ImageFormatFromExtension, KnowsPngAndJpegInAnyCase) {
    struct Row { const char16_t* path; std::optional<ImageFormat> format; };
    const Row rows[] = {
        {u"C:\\x\\Photo.JPEG", ImageFormat::Jpeg},
        {u"photo.PnG", ImageFormat::Png},
        {u"C:\\dir.png\\photo", std::nullopt},
        {u"photo.webp", std::nullopt},
        {u".png", std::nullopt},
        {u"..", std::nullopt},
        {u"photo.png.txt", std::nullopt},
        // The Kelvin sign lower-cases to "k" only outside ASCII rules.
        {u"photo.j\u212Apg", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(trace(row.path));
        EXPECT_EQ(image_format_from_extension(row.path), row.format);
    }
}

TEST(NumberedNames, RecogniseDefaultNamesOnly) {
    struct Row { const char16_t* name; std::optional<std::uint64_t> number; };
    const Row rows[] = {
        {u"001.png", 1},
        {u"C:\\Pictures\\042.jpg", 42},
        {u" 5.png", 5},
        {u"BRINDLET 05.JPEG", 5},
        {u"Capture12.vexil", 12},
        {u"capture\u30005.png", 5},  // ideographic space is white space
        {u"18446744073709551615.png", 18446744073709551615ull},
        {u"18446744073709551616.png", std::nullopt},
        {u"brindlet.png", std::nullopt},
        {u"brindletcapture5.png", std::nullopt},
        {u"capture .png", std::nullopt},
        {u"12a.png", std::nullopt},
        {u"1 2.png", std::nullopt},
        {u"5 .png", std::nullopt},
        {u"007.bmp", std::nullopt},
        {u"\xD800" u"5.png", std::nullopt},
        {u"..", std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(trace(row.name));
        EXPECT_EQ(classify_save_name(row.name), row.number);
    }
}

TEST(NumberedNames, NextNameIsPaddedToThreeDigitsUntilExhausted) {
    EXPECT_EQ(numbered_file_name(0, ImageFormat::Png), u"001.png");
    EXPECT_EQ(numbered_file_name(41, ImageFormat::Jpeg), u"042.jpg");
    EXPECT_EQ(numbered_file_name(999, ImageFormat::Png), u"1000.png");
    EXPECT_EQ(numbered_file_name(18446744073709551614ull, ImageFormat::Png), u"18446744073709551615.png");
    EXPECT_EQ(numbered_file_name(18446744073709551615ull, ImageFormat::Png), std::nullopt);
    // Every name handed out is recognised as the number it stands for.
    for (std::uint64_t n : {0ull, 8ull, 99ull, 12345ull})
        EXPECT_EQ(classify_save_name(*numbered_file_name(n, n % 2 == 0 ? ImageFormat::Jpeg : ImageFormat::Png)), n + 1);
}

}  // namespace
}  // namespace glimmerly
