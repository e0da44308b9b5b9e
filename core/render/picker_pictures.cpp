#include "core/render/picker_pictures.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <numbers>

namespace glimmerly {

namespace {

constexpr double kWheelCentre = 102.0;
constexpr double kWheelInner = 82.0, kWheelOuter = 100.0;

std::uint8_t to_byte(double v) { return static_cast<std::uint8_t>(std::clamp(std::round(v), 0.0, 255.0)); }

struct Rgbf {
    double r, g, b;
};

// The colour of a sector of the hue circle (six of them, red first), with
// `c` the strongest channel, `x` the rising or falling one and 0 the weakest.
Rgbf sector_colour(double sector, double c, double x) {
    switch (static_cast<int>(std::clamp(sector, 0.0, 255.0))) {
        case 0: return {c, x, 0};
        case 1: return {x, c, 0};
        case 2: return {0, c, x};
        case 3: return {0, x, c};
        case 4: return {x, 0, c};
        default: return {c, 0, x};
    }
}

void put(std::vector<std::uint8_t>& out, std::size_t at, std::uint8_t r, std::uint8_t g, std::uint8_t b,
         std::uint8_t a) {
    out[at] = b;
    out[at + 1] = g;
    out[at + 2] = r;
    out[at + 3] = a;
}

}  // namespace

std::vector<std::uint8_t> generate_hue_wheel() {
    const std::size_t side = kHueWheelSide;
    std::vector<std::uint8_t> out(side * side * 4, 0);
    for (std::size_t j = 0; j < side; ++j) {
        for (std::size_t i = 0; i < side; ++i) {
            const double x = static_cast<double>(i) + 0.5 - kWheelCentre;
            const double y = static_cast<double>(j) + 0.5 - kWheelCentre;
            const double r = std::hypot(x, y);
            const double a = std::clamp(std::min(r - kWheelInner + 0.5, kWheelOuter + 0.5 - r), 0.0, 1.0);
            if (a <= 0.0) continue;
            double t = std::fmod(std::atan2(y, x) / (2.0 * std::numbers::pi), 1.0);
            if (t < 0.0) t += 1.0;
            const double h6 = 6.0 * t;
            const double f = 1.0 - std::abs(std::fmod(h6, 2.0) - 1.0);
            const Rgbf c = sector_colour(std::floor(h6), 1.0, f);
            const auto premultiplied = [&](double channel) { return to_byte(to_byte(channel * 255.0) * a); };
            put(out, (j * side + i) * 4, premultiplied(c.r), premultiplied(c.g), premultiplied(c.b),
                to_byte(a * 255.0));
        }
    }
    return out;
}

std::vector<std::uint8_t> generate_value_square(double hue) {
    const std::size_t side = kValueSquareSide;
    const double last = static_cast<double>(side - 1);
    double h = std::isfinite(hue) ? std::fmod(hue, 1.0) : 0.0;
    if (h < 0.0) h += 1.0;
    const double h6 = 6.0 * h;
    const double f = 1.0 - std::abs(std::fmod(h6, 2.0) - 1.0);
    std::vector<std::uint8_t> out(side * side * 4);
    for (std::size_t j = 0; j < side; ++j) {
        const double v = 1.0 - static_cast<double>(j) / last;
        for (std::size_t i = 0; i < side; ++i) {
            const double c = static_cast<double>(i) / last * v;
            const double m = v - c;
            const Rgbf p = sector_colour(std::floor(h6), c, f * c);
            put(out, (j * side + i) * 4, to_byte((p.r + m) * 255.0), to_byte((p.g + m) * 255.0),
                to_byte((p.b + m) * 255.0), 255);
        }
    }
    return out;
}

std::uint64_t value_square_version(double hue) { return std::bit_cast<std::uint64_t>(hue); }

std::optional<PickerPaintLayout> picker_paint_layout(const ColourPicker& picker, double title_width,
                                                     double hint_width) {
    const double s = picker.scale;
    if (!std::isfinite(s) || s <= 0.0) return std::nullopt;
    const Point o{picker.rect.left, picker.rect.top};
    const auto at = [&](double x, double y) { return Point{o.x + x * s, o.y + y * s}; };
    const auto box = [&](double l, double t, double r, double b) {
        return Box{o.x + l * s, o.y + t * s, o.x + r * s, o.y + b * s};
    };
    const auto text_right = [&](double width, double minimum) {
        const double units = std::isfinite(width) ? width / s : 0.0;
        return 18.0 + std::max(units, minimum);
    };
    const double hue_angle = 2.0 * std::numbers::pi * picker.hue;

    PickerPaintLayout out;
    out.panel = picker.rect;
    out.panel_radius = 10.0 * std::max(s, 1.0);
    out.panel_outline = std::max(s, 1.0);
    out.wheel = box(28, 42, 232, 246);
    out.square = box(75, 89, 185, 199);
    out.hue_marker = {at(130.0 + 91.0 * std::cos(hue_angle), 144.0 + 91.0 * std::sin(hue_angle)), 5.0 * s};
    out.square_marker = {at(75.0 + 110.0 * picker.saturation, 199.0 - 110.0 * picker.value), 5.0 * s};
    out.marker_dark_width = 4.0 * s;
    out.marker_light_width = 2.0 * s;
    out.swatch = box(18, 258, 48, 284);
    out.swatch_outline = s;
    out.title = box(18, 13, text_right(title_width, 222.0), 38);
    out.code = box(60, 260, 235, 285);
    out.hint = box(18, 294, text_right(hint_width, 230.0), 312);
    out.title_size = 15.0 * s;
    out.code_size = 14.0 * s;
    out.hint_size = 11.0 * s;
    return out;
}

}  // namespace glimmerly
