#include "core/lens/lens_page.h"

#include <gtest/gtest.h>

#include "core/base/base64.h"

namespace glimmerly {
namespace {

TEST(LensPage, IsExactlyThePageThatSubmitsThePicture) {
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 0xFF};
    const LensPageInput input{1, "Sending <b>\"it\"</b> & 'more'...", "No <script>", 1'700'000'000'123, png};
    const std::string expected =
        "<!doctype html>\n"
        "<html lang=\"zh-Hans\"><meta charset=\"utf-8\"><title>Google Lens</title>\n"
        "<body style=\"background:#202124;color:#e8eaed;font:15px 'Segoe UI',sans-serif;margin:40px\">\n"
        "<p>Sending &lt;b&gt;&quot;it&quot;&lt;/b&gt; &amp; 'more'...</p>\n"
        "<noscript><p>No &lt;script&gt;</p></noscript>\n"
        "<form id=\"lens\" method=\"post\" enctype=\"multipart/form-data\" "
        "action=\"https://lens.google.com/v3/upload?ep=cntpubb&amp;hl=zh-CN&amp;st=1700000000123\">\n"
        "<input id=\"image\" type=\"file\" name=\"encoded_image\" accept=\"image/png\" hidden>\n"
        "</form>\n"
        "<script>\n"
        "const text = atob(\"iVBOR/8=\");\n"
        "const bytes = new Uint8Array(text.length);\n"
        "for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);\n"
        "const files = new DataTransfer();\n"
        "files.items.add(new File([bytes], \"capture.png\", { type: \"image/png\" }));\n"
        "document.getElementById(\"image\").files = files.files;\n"
        "document.getElementById(\"lens\").submit();\n"
        "</script>\n";
    EXPECT_EQ(lens_page_text(input), expected);
}

TEST(LensPage, EscapesTheFiveSpecialCharactersButTheApostrophe) {
    struct Row {
        const char* name;
        std::string_view text, escaped;
    };
    const Row rows[] = {
        {"plain", "Google Lens", "Google Lens"},
        {"ampersand first, so references are not escaped twice", "&lt;", "&amp;lt;"},
        {"brackets and quote", "<a href=\"x\">", "&lt;a href=&quot;x&quot;&gt;"},
        {"apostrophe stays", "l'image", "l'image"},
        {"UTF-8 untouched", "Отправка…", "Отправка…"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(escape_html(row.text), row.escaped);
    }
}

TEST(Base64, EncodesTheStandardVectorsWithPadding) {
    struct Row {
        std::string_view bytes, encoded;
    };
    const Row rows[] = {{"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},       {"foo", "Zm9v"},
                        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF", "+/8="}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.bytes);
        const auto* data = reinterpret_cast<const std::uint8_t*>(row.bytes.data());
        EXPECT_EQ(base64_encode({data, row.bytes.size()}), row.encoded);
    }
}

TEST(LensPage, NamesEachLanguageForThePageAndForTheUpload) {
    struct Row {
        Language language;
        std::string_view page, query;
    };
    const Row rows[] = {{0, "en", "en"},           {1, "zh-Hans", "zh-CN"}, {4, "pt-BR", "pt-BR"},
                        {10, "zh-Hant", "zh-TW"}, {14, "cs", "cs"},       {LANGUAGE_AUTO, "en", "en"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.page);
        EXPECT_EQ(lens_page_language_tag(row.language), row.page);
        EXPECT_EQ(lens_query_language_tag(row.language), row.query);
    }
}

TEST(LensPage, OnlyLensPagesAreTakenForPages) {
    struct Row {
        const char* name;
        std::u16string path;
        bool page;
    };
    const Row rows[] = {
        {"a written page", u"C:\\Temp\\Glimmerly\\" + lens_page_name(4242, 1'700'000'000'000'000'000), true},
        {"a bare name", u"lens-1.html", true},
        {"htm", u"C:\\Temp\\Glimmerly\\lens-1.htm", false},
        {"HTML", u"C:\\Temp\\Glimmerly\\lens-1.HTML", false},
        {"a capital L", u"C:\\Temp\\Glimmerly\\Lens-1.html", false},
        {"no prefix", u"C:\\Temp\\Glimmerly\\capture.html", false},
        {"a folder path", u"C:\\Temp\\Glimmerly\\", false},
        {"an unpaired surrogate", std::u16string(u"lens-") + char16_t(0xD800) + u".html", false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(is_lens_page_file(row.path), row.page);
    }
    EXPECT_EQ(lens_page_name(4242, 17), u"lens-4242-17.html");
}

TEST(LensPage, LeftoverPagesGoAtSixtySecondsAndPicturesAtTwentyMebibytes) {
    constexpr std::uint64_t kSecond = 10'000'000, kNow = 100'000 * kSecond;
    struct Row {
        const char* name;
        std::uint64_t written;
        bool expired;
    };
    const Row rows[] = {{"59 s old", kNow - 59 * kSecond, false},
                        {"60 s old", kNow - 60 * kSecond, true},
                        {"an hour old", kNow - 3600 * kSecond, true},
                        {"written in the future", kNow + kSecond, false}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(lens_page_expired(kNow, row.written), row.expired);
    }
    EXPECT_TRUE(lens_png_fits(20'971'520));
    EXPECT_FALSE(lens_png_fits(20'971'521));
}

}  // namespace
}  // namespace glimmerly
