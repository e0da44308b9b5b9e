#include "core/lens/lens_page.h"

#include <array>

#include "core/base/base64.h"
#include "core/base/utf.h"
#include "core/paths/path_names.h"

namespace glimmerly {
namespace {

constexpr std::array<std::string_view, LANGUAGE_COUNT> kQueryTags = {
    "en", "zh-CN", "ru", "es", "pt-BR", "de", "ja", "fr", "pl", "ko", "zh-TW", "tr", "uk", "it", "cs"};

constexpr std::string_view kUploadAddress = "https://lens.google.com/v3/upload?ep=cntpubb";

}  // namespace

std::string escape_html(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        switch (c) {
            case '&': out += "&amp;"; break;
            case '<': out += "&lt;"; break;
            case '>': out += "&gt;"; break;
            case '"': out += "&quot;"; break;
            default: out += c;
        }
    }
    return out;
}

std::string_view lens_page_language_tag(Language language) {
    return LANGUAGE_CODES[language < LANGUAGE_COUNT ? language : LANGUAGE_ENGLISH];
}

std::string_view lens_query_language_tag(Language language) {
    return kQueryTags[language < LANGUAGE_COUNT ? language : LANGUAGE_ENGLISH];
}

std::string lens_page_text(const LensPageInput& input) {
    // Only "&" needs escaping inside the address: it holds no other
    // character that HTML treats specially.
    const std::string action = std::string(kUploadAddress) + "&amp;hl=" +
                               std::string(lens_query_language_tag(input.language)) +
                               "&amp;st=" + std::to_string(input.clock_ms);
    std::string page;
    page.reserve(input.png.size() / 3 * 4 + 1400);
    page += "<!doctype html>\n";
    page += "<html lang=\"" + std::string(lens_page_language_tag(input.language)) +
            "\"><meta charset=\"utf-8\"><title>Google Lens</title>\n";
    page += "<body style=\"background:#202124;color:#e8eaed;font:15px 'Segoe UI',sans-serif;margin:40px\">\n";
    page += "<p>" + escape_html(input.sending) + "</p>\n";
    page += "<noscript><p>" + escape_html(input.needs_script) + "</p></noscript>\n";
    page += "<form id=\"lens\" method=\"post\" enctype=\"multipart/form-data\" action=\"" + action + "\">\n";
    page += "<input id=\"image\" type=\"file\" name=\"encoded_image\" accept=\"image/png\" hidden>\n";
    page += "</form>\n";
    page += "<script>\n";
    page += "const text = atob(\"" + base64_encode(input.png) + "\");\n";
    page += "const bytes = new Uint8Array(text.length);\n";
    page += "for (let i = 0; i < text.length; i++) bytes[i] = text.charCodeAt(i);\n";
    page += "const files = new DataTransfer();\n";
    page += "files.items.add(new File([bytes], \"capture.png\", { type: \"image/png\" }));\n";
    page += "document.getElementById(\"image\").files = files.files;\n";
    page += "document.getElementById(\"lens\").submit();\n";
    page += "</script>\n";
    return page;
}

std::u16string lens_page_name(std::uint32_t process_id, std::uint64_t clock_ns) {
    const std::string name = "lens-" + std::to_string(process_id) + "-" + std::to_string(clock_ns) + ".html";
    return std::u16string(name.begin(), name.end());
}

bool is_lens_page_file(std::u16string_view path) {
    const std::u16string_view name = file_name_of(path);
    if (name.empty() || !name.starts_with(u"lens-")) return false;
    // An unpaired surrogate does not survive the trip through UTF-8.
    const auto round_trip = utf8_to_utf16(utf16_to_utf8(name));
    if (!round_trip || *round_trip != name) return false;
    const auto extension = extension_of(name);
    return extension && *extension == u"html";
}

}  // namespace glimmerly
