#pragma once
// The image-search hand-off page: a small HTML file that carries the capture
// as Base64 and, opened in a browser, posts it to Google Lens as a multipart
// form. The program itself never talks to the network; the page is written
// into its folder under the temporary folder and deleted a minute later.

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "text/text_table.h"

namespace glimmerly {

// Google Lens refuses larger uploads; a PNG of exactly this size still goes.
inline constexpr std::uint64_t LENS_MAX_PNG_BYTES = 20'971'520;
constexpr bool lens_png_fits(std::uint64_t png_bytes) { return png_bytes <= LENS_MAX_PNG_BYTES; }

// Pages at least this old are left over by a hand-off whose forget process
// never ran, and the next page's clean-up deletes them.
inline constexpr std::uint64_t LENS_PAGE_LIFETIME_SECONDS = 60;

// Times in 100-ns units (the platform's file times). A page written "in the
// future" (a clock set back) is kept: its age is unknown.
constexpr bool lens_page_expired(std::uint64_t now, std::uint64_t last_write) {
    return now >= last_write && now - last_write >= LENS_PAGE_LIFETIME_SECONDS * 10'000'000;
}

// "&" "<" ">" and the double quote as character references, in that order;
// apostrophes stay (the page quotes its attributes with double quotes).
std::string escape_html(std::string_view text);

// The page's lang attribute ("zh-Hans") and the upload's hl parameter
// ("zh-CN") of a language; English for a language past the table.
std::string_view lens_page_language_tag(Language language);
std::string_view lens_query_language_tag(Language language);

struct LensPageInput {
    Language language = LANGUAGE_ENGLISH;
    std::string_view sending;       // shown while the form goes, unescaped
    std::string_view needs_script;  // shown without JavaScript, unescaped
    std::uint64_t clock_ms = 0;     // milliseconds since 1970, the upload's st parameter
    std::span<const std::uint8_t> png;
};

// The whole page, each line ended by a line feed.
std::string lens_page_text(const LensPageInput& input);

// "lens-<process id>-<nanoseconds since 1970>.html".
std::u16string lens_page_name(std::uint32_t process_id, std::uint64_t clock_ns);

// Whether the path names a page of this kind: a file name that is valid
// UTF-16, begins with "lens-" and has the extension "html" exactly (case
// counts). The clean-up and the forget process delete nothing else.
bool is_lens_page_file(std::u16string_view path);

}  // namespace glimmerly
