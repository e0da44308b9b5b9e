#include "core/diagnostics/diagnostic_report.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "core/base/ascii.h"

namespace glimmerly {
namespace {

std::string chars(double value, std::chars_format format, std::optional<int> precision = std::nullopt) {
    std::array<char, 400> buffer{};  // the longest fixed form of a double is 300-odd digits
    const auto written = precision ? std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format, *precision)
                                   : std::to_chars(buffer.data(), buffer.data() + buffer.size(), value, format);
    return std::string(buffer.data(), written.ptr);
}

// "1e-05" and "1e+16" as "1e-5" and "1e16".
std::string short_exponent(std::string text) {
    const std::size_t e = text.find('e');
    if (e == std::string::npos) return text;
    std::string mantissa = text.substr(0, e);
    std::string_view exponent(text);
    exponent.remove_prefix(e + 1);
    const bool negative = !exponent.empty() && exponent.front() == '-';
    if (!exponent.empty() && (exponent.front() == '-' || exponent.front() == '+')) exponent.remove_prefix(1);
    while (exponent.size() > 1 && exponent.front() == '0') exponent.remove_prefix(1);
    return mantissa + "e" + (negative ? "-" : "") + std::string(exponent);
}

std::string list_item(double value) {
    if (!std::isfinite(value)) return chars(value, std::chars_format::general);
    const double magnitude = std::fabs(value);
    if (value != 0 && (magnitude < 1e-4 || magnitude >= 1e16))
        return short_exponent(chars(value, std::chars_format::scientific));
    std::string text = plain_number(value);
    if (text.find('.') == std::string::npos) text += ".0";
    return text;
}

// The Unicode White_Space set in UTF-8, the one-byte members aside.
constexpr std::array<std::string_view, 17> kWideSpaces = {
    "\xC2\x85",     "\xC2\xA0",     "\xE1\x9A\x80", "\xE2\x80\x80", "\xE2\x80\x81", "\xE2\x80\x82",
    "\xE2\x80\x83", "\xE2\x80\x84", "\xE2\x80\x85", "\xE2\x80\x86", "\xE2\x80\x87", "\xE2\x80\x88",
    "\xE2\x80\x89", "\xE2\x80\x8A", "\xE2\x80\xA8", "\xE2\x80\xA9", "\xE2\x80\xAF"};

// The length of the white space that starts `text`'s first character, or 0.
std::size_t space_length(std::string_view text) {
    const unsigned char c = static_cast<unsigned char>(text.front());
    if (c == ' ' || (c >= '\t' && c <= '\r')) return 1;
    if (c < 0x80) return 0;
    for (std::string_view space : kWideSpaces)
        if (text.starts_with(space)) return space.size();
    for (std::string_view space : {std::string_view("\xE2\x81\x9F"), std::string_view("\xE3\x80\x80")})
        if (text.starts_with(space)) return space.size();
    return 0;
}

bool is_digit(char c) { return c >= '0' && c <= '9'; }

std::size_t digits(std::string_view text, std::size_t at) {
    std::size_t end = at;
    while (end < text.size() && is_digit(text[end])) ++end;
    return end - at;
}

// The decimal grammar; from_chars alone would also take "nan(...)" and
// hexadecimal forms.
bool is_decimal_literal(std::string_view body) {
    std::size_t at = digits(body, 0);
    std::size_t mantissa_digits = at;
    if (at < body.size() && body[at] == '.') {
        const std::size_t fraction = digits(body, at + 1);
        mantissa_digits += fraction;
        at += 1 + fraction;
    }
    if (mantissa_digits == 0) return false;
    if (at < body.size() && (body[at] == 'e' || body[at] == 'E')) {
        ++at;
        if (at < body.size() && (body[at] == '+' || body[at] == '-')) ++at;
        const std::size_t exponent = digits(body, at);
        if (exponent == 0) return false;
        at += exponent;
    }
    return at == body.size();
}

// Bits ordered as IEEE 754 total order orders the values.
std::int64_t total_order_key(double value) {
    auto bits = std::bit_cast<std::int64_t>(value);
    bits ^= static_cast<std::int64_t>(static_cast<std::uint64_t>(bits >> 63) >> 1);
    return bits;
}

std::string measured(const Measured& value) { return value ? std::to_string(*value) : "null"; }

void field(std::string& out, std::string_view name, std::string_view value, bool last = false) {
    out += "  \"";
    out += name;
    out += "\": ";
    out += value;
    if (!last) out += ',';
    out += '\n';
}

}  // namespace

bool has_board_diagnostic_switch(const Arguments& args) { return has_option(args, u"--board-diagnostic"); }
bool has_board_diagnostic_set_switch(const Arguments& args) { return has_option(args, u"--board-diagnostic-set"); }
bool has_google_diagnostic_switch(const Arguments& args) { return has_option(args, u"--google-diagnostic"); }
bool has_presentation_diagnostic_switch(const Arguments& args) {
    return has_option(args, u"--presentation-diagnostic");
}
bool has_loupe_diagnostic_switch(const Arguments& args) { return has_option(args, u"--loupe-diagnostic"); }
bool has_editor_diagnostic_switch(const Arguments& args) { return has_option(args, u"--editor-diagnostic"); }
bool has_warm_diagnostic_switch(const Arguments& args) { return has_option(args, u"--warm-diagnostic"); }
bool has_hotkey_diagnostic_switch(const Arguments& args) { return has_option(args, u"--hotkey-diagnostic"); }
bool has_live_diagnostic_switch(const Arguments& args) { return has_option(args, u"--live-diagnostic"); }

std::string plain_number(double value) {
    if (!std::isfinite(value)) return chars(value, std::chars_format::general);
    return chars(value, std::chars_format::fixed);
}

std::string three_decimals(double value) { return chars(value, std::chars_format::fixed, 3); }

std::string number_list(std::span<const double> values) {
    std::string out = "[";
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (i > 0) out += ", ";
        out += list_item(values[i]);
    }
    return out + "]";
}

Failure number_error(std::string_view piece) {
    return plain_failure(piece.empty() ? "cannot parse float from empty string" : "invalid float literal");
}

Result<double> parse_number(std::string_view piece) {
    if (piece.empty()) return number_error(piece);
    std::string_view body = piece;
    const bool negative = body.front() == '-';
    if (body.front() == '+' || body.front() == '-') body.remove_prefix(1);
    double value = 0;
    if (ascii_iequals(body, "inf") || ascii_iequals(body, "infinity")) {
        value = std::numeric_limits<double>::infinity();
    } else if (ascii_iequals(body, "nan")) {
        value = std::numeric_limits<double>::quiet_NaN();
    } else {
        if (!is_decimal_literal(body)) return number_error(piece);
        const auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
        if (error == std::errc::result_out_of_range) {
            // Too large is infinite, too small is zero, as in every reader
            // of decimal text: strtod knows which.
            value = std::strtod(std::string(body).c_str(), nullptr);
        } else if (error != std::errc() || end != body.data() + body.size()) {
            return number_error(piece);
        }
    }
    return negative ? -value : value;
}

Result<std::vector<double>> parse_numbers(std::string_view text) {
    std::vector<double> values;
    std::size_t at = 0;
    while (at < text.size()) {
        if (const std::size_t space = space_length(text.substr(at))) {
            at += space;
            continue;
        }
        std::size_t end = at;
        while (end < text.size() && space_length(text.substr(end)) == 0) ++end;
        auto value = parse_number(text.substr(at, end - at));
        if (!value) return std::move(value).failure();
        values.push_back(*value);
        at = end;
    }
    return values;
}

Result<double> parse_trimmed_number(std::string_view text) {
    std::size_t first = text.size(), end = 0;
    for (std::size_t at = 0; at < text.size();) {
        if (const std::size_t space = space_length(text.substr(at))) {
            at += space;
            continue;
        }
        first = std::min(first, at);
        end = ++at;
    }
    return parse_number(first < end ? text.substr(first, end - first) : std::string_view());
}

double median_of(std::span<const double> samples) {
    std::vector<double> sorted(samples.begin(), samples.end());
    std::sort(sorted.begin(), sorted.end(),
              [](double a, double b) { return total_order_key(a) < total_order_key(b); });
    return sorted[sorted.size() / 2];
}

Status ensure_condition(bool condition, std::string_view text) {
    if (condition) return ok_status();
    return plain_failure(std::string(text));
}

std::uint32_t saturating_u32(double value) {
    if (std::isnan(value) || value <= 0) return 0;
    if (value >= 4294967295.0) return 4294967295u;
    return static_cast<std::uint32_t>(value);
}

std::string editor_report_text(const EditorFigures& figures) {
    return std::to_string(figures.width) + " " + std::to_string(figures.height) + " " +
           plain_number(figures.capture_ms) + " " + plain_number(figures.capture_and_init_ms);
}

Result<EditorFigures> read_editor_report(std::string_view text) {
    auto numbers = parse_numbers(text);
    if (!numbers) return std::move(numbers).failure();
    const auto& v = *numbers;
    GLIM_TRY(ensure_condition(v.size() == 4 && std::all_of(v.begin(), v.end(), [](double x) { return std::isfinite(x); }),
                              "Invalid editor diagnostics"));
    return EditorFigures{saturating_u32(v[0]), saturating_u32(v[1]), v[2], v[3]};
}

std::string first_frame_report_text(double latched_ms, double now_ms) {
    return plain_number(latched_ms) + " " + plain_number(now_ms);
}

Result<FirstFrameFigures> read_first_frame_report(std::string_view text) {
    auto numbers = parse_numbers(text);
    if (!numbers) return std::move(numbers).failure();
    const auto& v = *numbers;
    GLIM_TRY(ensure_condition(v.size() == 2 && std::isfinite(v[0]) && std::isfinite(v[1]),
                              "Invalid first-frame diagnostics"));
    return FirstFrameFigures{v[0], v[1]};
}

std::string startup_report_first_half(const StartupFigures& f) {
    std::string out = "{\n";
    field(out, "idle_seconds", three_decimals(f.idle_seconds));
    field(out, "idle_cpu_ms", three_decimals(f.idle_cpu_ms));
    field(out, "idle_working_set_bytes", std::to_string(f.idle_working_set_bytes));
    std::string dimensions = "[";
    dimensions += std::to_string(f.capture_width);
    dimensions += ", ";
    dimensions += std::to_string(f.capture_height);
    field(out, "capture_dimensions", dimensions + "]");
    field(out, "capture_ms", number_list(f.capture_ms));
    field(out, "capture_and_editor_init_ms", number_list(f.capture_and_editor_init_ms));
    field(out, "gdi_before", measured(f.gdi_before));
    field(out, "gdi_after", measured(f.gdi_after));
    field(out, "working_set_after_captures", std::to_string(f.working_set_after_captures), true);
    return out + "}\n";
}

std::string startup_report_second_half(const StartupFigures& f) {
    std::string out = ",\n";
    field(out, "worker_lifetime_ms", number_list(f.worker_lifetime_ms));
    field(out, "first_frame_ms", number_list(f.first_frame_ms));
    field(out, "hardware_frame_ms", number_list(f.hardware_frame_ms));
    field(out, "idle_private_bytes", measured(f.idle_private_bytes));
    field(out, "private_bytes_after_captures", measured(f.private_bytes_after_captures));
    field(out, "private_bytes_after_menu", measured(f.private_bytes_after_menu), true);
    out.pop_back();  // the line end goes before the brace
    return out + "\n}";
}

std::string join_startup_report(std::string first_half, std::string_view second_half) {
    const std::size_t end = first_half.rfind("\n}");
    if (end == std::string::npos) return first_half;
    first_half.replace(end, 2, second_half);
    return first_half;
}

Status check_gdi_objects(const StartupFigures& f) {
    if (f.gdi_before && f.gdi_after && *f.gdi_before != *f.gdi_after)
        return plain_failure("GDI resources leaked during capture");
    return ok_status();
}

Status check_startup_limits(const StartupFigures& f) {
    if (f.idle_private_bytes && f.private_bytes_after_menu &&
        *f.private_bytes_after_menu > *f.idle_private_bytes + kRetainedBytesLimit)
        return plain_failure("Resident retained more than 8 MiB after editor workers exited and its menu closed");
    if (!f.first_frame_ms.empty() && median_of(f.first_frame_ms) > kFirstFrameBudgetMs)
        return plain_failure("The editor's first frame came later than its budget after process creation");
    std::string missing;
    const auto note = [&](const Measured& value, std::string_view name) {
        if (value) return;
        if (!missing.empty()) missing += ", ";
        missing += name;
    };
    note(f.gdi_before, "gdi_before");
    note(f.gdi_after, "gdi_after");
    note(f.idle_private_bytes, "idle_private_bytes");
    note(f.private_bytes_after_captures, "private_bytes_after_captures");
    note(f.private_bytes_after_menu, "private_bytes_after_menu");
    if (!missing.empty()) return plain_failure("not measured: " + missing);
    return ok_status();
}

std::string warm_report_text(std::span<const WarmModeFigures> modes) {
    std::string out = "{";
    for (std::size_t i = 0; i < modes.size(); ++i) {
        const WarmModeFigures& m = modes[i];
        if (i > 0) out += ',';
        out += "\"" + m.name + "\":{\"request_to_paint_gdi_flush_ms\":" + number_list(m.request_to_paint_ms) +
               ",\"standby_working_set_bytes\":" + std::to_string(m.standby_working_set_bytes) +
               ",\"standby_private_bytes\":" + measured(m.standby_private_bytes) +
               ",\"standby_cpu_ms_over_2s\":" + (m.standby_cpu_ms ? plain_number(*m.standby_cpu_ms) : "null") + "}";
    }
    return out + "}\n";
}

Status check_warm_figures(std::span<const WarmModeFigures> modes) {
    std::string missing;
    const auto note = [&](bool measured, const std::string& mode, std::string_view field) {
        if (measured) return;
        if (!missing.empty()) missing += ", ";
        missing += mode + "." + std::string(field);
    };
    for (const WarmModeFigures& m : modes) {
        note(m.standby_private_bytes.has_value(), m.name, "standby_private_bytes");
        note(m.standby_cpu_ms.has_value(), m.name, "standby_cpu_ms_over_2s");
    }
    if (!missing.empty()) return plain_failure("not measured: " + missing);
    return ok_status();
}

Result<double> read_warm_frame_report(std::string_view text) {
    auto value = parse_trimmed_number(text);
    if (!value) return std::move(value).failure();
    GLIM_TRY(ensure_condition(std::isfinite(*value), "Invalid warm-frame diagnostics"));
    return *value;
}

}  // namespace glimmerly
