#include "core/document/scene_text.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <concepts>
#include <cstring>
#include <limits>
#include <new>
#include <utility>
#include <vector>

#include "core/base/utf.h"
#include "core/base/stored_values.h"

namespace glimmerly {
namespace {

// ---- Writing -----------------------------------------------------------------

// The shortest digits of the scientific form laid out without an exponent.
// (Fixed notation from to_chars would spell out every exact digit of a large
// value rather than the shortest ones.) At most 330 characters: 309 digits
// of the largest value, or 324 after "0." for the smallest.
char* layout_from_scientific(char* out, double value) {
    char buffer[32];
    const auto [end, error] = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::scientific);
    if (error != std::errc{}) return out;
    std::string_view form(buffer, static_cast<std::size_t>(end - buffer));
    if (!std::isfinite(value)) return std::copy(form.begin(), form.end(), out);  // never read back: validation refuses such scenes
    if (form.front() == '-') {
        *out++ = '-';
        form.remove_prefix(1);
    }
    const std::size_t e = form.find('e');
    char digits[24];
    std::size_t count = 0;
    for (const char c : form.substr(0, e))
        if (c != '.') digits[count++] = c;
    int exponent = 0;
    std::from_chars(form.data() + e + 1 + (form[e + 1] == '+'), form.data() + form.size(), exponent);
    // Digits before the decimal point.
    const long point = long{exponent} + 1;
    if (count == 1 && digits[0] == '0') {
        *out++ = '0';
    } else if (point <= 0) {
        *out++ = '0';
        *out++ = '.';
        out = std::fill_n(out, -point, '0');
        out = std::copy_n(digits, count, out);
    } else if (static_cast<std::size_t>(point) >= count) {
        out = std::copy_n(digits, count, out);
        out = std::fill_n(out, static_cast<std::size_t>(point) - count, '0');
    } else {
        out = std::copy_n(digits, point, out);
        *out++ = '.';
        out = std::copy_n(digits + point, count - static_cast<std::size_t>(point), out);
    }
    return out;
}

constexpr std::size_t kMaxNumberChars = 336;

// Builds the text in a string sized ahead of it, so that each piece is a
// copy of a known length into room already there. Appending piece by piece
// cost a library call and a copy per piece: a third of the writing time.
class TextWriter {
public:
    explicit TextWriter(std::string& out) : out_(out), used_(out.size()) {}
    TextWriter(const TextWriter&) = delete;
    TextWriter& operator=(const TextWriter&) = delete;
    ~TextWriter() { out_.resize(used_); }  // a shrink, which cannot fail

    // Room for about this many more characters at once, so that a long
    // text is not copied again each time it outgrows its room.
    void expect(std::size_t characters) { room(characters); }

    template <std::size_t N>
    void literal(const char (&text)[N]) {
        std::memcpy(room(N - 1), text, N - 1);
        used_ += N - 1;
    }
    void put(char c) {
        *room(1) = c;
        ++used_;
    }
    void put(std::string_view text) {
        std::memcpy(room(text.size()), text.data(), text.size());
        used_ += text.size();
    }
    template <std::integral Integer>
    void decimal(Integer value) {
        char* at = room(24);
        advance(std::to_chars(at, at + 24, value).ptr);
    }
    void number(double value) {
        char* at = room(kMaxNumberChars);
        // Below 2^53 the shortest form of to_chars, when it is not the
        // exponent form, is exactly the shortest digits laid out without an
        // exponent, and that is nearly every coordinate a scene holds. Above,
        // its plain form spells out every exact digit of the value instead.
        if (std::abs(value) < 0x1p53) {
            const auto [end, error] = std::to_chars(at, at + kMaxNumberChars, value);
            // An exponent has two or three digits after "e" and its sign.
            const auto length = end - at;
            const bool exponent = (length >= 4 && end[-4] == 'e') || (length >= 5 && end[-5] == 'e');
            if (error == std::errc{} && !exponent) {
                advance(end);
                return;
            }
        }
        advance(layout_from_scientific(at, value));
    }
    void hex_byte(std::uint8_t byte) {
        char* at = room(2);
        at[0] = kHex[byte >> 4];
        at[1] = kHex[byte & 15];
        used_ += 2;
    }
    void rgb(Rgb colour) {
        hex_byte(colour.r);
        hex_byte(colour.g);
        hex_byte(colour.b);
    }
    void hex_text(std::string_view text) {
        char* at = room(2 * text.size());
        for (const char ch : text) {
            const auto byte = static_cast<std::uint8_t>(ch);
            *at++ = kHex[byte >> 4];
            *at++ = kHex[byte & 15];
        }
        advance(at);
    }

private:
    static constexpr char kHex[] = "0123456789abcdef";

    char* room(std::size_t n) {
        if (out_.size() - used_ < n) out_.resize(std::max(2 * out_.size(), used_ + n + 4096));
        return out_.data() + used_;
    }
    void advance(const char* end) { used_ = static_cast<std::size_t>(end - out_.data()); }

    std::string& out_;
    std::size_t used_;  // the text; the string runs on past it with room
};

// About the length of the scene's text: numbers of shortest form mostly take
// up to 18 characters with their separator. An estimate only; the writer
// makes more room should it fall short.
std::size_t expected_length(const Scene& scene) {
    std::size_t length = 128 + 12 * scene.background.size();
    for (const SceneObject& object : scene.objects) {
        length += 160 + 24 * object.fill.size();
        if (const StrokePayload* stroke = as_stroke(object))
            length += 36 * stroke->points.size() + 18 * stroke->widths.size();
        else if (const TextPayload* text = as_text(object))
            length += 2 * text->text.size();
    }
    return length;
}

void write_pair(TextWriter& out, Point p) {
    out.number(p.x);
    out.put(',');
    out.number(p.y);
}

void write_box(TextWriter& out, const Box& box) {
    out.number(box.left);
    out.put(',');
    out.number(box.top);
    out.put(',');
    out.number(box.right);
    out.put(',');
    out.number(box.bottom);
}

void write_attachment(TextWriter& out, const ObjectAttachment& attachment) {
    out.decimal(attachment.id);
    out.put(',');
    write_pair(out, attachment.point);
}

void write_fill_list(TextWriter& out, std::span<const FillRegion> regions) {
    for (std::size_t i = 0; i < regions.size(); ++i) {
        if (i) out.put(';');
        out.rgb(regions[i].color);
        for (std::size_t k = 0; k < regions[i].ids.size(); ++k) {
            out.put(k == 0 ? '/' : ',');
            out.decimal(regions[i].ids[k]);
        }
    }
}

bool bend_is_zero(Point bend) { return bend.x == 0.0 && bend.y == 0.0; }  // NaN is not zero

void write_object(TextWriter& out, const SceneObject& object) {
    out.literal("object id=");
    out.decimal(object.id);
    out.literal(" kind=");
    out.put(object_kind_word(object.kind()));
    out.literal(" color=");
    out.rgb(object.color);
    out.literal(" width=");
    out.number(object.width);
    out.literal(" rotation=");
    out.number(object.rotation);
    if (!object.fill.empty()) {
        out.literal(" fill=");
        write_fill_list(out, object.fill);
    }
    switch (object.kind()) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::Blur:
        out.literal(" rect=");
        write_box(out, *object_rect(object));
        break;
    case ObjectKind::Arrow: {
        const LinePayload& line = std::get<LinePayload>(object.payload);
        out.literal(" from=");
        write_pair(out, line.from);
        out.literal(" to=");
        write_pair(out, line.to);
        if (line.head)
            out.literal(" head=1");
        else
            out.literal(" head=0");
        if (line.elbow) {
            out.literal(" elbow=1");
        } else if (!bend_is_zero(line.bend)) {
            out.literal(" bend=");
            write_pair(out, line.bend);
        }
        if (line.start) {
            out.literal(" start=");
            write_attachment(out, *line.start);
        }
        if (line.end) {
            out.literal(" end=");
            write_attachment(out, *line.end);
        }
        break;
    }
    case ObjectKind::Stroke: {
        const StrokePayload& stroke = std::get<StrokePayload>(object.payload);
        if (stroke.highlight)
            out.literal(" highlight=1");
        else
            out.literal(" highlight=0");
        out.literal(" points=");
        for (std::size_t i = 0; i < stroke.points.size(); ++i) {
            if (i) out.put(';');
            write_pair(out, stroke.points[i]);
        }
        if (!stroke.widths.empty()) {
            out.literal(" widths=");
            for (std::size_t i = 0; i < stroke.widths.size(); ++i) {
                if (i) out.put(';');
                out.number(stroke.widths[i]);
            }
        }
        break;
    }
    case ObjectKind::Text: {
        const TextPayload& text = std::get<TextPayload>(object.payload);
        out.literal(" at=");
        write_pair(out, text.at);
        out.literal(" size=");
        out.number(text.size);
        out.literal(" extent=");
        write_pair(out, {text.extent.w, text.extent.h});
        if (text.label.kind == LabelKind::Fit) {
            out.literal(" label=fit");
        } else if (text.label.kind == LabelKind::Wrap) {
            out.literal(" label=wrap:");
            out.number(text.label.wrap_width);
        }
        if (text.ink) {
            out.literal(" ink=");
            out.rgb(*text.ink);
        }
        out.literal(" text=");
        out.hex_text(text.text);
        break;
    }
    }
    out.put('\n');
}

// ---- Reading: values ---------------------------------------------------------

// Calls `each` with every piece of `list` between separators; false as soon
// as one call is.
template <class Each>
bool for_each_piece(std::string_view list, char separator, Each&& each) {
    std::size_t start = 0;
    while (true) {
        const std::size_t end = list.find(separator, start);
        if (end == std::string_view::npos) return each(list.substr(start));
        if (!each(list.substr(start, end - start))) return false;
        start = end + 1;
    }
}

std::size_t piece_count(std::string_view list, char separator) {
    std::size_t count = 1;
    for (const char c : list) count += c == separator;
    return count;
}

std::optional<std::int32_t> parse_i32(std::string_view s) {
    const bool negative = !s.empty() && s.front() == '-';
    if (negative) {
        s.remove_prefix(1);
        if (!s.empty() && s.front() == '+') return std::nullopt;  // "-+5"
    }
    const auto magnitude = parse_decimal_u64(s);
    if (!magnitude) return std::nullopt;
    const std::uint64_t limit = negative ? std::uint64_t{1} << 31 : (std::uint64_t{1} << 31) - 1;
    if (*magnitude > limit) return std::nullopt;
    return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(*magnitude))
                    : static_cast<std::int32_t>(*magnitude);
}

// A decimal literal at `first`: optional sign, digits with an optional
// fraction (at least one digit in all), an optional exponent. No words
// ("inf", "nan"), no hexadecimal; a value out of the f64 range is refused.
// from_chars reads just that grammar once the words are refused as
// non-finite, except that it takes no leading "+", so one is stripped here
// and a second sign refused. Where the literal ends, or null when there is
// none.
const char* scan_f64(const char* first, const char* last, double& value) {
    if (first != last && *first == '+' && (++first == last || *first == '-')) return nullptr;
    const auto [end, error] = std::from_chars(first, last, value);
    if (error != std::errc{} || !std::isfinite(value)) return nullptr;
    return end;
}

std::optional<double> parse_f64(std::string_view s) {
    double value = 0.0;
    if (scan_f64(s.data(), s.data() + s.size(), value) != s.data() + s.size()) return std::nullopt;
    return value;
}

// `N` numbers separated by ",", read straight through rather than split
// first (a number never holds a comma); where they end, or null.
template <std::size_t N>
const char* scan_numbers(const char* first, const char* last, std::array<double, N>& values) {
    for (std::size_t i = 0; i < N; ++i) {
        if (i > 0) {
            if (first == last || *first != ',') return nullptr;
            ++first;
        }
        first = scan_f64(first, last, values[i]);
        if (!first) return nullptr;
    }
    return first;
}

// Exactly `N` comma-separated numbers.
template <std::size_t N>
std::optional<std::array<double, N>> parse_numbers(std::string_view s) {
    std::array<double, N> values{};
    if (scan_numbers(s.data(), s.data() + s.size(), values) != s.data() + s.size()) return std::nullopt;
    return values;
}

// Calls `each` with every item of a ";"-separated list, each item `N` numbers
// separated by ","; false when an item is not exactly that.
template <std::size_t N, class Each>
bool for_each_number_item(std::string_view list, Each&& each) {
    const char* at = list.data();
    const char* const last = at + list.size();
    std::array<double, N> values{};
    while (true) {
        at = scan_numbers(at, last, values);
        if (!at) return false;
        each(values);
        if (at == last) return true;
        if (*at != ';') return false;
        ++at;
    }
}

std::optional<Point> parse_point(std::string_view s) {
    const auto values = parse_numbers<2>(s);
    if (!values) return std::nullopt;
    return Point{(*values)[0], (*values)[1]};
}

std::optional<Box> parse_box(std::string_view s) {
    const auto values = parse_numbers<4>(s);
    if (!values) return std::nullopt;
    return Box{(*values)[0], (*values)[1], (*values)[2], (*values)[3]};
}

// "id,x,y".
std::optional<ObjectAttachment> parse_attachment(std::string_view s) {
    const std::size_t comma = s.find(',');
    if (comma == std::string_view::npos) return std::nullopt;
    const auto id = parse_decimal_u64(s.substr(0, comma));
    const auto point = parse_point(s.substr(comma + 1));
    if (!id || !point) return std::nullopt;
    return ObjectAttachment{*id, *point};
}

std::optional<std::string> parse_hex_text(std::string_view s) {
    if (s.size() > kMaxTextHexDigits || s.size() % 2 != 0) return std::nullopt;
    std::string text(s.size() / 2, '\0');
    for (std::size_t i = 0; i < text.size(); ++i) {
        const int high = hex_digit_value(s[2 * i]);
        const int low = hex_digit_value(s[2 * i + 1]);
        if (high < 0 || low < 0) return std::nullopt;
        text[i] = static_cast<char>(high * 16 + low);
    }
    if (!is_valid_utf8(text)) return std::nullopt;
    return text;
}

// "keyword f1 f2 ...": exactly `N` fields, each separated by one space.
template <std::size_t N>
std::optional<std::array<std::string_view, N>> split_fields(std::string_view line, std::string_view keyword) {
    if (line.size() <= keyword.size() || line.substr(0, keyword.size()) != keyword || line[keyword.size()] != ' ')
        return std::nullopt;
    std::array<std::string_view, N> fields;
    std::size_t count = 0;
    const bool ok = for_each_piece(line.substr(keyword.size() + 1), ' ', [&](std::string_view field) {
        if (count == N) return false;
        fields[count++] = field;
        return true;
    });
    if (!ok || count != N) return std::nullopt;
    return fields;
}

// ---- Reading: the text ---------------------------------------------------------

struct Token {
    std::string_view key;
    std::string_view value;
    bool taken = false;
};

class SceneTextReader {
public:
    explicit SceneTextReader(std::uint32_t version) : version_(version) { tokens_.reserve(kMaxObjectLineTokens); }

    Result<Scene> read(std::string_view text);

private:
    // Adds a list's length to the running element count; false past the cap.
    bool count_elements(std::size_t n) {
        if (n > kMaxSceneTextElements - elements_) return false;
        elements_ += n;
        return true;
    }

    std::optional<std::vector<FillRegion>> read_fill_list(std::string_view list);
    std::optional<SceneObject> read_object(std::string_view line);
    std::optional<std::string_view> take(std::string_view key);
    bool read_line_payload(LinePayload& line);
    bool read_stroke_payload(StrokePayload& stroke);
    bool read_text_payload(TextPayload& text);

    std::uint32_t version_;
    std::size_t elements_ = 0;
    std::vector<Token> tokens_;  // of the object line being read; reused, never past kMaxObjectLineTokens
};

std::optional<std::vector<FillRegion>> SceneTextReader::read_fill_list(std::string_view list) {
    const std::size_t region_count = piece_count(list, ';');
    if (!count_elements(region_count)) return std::nullopt;
    std::vector<FillRegion> regions;
    regions.reserve(region_count);
    const bool ok = for_each_piece(list, ';', [&](std::string_view piece) {
        const std::size_t slash = piece.find('/');
        const auto color = parse_rgb_hex(piece.substr(0, slash));
        if (!color) return false;
        FillRegion region{{}, *color};
        if (slash != std::string_view::npos) {
            const std::string_view ids = piece.substr(slash + 1);
            if (ids.empty()) return false;
            const std::size_t id_count = piece_count(ids, ',');
            if (!count_elements(id_count)) return false;
            region.ids.reserve(id_count);
            const bool ids_ok = for_each_piece(ids, ',', [&](std::string_view field) {
                const auto id = parse_decimal_u64(field);
                if (!id) return false;
                region.ids.push_back(*id);
                return true;
            });
            if (!ids_ok) return false;
        }
        regions.push_back(std::move(region));
        return true;
    });
    if (!ok) return std::nullopt;
    if (version_ < 2 && (regions.size() > 1 || (regions.size() == 1 && !regions[0].ids.empty())))
        return std::nullopt;
    return regions;
}

std::optional<std::string_view> SceneTextReader::take(std::string_view key) {
    for (Token& token : tokens_)
        if (!token.taken && token.key == key) {
            token.taken = true;
            return token.value;
        }
    return std::nullopt;
}

bool SceneTextReader::read_line_payload(LinePayload& line) {
    const auto from = take("from");
    const auto to = take("to");
    const auto head = take("head");
    if (!from || !to || !head) return false;
    const auto from_point = parse_point(*from);
    const auto to_point = parse_point(*to);
    const auto head_flag = parse_stored_flag(*head);
    if (!from_point || !to_point || !head_flag) return false;
    line.from = *from_point;
    line.to = *to_point;
    line.head = *head_flag;
    if (const auto start = take("start")) {
        line.start = parse_attachment(*start);
        if (!line.start) return false;
    }
    if (const auto end = take("end")) {
        line.end = parse_attachment(*end);
        if (!line.end) return false;
    }
    const auto bend = version_ >= 4 ? take("bend") : std::nullopt;
    if (bend) {
        const auto point = parse_point(*bend);
        if (!point || bend_is_zero(*point)) return false;  // a straight line carries no bend
        line.bend = *point;
    }
    if (const auto elbow = version_ >= 6 ? take("elbow") : std::nullopt) {
        if (*elbow != "1" || bend) return false;
        line.elbow = true;
    }
    return true;
}

bool SceneTextReader::read_stroke_payload(StrokePayload& stroke) {
    const auto highlight = take("highlight");
    const auto points = take("points");
    if (!highlight || !points) return false;
    const auto flag = parse_stored_flag(*highlight);
    if (!flag) return false;
    stroke.highlight = *flag;

    const std::size_t point_count = piece_count(*points, ';');
    if (!count_elements(point_count)) return false;
    stroke.points.reserve(point_count);
    const bool points_ok = for_each_number_item<2>(
        *points, [&](const std::array<double, 2>& p) { stroke.points.push_back(Point{p[0], p[1]}); });
    if (!points_ok) return false;

    if (const auto widths = take("widths")) {
        const std::size_t width_count = piece_count(*widths, ';');
        if (!count_elements(width_count)) return false;
        stroke.widths.reserve(width_count);
        const bool widths_ok =
            for_each_number_item<1>(*widths, [&](const std::array<double, 1>& w) { stroke.widths.push_back(w[0]); });
        if (!widths_ok) return false;
    }
    return true;
}

bool SceneTextReader::read_text_payload(TextPayload& text) {
    const auto at = take("at");
    const auto extent = take("extent");
    const auto letters = take("text");
    const auto size = take("size");
    if (!at || !extent || !letters || !size) return false;
    const auto at_point = parse_point(*at);
    const auto extent_pair = parse_point(*extent);
    const auto size_value = parse_f64(*size);
    if (!at_point || !extent_pair || !size_value) return false;
    text.at = *at_point;
    text.extent = Size{extent_pair->x, extent_pair->y};
    text.size = *size_value;

    const auto label = version_ >= 3 ? take("label") : std::nullopt;
    if (label) {
        constexpr std::string_view kWrap = "wrap:";
        if (*label == "fit") {
            text.label = LabelMode::fit();
        } else if (label->substr(0, kWrap.size()) == kWrap) {
            const auto width = parse_f64(label->substr(kWrap.size()));
            if (!width) return false;
            text.label = LabelMode::wrap(*width);
        } else {
            return false;
        }
    }
    if (const auto ink = version_ >= 5 && label ? take("ink") : std::nullopt) {
        text.ink = parse_rgb_hex(*ink);
        if (!text.ink) return false;
    }
    auto decoded = parse_hex_text(*letters);
    if (!decoded) return false;
    // Blank texts came with version 8; an older file holding one is damaged.
    if (version_ < 8 && trimmed_len(*decoded) == 0) return false;
    text.text = std::move(*decoded);
    return true;
}

std::optional<SceneObject> SceneTextReader::read_object(std::string_view line) {
    constexpr std::string_view kPrefix = "object ";
    if (line.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
    const std::string_view rest = line.substr(kPrefix.size());
    if (rest.empty()) return std::nullopt;
    tokens_.clear();
    const bool tokens_ok = for_each_piece(rest, ' ', [&](std::string_view token) {
        const std::size_t equals = token.find('=');
        if (equals == std::string_view::npos) return false;  // an empty token has no "=" either
        if (tokens_.size() == kMaxObjectLineTokens) return false;
        tokens_.push_back(Token{token.substr(0, equals), token.substr(equals + 1)});
        return true;
    });
    if (!tokens_ok) return std::nullopt;

    const auto id = take("id");
    const auto color = take("color");
    const auto width = take("width");
    const auto rotation = take("rotation");
    const auto kind_word = take("kind");
    if (!id || !color || !width || !rotation || !kind_word) return std::nullopt;
    const auto kind = object_kind_from_word(*kind_word);
    if (!kind || (*kind == ObjectKind::Blur && version_ < 7)) return std::nullopt;

    SceneObject object;
    const auto id_value = parse_decimal_u64(*id);
    const auto color_value = parse_rgb_hex(*color);
    const auto width_value = parse_f64(*width);
    const auto rotation_value = parse_f64(*rotation);
    if (!id_value || !color_value || !width_value || !rotation_value) return std::nullopt;
    object.id = *id_value;
    object.color = *color_value;
    object.width = *width_value;
    object.rotation = *rotation_value;
    if (const auto fill = take("fill")) {
        auto regions = read_fill_list(*fill);
        if (!regions) return std::nullopt;
        object.fill = std::move(*regions);
    }

    bool payload_ok = false;
    switch (*kind) {
    case ObjectKind::Rectangle:
    case ObjectKind::Ellipse:
    case ObjectKind::Blur: {
        const auto rect_value = take("rect");
        const auto box = rect_value ? parse_box(*rect_value) : std::nullopt;
        if (!box) return std::nullopt;
        if (*kind == ObjectKind::Rectangle)
            object.payload = RectanglePayload{*box};
        else if (*kind == ObjectKind::Ellipse)
            object.payload = EllipsePayload{*box};
        else
            object.payload = BlurPayload{*box};
        payload_ok = true;
        break;
    }
    case ObjectKind::Arrow: payload_ok = read_line_payload(object.payload.emplace<LinePayload>()); break;
    case ObjectKind::Stroke: payload_ok = read_stroke_payload(object.payload.emplace<StrokePayload>()); break;
    case ObjectKind::Text: payload_ok = read_text_payload(object.payload.emplace<TextPayload>()); break;
    }
    if (!payload_ok) return std::nullopt;
    // A key this kind does not have, or one given twice.
    for (const Token& token : tokens_)
        if (!token.taken) return std::nullopt;
    return object;
}

Result<Scene> SceneTextReader::read(std::string_view text) {
    if (text.empty() || text.back() != '\n') return invalid_input("Scene text that does not end with a line feed");
    std::size_t pos = 0;
    std::size_t line_number = 0;
    // Counts a missing line too, so that a refusal names where it should be.
    const auto next_line = [&]() -> std::optional<std::string_view> {
        ++line_number;
        if (pos >= text.size()) return std::nullopt;
        const std::size_t end = text.find('\n', pos);  // always found: the text ends with one
        const std::string_view line = text.substr(pos, end - pos);
        pos = end + 1;
        return line;
    };
    const auto refused = [&] { return invalid_input("Scene text line " + std::to_string(line_number) + " is not understood"); };

    Scene scene;
    const auto frame_line = next_line();
    const auto frame = frame_line ? split_fields<2>(*frame_line, "frame") : std::nullopt;
    const auto width = frame ? parse_decimal((*frame)[0]) : std::nullopt;
    const auto height = frame ? parse_decimal((*frame)[1]) : std::nullopt;
    if (!width || !height) return refused();
    scene.frame = FrameSize{*width, *height};

    const auto origin_line = next_line();
    const auto origin = origin_line ? split_fields<2>(*origin_line, "origin") : std::nullopt;
    const auto x = origin ? parse_i32((*origin)[0]) : std::nullopt;
    const auto y = origin ? parse_i32((*origin)[1]) : std::nullopt;
    if (!x || !y) return refused();
    scene.origin = ScreenOrigin{*x, *y};

    const auto region_line = next_line();
    const auto region = region_line ? split_fields<4>(*region_line, "region") : std::nullopt;
    if (!region) return refused();
    double edges[4];
    for (int i = 0; i < 4; ++i) {
        const auto edge = parse_f64((*region)[i]);
        if (!edge) return refused();
        edges[i] = *edge;
    }
    scene.region = Box{edges[0], edges[1], edges[2], edges[3]};

    const auto last_line = next_line();
    const auto last = last_line ? split_fields<1>(*last_line, "last") : std::nullopt;
    const auto last_value = last ? parse_decimal_u64((*last)[0]) : std::nullopt;
    if (!last_value) return refused();
    scene.last = *last_value;

    constexpr std::string_view kBackground = "background ";
    if (text.substr(pos, kBackground.size()) == kBackground) {
        const std::string_view line = *next_line();
        auto regions = read_fill_list(line.substr(kBackground.size()));
        if (!regions) return refused();
        scene.background = std::move(*regions);
    }

    while (const auto line = next_line()) {
        if (scene.objects.size() >= kMaxSceneObjects) return refused();
        auto object = read_object(*line);
        if (!object) return refused();
        scene.objects.push_back(std::move(*object));
    }
    GLIM_TRY(check_scene(scene));
    return scene;
}

std::size_t fill_elements(std::span<const FillRegion> regions) {
    std::size_t count = regions.size();
    for (const FillRegion& region : regions) count += region.ids.size();
    return count;
}

bool fill_needs_version_2(std::span<const FillRegion> regions) {
    return regions.size() > 1 || (regions.size() == 1 && !regions[0].ids.empty());
}

}  // namespace

void append_number(std::string& out, double value) { TextWriter(out).number(value); }

void write_fill_regions(std::string& out, std::span<const FillRegion> regions) {
    TextWriter writer(out);
    write_fill_list(writer, regions);
}

std::string write_scene_text(const Scene& scene) {
    std::string text;
    {
        TextWriter out(text);
        out.expect(expected_length(scene));
        out.literal("frame ");
        out.decimal(scene.frame.width);
        out.put(' ');
        out.decimal(scene.frame.height);
        out.literal("\norigin ");
        out.decimal(scene.origin.x);
        out.put(' ');
        out.decimal(scene.origin.y);
        out.literal("\nregion ");
        out.number(scene.region.left);
        out.put(' ');
        out.number(scene.region.top);
        out.put(' ');
        out.number(scene.region.right);
        out.put(' ');
        out.number(scene.region.bottom);
        out.literal("\nlast ");
        out.decimal(scene.last);
        out.put('\n');
        if (!scene.background.empty()) {
            out.literal("background ");
            write_fill_list(out, scene.background);
            out.put('\n');
        }
        for (const SceneObject& object : scene.objects) write_object(out, object);
    }
    return text;
}

std::uint32_t scene_format_version(const Scene& scene) {
    bool blank = false, blur = false, elbow = false, ink = false, bend = false, label = false;
    bool fills = fill_needs_version_2(scene.background);
    for (const SceneObject& object : scene.objects) {
        fills = fills || fill_needs_version_2(object.fill);
        switch (object.kind()) {
        case ObjectKind::Blur: blur = true; break;
        case ObjectKind::Arrow: {
            const LinePayload& line = std::get<LinePayload>(object.payload);
            elbow = elbow || line.elbow;
            bend = bend || (!line.elbow && !bend_is_zero(line.bend));
            break;
        }
        case ObjectKind::Text: {
            const TextPayload& text = std::get<TextPayload>(object.payload);
            blank = blank || trimmed_len(text.text) == 0;
            ink = ink || text.ink.has_value();
            label = label || text.label.is_label();
            break;
        }
        default: break;
        }
    }
    if (blank) return 8;
    if (blur) return 7;
    if (elbow) return 6;
    if (ink) return 5;
    if (bend) return 4;
    if (label) return 3;
    if (fills) return 2;
    return 1;
}

Result<Scene> read_scene_text(std::string_view text, std::uint32_t version) {
    if (version < kOldestSceneFormat || version > kNewestSceneFormat)
        return invalid_input("Scene text of an unknown version");
    try {
        return SceneTextReader(version).read(text);
    } catch (const std::bad_alloc&) {
        return out_of_memory("Reading scene text");
    }
}

Status check_scene_storable(const Scene& scene) {
    GLIM_TRY(check_scene(scene));
    std::size_t elements = fill_elements(scene.background);
    for (const SceneObject& object : scene.objects) {
        elements += fill_elements(object.fill);
        if (const StrokePayload* stroke = as_stroke(object))
            elements += stroke->points.size() + stroke->widths.size();
        if (const TextPayload* text = as_text(object); text && !is_valid_utf8(text->text))
            return invalid_input("Object " + std::to_string(object.id) + ": text is not UTF-8");
    }
    // Validation holds the stroke lists to the cap already, and fill lists
    // cannot outgrow memory, so the sum does not wrap.
    if (elements > kMaxSceneTextElements)
        return invalid_input("Scene holds more than 4000000 points, widths, fill regions and fill ids");
    return ok_status();
}

bool renumber_exhausted_ids(Scene& scene) {
    if (scene.last <= kMaxLoadedLastId) return false;
    renumber_object_ids(scene.objects, scene.background);
    scene.last = scene.objects.size();
    return true;
}

}  // namespace glimmerly
