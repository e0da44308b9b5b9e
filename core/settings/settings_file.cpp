#include "core/settings/settings_file.h"

#include <vector>

#include "core/base/stored_values.h"
#include "core/base/utf.h"
#include "core/settings/settings_checks.h"

namespace glimmerly {
namespace {

namespace m = settings_message;

constexpr std::size_t kLineCounts[kSettingsVersion] = {5,  6,  9,  10, 13, 15, 17, 18, 20, 22, 22,
                                                       24, 25, 27, 28, 29, 30, 31, 32, 33, 34};

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

// Versions up to this one stored Alt+F as the default arrow shortcut.
constexpr std::uint32_t kLastVersionWithAltFArrow = 10;
constexpr Shortcut kAltF{kShortcutAlt, 70};
constexpr Shortcut kAltA{kShortcutAlt, 65};

std::vector<std::string_view> split_lines(std::string_view content) {
    std::vector<std::string_view> lines;
    std::size_t start = 0;
    while (start < content.size()) {
        const std::size_t end = content.find('\n', start);
        if (end == std::string_view::npos) {
            lines.push_back(content.substr(start));
            break;
        }
        std::string_view line = content.substr(start, end - start);
        if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

// "1".."21" exactly: no sign, no leading zero.
std::uint32_t header_version(std::string_view header) {
    std::string_view rest;
    if (header.starts_with(kSettingsHeader))
        rest = header.substr(kSettingsHeader.size());
    else if (header.starts_with(kEarlierSettingsHeader))
        rest = header.substr(kEarlierSettingsHeader.size());
    else
        return 0;
    const auto version = parse_canonical_decimal(rest);
    return version && *version >= 1 && *version <= kSettingsVersion ? *version : 0;
}

// One of the listed renderings, matched exactly.
std::optional<std::uint32_t> parse_choice(std::string_view text, std::initializer_list<std::uint32_t> choices) {
    for (std::uint32_t choice : choices)
        if (text == std::to_string(choice)) return choice;
    return std::nullopt;
}

std::optional<std::uint32_t> parse_digit_up_to(std::string_view text, char last) {
    if (text.size() != 1 || text[0] < '0' || text[0] > last) return std::nullopt;
    return static_cast<std::uint32_t>(text[0] - '0');
}

std::optional<Shortcut> parse_shortcut_pair(std::string_view text) {
    const auto halves = split_once(text, ',');
    if (!halves) return std::nullopt;
    const auto modifiers = parse_decimal(halves->first);
    const auto key = parse_decimal(halves->second);
    if (!modifiers || !key) return std::nullopt;
    return Shortcut{*modifiers, *key};
}

std::optional<std::u16string> parse_folder(std::string_view text) {
    std::u16string folder;
    if (text.empty()) return folder;
    for (const std::string_view piece : split_all(text, ',')) {
        if (piece.empty() || piece.size() > 4) return std::nullopt;
        unsigned unit = 0;
        for (char c : piece) {
            const int digit = hex_digit_value(c);
            if (digit < 0) return std::nullopt;
            unit = unit * 16 + static_cast<unsigned>(digit);
        }
        folder += static_cast<char16_t>(unit);
    }
    if (!valid_folder(folder)) return std::nullopt;
    return folder;
}

std::string format_folder(std::u16string_view folder) {
    std::string out;
    for (std::size_t i = 0; i < folder.size(); ++i) {
        if (i) out += ',';
        append_hex(out, folder[i]);
    }
    return out;
}

// x "," y; the "-" for none is handled by the caller.
std::optional<InputDisplayOffset> parse_offset(std::string_view text) {
    const auto halves = split_once(text, ',');
    if (!halves) return std::nullopt;
    const auto x = parse_decimal(halves->first);
    const auto y = parse_decimal(halves->second);
    if (!x || !y || !valid_offset_coordinate(*x) || !valid_offset_coordinate(*y)) return std::nullopt;
    return InputDisplayOffset{static_cast<std::uint16_t>(*x), static_cast<std::uint16_t>(*y)};
}

std::string shortcut_pair(const Shortcut& s) {
    std::string text;
    append_decimal(text, s.modifiers);
    text += ',';
    append_decimal(text, s.key);
    return text;
}

// The lines of one file, numbered from 1 as in the layout; a line past the
// file's version is absent.
class Lines {
public:
    explicit Lines(std::vector<std::string_view> lines) : lines_(std::move(lines)) {}
    bool has(std::size_t number) const { return number <= lines_.size(); }
    std::string_view operator[](std::size_t number) const { return lines_[number - 1]; }

private:
    std::vector<std::string_view> lines_;
};

// Reads `line` with `parse` into `out` when the file has it.
template <class T, class Parse>
Status read_line(const Lines& lines, std::size_t line, Parse parse, T& out, std::string_view message) {
    if (!lines.has(line)) return ok_status();
    auto parsed = parse(lines[line]);
    if (!parsed) return settings_refusal(message);
    out = std::move(*parsed);
    return ok_status();
}

}  // namespace

std::size_t settings_line_count(std::uint32_t version) {
    return version >= 1 && version <= kSettingsVersion ? kLineCounts[version - 1] : 0;
}

Result<Settings> parse_settings(std::string_view content) {
    // Notepad and some editors put a byte-order mark in front of a file they
    // save as UTF-8; the file is still a valid settings file.
    if (content.starts_with(kUtf8ByteOrderMark)) content.remove_prefix(kUtf8ByteOrderMark.size());
    if (!is_valid_utf8(content)) return settings_refusal(m::kNotUtf8);
    std::vector<std::string_view> split = split_lines(content);
    const std::uint32_t version = split.empty() ? 0 : header_version(split.front());
    if (version == 0 || settings_line_count(version) != split.size())
        return plain_failure("unsupported settings: " + std::to_string(split.size()) + " fields for this version");
    const Lines lines(std::move(split));

    const auto flag = [](std::string_view t) { return parse_stored_flag(t); };
    const auto colour = [](std::string_view t) { return parse_rgb_hex(t); };
    const auto canonical_in = [](std::uint32_t min, std::uint32_t max) {
        return [min, max](std::string_view t) -> std::optional<std::uint32_t> {
            const auto v = parse_canonical_decimal(t);
            return v && *v >= min && *v <= max ? v : std::nullopt;
        };
    };
    bool retired = false;
    std::uint32_t retired_number = 0;

    Settings s;
    GLIM_TRY(read_line(lines, 6, flag, s.live_capture, m::kLiveCapture));
    GLIM_TRY(read_line(
        lines, 7, [](std::string_view t) { return parse_choice(t, {1000, 3000, 5000}); },
        s.presentation_duration_ms, m::kPresentationDuration));
    GLIM_TRY(read_line(lines, 8, colour, s.presentation_color_1, m::kPresentationColor));
    GLIM_TRY(read_line(lines, 9, colour, s.presentation_color_2, m::kPresentationColor));
    std::uint32_t position = s.input_display_position;
    GLIM_TRY(read_line(
        lines, 10, [](std::string_view t) { return parse_digit_up_to(t, '5'); }, position,
        m::kInputDisplayPosition));
    s.input_display_position = static_cast<std::uint8_t>(position);

    if (lines.has(11)) {
        for (std::size_t i = 0; i < 3; ++i)
            GLIM_TRY(read_line(lines, 11 + i, parse_shortcut_pair, s.shape_shortcuts[i], m::kShortcutSyntax));
        GLIM_TRY(check_shape_shortcuts(s.shape_shortcuts));
        auto& shapes = s.shape_shortcuts;
        if (version <= kLastVersionWithAltFArrow && shapes[kShapeArrow] == kAltF &&
            shapes[kShapeRectangle] != kAltA && shapes[kShapeEllipse] != kAltA)
            shapes[kShapeArrow] = kAltA;
    }

    GLIM_TRY(read_line(lines, 14, canonical_in(1, 40), s.presentation_stroke_width, m::kPresentationStrokeWidth));
    GLIM_TRY(read_line(
        lines, 15, [](std::string_view t) { return parse_choice(t, {16, 28, 40}); }, s.presentation_arrow_size,
        m::kPresentationArrowSize));
    if (lines.has(16) && lines[16] != "-") {
        InputDisplayOffset offset;
        GLIM_TRY(read_line(lines, 16, parse_offset, offset, m::kInputDisplayOffset));
        s.input_display_offset = offset;
    }
    GLIM_TRY(read_line(lines, 17, flag, retired, m::kInputDisplayLock));
    if (lines.has(30)) {
        auto pointer = parse_pointer_settings(lines[30]);
        if (!pointer) return std::move(pointer).failure();
        s.pointer = *pointer;
    }
    GLIM_TRY(read_line(lines, 34, flag, s.obs_mirror, m::kObsMirror));
    GLIM_TRY(read_line(
        lines, 23, [](std::string_view t) { return parse_digit_up_to(t, '2'); }, retired_number,
        m::kInputDisplayLayout));
    GLIM_TRY(read_line(
        lines, 24, [](std::string_view t) { return parse_choice(t, {100, 150, 200}); }, s.input_display_size,
        m::kInputDisplaySize));

    GLIM_TRY(read_line(lines, 3, parse_decimal, s.capture_shortcut.key, m::kSettingsNumber));
    GLIM_TRY(read_line(lines, 2, parse_decimal, s.capture_shortcut.modifiers, m::kSettingsNumber));
    GLIM_TRY(read_line(lines, 4, flag, s.drawing_style, m::kCaptureShortcut));
    if (!valid_capture_shortcut(s.capture_shortcut)) return settings_refusal(m::kCaptureShortcut);
    GLIM_TRY(read_line(lines, 5, parse_folder, s.save_folder, m::kFolderEncoding));

    GLIM_TRY(read_line(lines, 21, parse_shortcut_pair, s.instant_capture_shortcut, m::kShortcutSyntax));
    if (!valid_instant_shortcut(s.instant_capture_shortcut)) return settings_refusal(m::kInstantShortcut);
    GLIM_TRY(read_line(lines, 26, parse_shortcut_pair, s.board_shortcut, m::kShortcutSyntax));
    GLIM_TRY(check_board_shortcut(s.board_shortcut));
    GLIM_TRY(read_line(lines, 22, flag, retired, m::kInstantSound));
    GLIM_TRY(read_line(lines, 27, flag, s.board_visible, m::kBoardVisibility));
    // Any text that is not a language code, "auto" among them, is automatic.
    if (lines.has(29)) s.language = parse_language_code(lines[29]);
    GLIM_TRY(read_line(lines, 31, flag, s.wheel_hint, m::kWheelHint));
    GLIM_TRY(read_line(lines, 32, flag, s.mini_toolbar, m::kMiniToolbar));
    GLIM_TRY(read_line(lines, 33, flag, s.mini_toolbar_folded, m::kMiniToolbarFold));
    GLIM_TRY(read_line(lines, 19, flag, s.start_with_windows, m::kStartup));
    GLIM_TRY(read_line(lines, 20, canonical_in(1, 40), s.capture_stroke_width, m::kCaptureStrokeWidth));
    GLIM_TRY(read_line(lines, 28, canonical_in(4, 128), s.capture_eraser_size, m::kCaptureEraserSize));
    bool jpeg = false;
    GLIM_TRY(read_line(lines, 25, flag, jpeg, m::kSaveFormat));
    s.save_format = jpeg ? ImageFormat::Jpeg : ImageFormat::Png;
    GLIM_TRY(read_line(lines, 18, colour, s.custom_color, m::kCustomColor));
    return s;
}

std::string format_settings(const Settings& s) {
    const auto flag = [](bool b) { return std::string(b ? "1" : "0"); };
    const std::string lines[] = {
        std::string(kSettingsHeader) + std::to_string(kSettingsVersion),
        std::to_string(s.capture_shortcut.modifiers),
        std::to_string(s.capture_shortcut.key),
        flag(s.drawing_style),
        format_folder(s.save_folder),
        flag(s.live_capture),
        std::to_string(s.presentation_duration_ms),
        format_rgb_hex(s.presentation_color_1),
        format_rgb_hex(s.presentation_color_2),
        std::to_string(s.input_display_position),
        shortcut_pair(s.shape_shortcuts[kShapeArrow]),
        shortcut_pair(s.shape_shortcuts[kShapeRectangle]),
        shortcut_pair(s.shape_shortcuts[kShapeEllipse]),
        std::to_string(s.presentation_stroke_width),
        std::to_string(s.presentation_arrow_size),
        s.input_display_offset
            ? std::to_string(s.input_display_offset->x) + "," + std::to_string(s.input_display_offset->y)
            : "-",
        "1",  // retired input display lock
        format_rgb_hex(s.custom_color),
        flag(s.start_with_windows),
        std::to_string(s.capture_stroke_width),
        shortcut_pair(s.instant_capture_shortcut),
        "1",  // retired instant capture sound
        "0",  // retired input display layout
        std::to_string(s.input_display_size),
        std::to_string(static_cast<unsigned>(s.save_format)),
        shortcut_pair(s.board_shortcut),
        flag(s.board_visible),
        std::to_string(s.capture_eraser_size),
        s.language < LANGUAGE_COUNT ? std::string(LANGUAGE_CODES[s.language]) : "auto",
        format_pointer_settings(s.pointer),
        flag(s.wheel_hint),
        flag(s.mini_toolbar),
        flag(s.mini_toolbar_folded),
        flag(s.obs_mirror),
    };
    static_assert(std::size(lines) == kLineCounts[kSettingsVersion - 1]);
    std::string text;
    for (const auto& line : lines) {
        text += line;
        text += '\n';
    }
    return text;
}

}  // namespace glimmerly
