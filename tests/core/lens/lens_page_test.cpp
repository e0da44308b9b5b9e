#include "core/lens/lens_page.h"

#include <gtest/gtest.h>

#include "core/base/base64.h"

namespace glimmerly {
namespace {

TEST(LensPage, IsExactlyThePageThatSubmitsThePicture) {
    const std::uint8_t png[] = {0x89, 'P', 'N', 'G', 0xFF};
    const LensPageInput input{1, "Sending <b>\"it\"</b> & 'more'...", "No <script>", 1'700'000'000'123, png};
    EXPECT_EQ(lens_page_text(input),
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
              "</script>\n");
}

TEST(LensPage, EscapesTheSpecialCharactersButTheApostrophe) {
    EXPECT_EQ(escape_html("Google Lens"), "Google Lens");
    EXPECT_EQ(escape_html("&lt;"), "&amp;lt;");  // the ampersand first: nothing is escaped twice
    EXPECT_EQ(escape_html("<a href=\"x\">"), "&lt;a href=&quot;x&quot;&gt;");
    EXPECT_EQ(escape_html("l'image Отправка…"), "l'image Отправка…");
}

TEST(Base64, EncodesTheStandardVectorsWithPadding) {
    const std::pair<std::string_view, std::string_view> rows[] = {
        {"", ""},         {"f", "Zg=="},         {"fo", "Zm8="},         {"foo", "Zm9v"},
        {"foob", "Zm9vYg=="}, {"fooba", "Zm9vYmE="}, {"foobar", "Zm9vYmFy"}, {"\xFB\xFF", "+/8="}};
    for (const auto& [bytes, encoded] : rows) {
        SCOPED_TRACE(bytes);
        EXPECT_EQ(base64_encode({reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()}), encoded);
    }
}

// The two tags come from the languages' own tables; a language that is none
// must still read inside them.
TEST(LensPage, NamesTheLanguageForThePageAndForTheUploadAndEnglishForNone) {
    EXPECT_EQ(lens_page_language_tag(10), "zh-Hant");
    EXPECT_EQ(lens_query_language_tag(10), "zh-TW");
    EXPECT_EQ(lens_page_language_tag(LANGUAGE_AUTO), "en");
    EXPECT_EQ(lens_query_language_tag(LANGUAGE_AUTO), "en");
}

TEST(LensPage, OnlyLensPagesAreTakenForPages) {
    const std::u16string folder = u"C:\\Temp\\Glimmerly\\";
    const std::pair<std::u16string, bool> rows[] = {
        {folder + lens_page_name(4242, 1'700'000'000'000'000'000), true},
        {u"lens-1.html", true},
        {folder + u"lens-1.htm", false},
        {folder + u"lens-1.HTML", false},
        {folder + u"Lens-1.html", false},
        {folder + u"capture.html", false},
        {folder, false},
        {u"lens-" + std::u16string(1, char16_t(0xD800)) + u".html", false}};
    for (const auto& [path, page] : rows) {
        SCOPED_TRACE(std::string(path.begin(), path.end()));
        EXPECT_EQ(is_lens_page_file(path), page);
    }
}

TEST(LensPage, LeftoverPagesGoAtSixtySecondsAndPicturesAtTwentyMebibytes) {
    constexpr std::uint64_t kSecond = 10'000'000, kNow = 100'000 * kSecond;
    EXPECT_FALSE(lens_page_expired(kNow, kNow - 59 * kSecond));
    EXPECT_TRUE(lens_page_expired(kNow, kNow - 60 * kSecond));
    EXPECT_TRUE(lens_page_expired(kNow, kNow - 3600 * kSecond));
    EXPECT_FALSE(lens_page_expired(kNow, kNow + kSecond));  // written "in the future": age unknown
    EXPECT_TRUE(lens_png_fits(20'971'520));
    EXPECT_FALSE(lens_png_fits(20'971'521));
}

}  // namespace
}  // namespace glimmerly
