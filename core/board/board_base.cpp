#include "core/board/board_base.h"

#include <new>

#include "core/base/utf.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

constexpr std::string_view kFormatWord = "glimmerly-board-base";
constexpr std::uint32_t kBaseVersion = 1;

Failure damaged() { return make_app_error(TextId::error_board_base_damaged); }

// An optional "+", then one or more decimal digits, within 32 bits.
std::optional<std::uint32_t> parse_number(std::string_view text) {
    if (!text.empty() && text.front() == '+') text.remove_prefix(1);
    if (text.empty()) return std::nullopt;
    std::uint64_t value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') return std::nullopt;
        value = value * 10 + static_cast<std::uint64_t>(c - '0');
        if (value > 0xFFFFFFFFu) return std::nullopt;
    }
    return static_cast<std::uint32_t>(value);
}

std::optional<std::uint8_t> hex_digit(char c) {
    if (c >= '0' && c <= '9') return static_cast<std::uint8_t>(c - '0');
    if (c >= 'a' && c <= 'f') return static_cast<std::uint8_t>(c - 'a' + 10);
    if (c >= 'A' && c <= 'F') return static_cast<std::uint8_t>(c - 'A' + 10);
    return std::nullopt;
}

std::optional<std::uint8_t> hex_byte(std::string_view two) {
    const auto high = hex_digit(two[0]), low = hex_digit(two[1]);
    if (!high || !low) return std::nullopt;
    return static_cast<std::uint8_t>(*high << 4 | *low);
}

void append_hex_byte(std::string& out, std::uint8_t byte) {
    constexpr char kDigits[] = "0123456789abcdef";
    out += kDigits[byte >> 4];
    out += kDigits[byte & 15];
}

bool take_prefix(std::string_view line, std::string_view prefix, std::string_view& rest) {
    if (line.substr(0, prefix.size()) != prefix) return false;
    rest = line.substr(prefix.size());
    return true;
}

// The rest of an image or baked line: empty is none. The text was checked
// to be UTF-8 as a whole, so the conversion cannot fail.
std::optional<std::u16string> path_of(std::string_view text) {
    if (text.empty()) return std::nullopt;
    return utf8_to_utf16_lossy(text);
}

std::string_view next_code_point(std::string_view text, char32_t& c) {
    const auto b0 = static_cast<unsigned char>(text[0]);
    std::size_t length = b0 < 0x80 ? 1 : b0 < 0xE0 ? 2 : b0 < 0xF0 ? 3 : 4;
    if (length > text.size()) length = text.size();
    c = length == 1 ? b0 : length == 2 ? (b0 & 0x1Fu) : length == 3 ? (b0 & 0x0Fu) : (b0 & 0x07u);
    for (std::size_t i = 1; i < length; ++i) c = c << 6 | (static_cast<unsigned char>(text[i]) & 0x3Fu);
    return text.substr(length);
}

Result<BoardBase> parse(std::string_view text) {
    if (!is_valid_utf8(text)) return plain_failure("base.txt is not UTF-8 text");
    if (text.empty() || text.back() != '\n') return damaged();
    text.remove_suffix(1);
    std::vector<std::string_view> lines;
    for (;;) {
        const std::size_t end = text.find('\n');
        lines.push_back(text.substr(0, end));
        if (end == std::string_view::npos) break;
        text.remove_prefix(end + 1);
    }
    if (lines.size() < 3) return damaged();

    const std::string_view header = lines[0];
    if (header.size() < kFormatWord.size() + 2 || header.substr(0, kFormatWord.size()) != kFormatWord ||
        header[kFormatWord.size()] != ' ' || parse_number(header.substr(kFormatWord.size() + 1)) != kBaseVersion)
        return damaged();

    BoardBase base;
    std::string_view rest;
    if (!take_prefix(lines[1], "position ", rest)) return damaged();
    const auto position = parse_number(rest);
    if (!position || *position > 5) return damaged();
    base.position = static_cast<WallpaperPosition>(*position);

    if (lines[2].size() != 12 || !take_prefix(lines[2], "color ", rest)) return damaged();
    const auto r = hex_byte(rest.substr(0, 2)), g = hex_byte(rest.substr(2, 2)), b = hex_byte(rest.substr(4, 2));
    if (!r || !g || !b) return damaged();
    base.colour = Rgb{*r, *g, *b};

    for (std::size_t i = 3; i < lines.size(); i += 3) {
        if (i + 2 >= lines.size()) return damaged();
        std::string_view id, image, baked;
        if (!take_prefix(lines[i], "screen ", id) || !take_prefix(lines[i + 1], "image ", image) ||
            !take_prefix(lines[i + 2], "baked ", baked) || !is_valid_screen_id(id))
            return damaged();
        base.screens.push_back({std::string(id), path_of(image), path_of(baked)});
    }
    return base;
}

}  // namespace

BoardBaseScreen* find_base_screen(BoardBase& base, std::string_view id) {
    for (BoardBaseScreen& screen : base.screens)
        if (screen.screen == id) return &screen;
    return nullptr;
}

const BoardBaseScreen* find_base_screen(const BoardBase& base, std::string_view id) {
    for (const BoardBaseScreen& screen : base.screens)
        if (screen.screen == id) return &screen;
    return nullptr;
}

bool is_unicode_white_space(char32_t c) {
    return (c >= 0x09 && c <= 0x0D) || c == 0x20 || c == 0x85 || c == 0xA0 || c == 0x1680 ||
           (c >= 0x2000 && c <= 0x200A) || c == 0x2028 || c == 0x2029 || c == 0x202F || c == 0x205F ||
           c == 0x3000;
}

bool is_valid_screen_id(std::string_view id) {
    if (id.empty() || !is_valid_utf8(id)) return false;
    while (!id.empty()) {
        char32_t c = 0;
        id = next_code_point(id, c);
        if (is_unicode_white_space(c)) return false;
    }
    return true;
}

std::string format_board_base(const BoardBase& base) {
    std::string text(kFormatWord);
    text += ' ' + std::to_string(kBaseVersion) + '\n';
    text += "position " + std::to_string(static_cast<unsigned>(base.position)) + '\n';
    text += "color ";
    append_hex_byte(text, base.colour.r);
    append_hex_byte(text, base.colour.g);
    append_hex_byte(text, base.colour.b);
    text += '\n';
    for (const BoardBaseScreen& screen : base.screens) {
        text += "screen " + screen.screen + '\n';
        text += "image " + (screen.image ? utf16_to_utf8(*screen.image) : std::string()) + '\n';
        text += "baked " + (screen.baked ? utf16_to_utf8(*screen.baked) : std::string()) + '\n';
    }
    return text;
}

Result<BoardBase> parse_board_base(std::string_view text) {
    try {
        return parse(text);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Reading the board base");
    }
}

}  // namespace glimmerly
