#include "core/editor/colour_picker.h"

#include "core/editor/chrome_math.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>

namespace glimmerly {

namespace {

constexpr Point kRingCentre{130.0, 144.0};
constexpr double kRingInner = 82.0, kRingOuter = 100.0;
constexpr Box kSquare{75.0, 89.0, 185.0, 199.0};

// Into [0, 1), the way hue wraps (hue 1 is red again).
double wrap_unit(double v) {
    v = std::fmod(v, 1.0);
    return v < 0.0 ? v + 1.0 : v;
}

double finite_or_zero(double v) { return std::isfinite(v) ? v : 0.0; }

bool usable(const ColourPicker& picker, Point point) {
    return std::isfinite(picker.scale) && picker.scale > 0.0 && std::isfinite(point.x) && std::isfinite(point.y);
}

Point local_point(const ColourPicker& picker, Point point) {
    return {(point.x - picker.rect.left) / picker.scale, (point.y - picker.rect.top) / picker.scale};
}

}  // namespace

std::string colour_code(Rgb c) {
    constexpr char kDigits[] = "0123456789ABCDEF";
    std::string code = "#";
    for (const std::uint8_t v : {c.r, c.g, c.b}) {
        code += kDigits[v >> 4];
        code += kDigits[v & 0xF];
    }
    return code;
}

ColourPicker open_colour_picker(Rgb start, Point anchor, double frame_width, double frame_height,
                                double interface_scale) {
    const double r = start.r / 255.0, g = start.g / 255.0, b = start.b / 255.0;
    const double max = std::max({r, g, b}), min = std::min({r, g, b}), delta = max - min;
    ColourPicker picker;
    if (delta > 0.0) {
        if (max == r) {
            picker.hue = wrap_unit((g - b) / delta / 6.0);
        } else if (max == g) {
            picker.hue = ((b - r) / delta + 2.0) / 6.0;
        } else {
            picker.hue = ((r - g) / delta + 4.0) / 6.0;
        }
    }
    picker.saturation = max > 0.0 ? delta / max : 0.0;
    picker.value = max;

    // A frame too small to measure, or a scale that is no number, gives a
    // popup of scale 0: not shown, rather than a rectangle of NaN.
    const double w = std::max(finite_or_zero(frame_width), 0.0), h = std::max(finite_or_zero(frame_height), 0.0);
    const double ui = std::isfinite(interface_scale) ? interface_scale : 1.0;
    picker.scale = std::max(0.0, std::min({w / kPickerWidth, h / kPickerHeight, ui}));
    const double pw = std::min(kPickerWidth * picker.scale, w), ph = std::min(kPickerHeight * picker.scale, h);
    picker.rect.left = std::isfinite(anchor.x) ? clamp_into(anchor.x, 0.0, w - pw) : 0.0;
    picker.rect.top = std::isfinite(anchor.y) ? clamp_into(anchor.y, 0.0, h - ph) : 0.0;
    picker.rect.right = picker.rect.left + pw;
    picker.rect.bottom = picker.rect.top + ph;
    picker.hex = colour_code(start);
    picker.drag = PickerDrag::None;
    return picker;
}

bool picker_hit_test(ColourPicker& picker, Point point) {
    picker.drag = PickerDrag::None;
    if (!usable(picker, point) || !box_contains(Box{picker.rect.left, picker.rect.top, picker.rect.right, picker.rect.bottom}, point)) return false;
    const Point local = local_point(picker, point);
    const double radius = std::hypot(local.x - kRingCentre.x, local.y - kRingCentre.y);
    if (kRingInner <= radius && radius <= kRingOuter) {
        picker.drag = PickerDrag::Ring;
    } else if (box_contains(kSquare, local)) {
        picker.drag = PickerDrag::Square;
    }
    picker_drag(picker, point);
    return true;
}

void picker_drag(ColourPicker& picker, Point point) {
    if (!usable(picker, point) || picker.drag == PickerDrag::None) return;
    const Point local = local_point(picker, point);
    double hue = picker.hue, saturation = picker.saturation, value = picker.value;
    if (picker.drag == PickerDrag::Square) {
        saturation = std::clamp((local.x - kSquare.left) / (kSquare.right - kSquare.left), 0.0, 1.0);
        value = std::clamp(1.0 - (local.y - kSquare.top) / (kSquare.bottom - kSquare.top), 0.0, 1.0);
    } else {
        const double dx = local.x - kRingCentre.x, dy = local.y - kRingCentre.y;
        // At the very centre the angle means nothing: the hue stays.
        if (std::hypot(dx, dy) > std::numeric_limits<double>::epsilon())
            hue = wrap_unit(std::atan2(dy, dx) / (2.0 * std::numbers::pi));
    }
    if (hue == picker.hue && saturation == picker.saturation && value == picker.value) return;
    picker.hue = hue;
    picker.saturation = saturation;
    picker.value = value;
    picker.hex = colour_code(hsv_to_rgb(picker));
}

Rgb hsv_to_rgb(const ColourPicker& picker) {
    const double h6 = wrap_unit(finite_or_zero(picker.hue)) * 6.0;
    const double s = finite_or_zero(picker.saturation), v = finite_or_zero(picker.value);
    const double c = s * v;
    const double x = c * (1.0 - std::abs(std::fmod(h6, 2.0) - 1.0));
    double r = c, g = 0.0, b = x;
    switch (static_cast<int>(std::clamp(std::floor(h6), 0.0, 255.0))) {
        case 0: r = c, g = x, b = 0.0; break;
        case 1: r = x, g = c, b = 0.0; break;
        case 2: r = 0.0, g = c, b = x; break;
        case 3: r = 0.0, g = x, b = c; break;
        case 4: r = x, g = 0.0, b = c; break;
        default: break;
    }
    const double m = v - c;
    const auto channel = [m](double k) {
        return static_cast<std::uint8_t>(std::clamp(std::round((k + m) * 255.0), 0.0, 255.0));
    };
    return {channel(r), channel(g), channel(b)};
}

}  // namespace glimmerly
