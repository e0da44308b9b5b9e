#include "core/site_previews/film_track.h"

#include <charconv>
#include <cmath>

#include "core/base/saturate.h"

namespace glimmerly {
namespace {

void append_one_decimal(std::string& out, double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value, std::chars_format::fixed, 1);
    std::string_view text(buffer, static_cast<std::size_t>(written.ptr - buffer));
    if (text == "-0.0") text = "0.0";
    out += text;
}

}  // namespace

std::string frame_file_name(std::size_t index) {
    std::string digits = std::to_string(index);
    if (digits.size() < 3) digits.insert(0, 3 - digits.size(), '0');
    return digits + ".png";
}

std::string pointer_track_line(Point point) {
    std::string line;
    append_one_decimal(line, point.x);
    line += ' ';
    append_one_decimal(line, point.y);
    line += '\n';
    return line;
}

std::string format_pointer_track(std::span<const Point> track) {
    std::string text;
    text.reserve(track.size() * 12);
    for (const Point& point : track) text += pointer_track_line(point);
    return text;
}

Point last_track_point(std::span<const Point> track) { return track.empty() ? Point{} : track.back(); }

std::int32_t nearest_pixel(double value) { return saturating_i32(std::round(value)); }

}  // namespace glimmerly
