#include "core/render/key_caps.h"

#include "core/render/interface_colours.h"

#include <algorithm>

namespace glimmerly {

namespace {

// Cap measures in units.
constexpr double kMinLabelWidth = 10.0;
constexpr double kCapPadding = 14.0;
constexpr double kCapGap = 4.0;
constexpr double kCapRadius = 4.0;
constexpr double kLipInset = 3.0;
constexpr double kLipWidth = 1.5;

constexpr Rgb grey(std::uint8_t level) { return {level, level, level}; }
constexpr Rgb kCapFill = grey(54);
constexpr Rgb kCapBorder = grey(94);
constexpr Rgb kCapLabel = grey(240);
constexpr Rgb kUnavailable = kWarningOrange;
constexpr Rgb kPlaceholder = grey(154);
constexpr Rgb kGlyph = grey(198);

// Field measures in units.
constexpr double kDashStart = 5.0;  // from the outline's half-width inset
constexpr double kDashPitch = 8.0;
constexpr double kDashLength = 4.0;
constexpr double kSeparatorGap = 6.0;
constexpr double kSeparatorHalf = 7.0;
constexpr double kCrossHalf = 4.0;
constexpr double kGlyphWidth = 1.6;
constexpr double kArrowRadius = 5.0;
constexpr double kArrowHead = 4.0;

Point centre_of(const Box& b) { return {(b.left + b.right) / 2.0, (b.top + b.bottom) / 2.0}; }

double cap_width(double label_width, double unit) {
    return std::max(label_width, kMinLabelWidth * unit) + kCapPadding * unit;
}

void add_line(Picture& out, Point from, Point to, Rgb colour, double width) {
    out.push_back({LineShape{from, to}, colour, 1.0f, width});
}

// Dashes along both long edges of the field (or both short ones), from the
// start inset until the end inset, each position drawing the near edge's
// dash before the far edge's.
void add_dashes(Picture& out, double from, double to, double near_edge, double far_edge, bool across, Rgb colour,
                double s) {
    const double start = from + 0.5 * s + kDashStart * s, end = to - 0.5 * s - kDashStart * s;
    for (int k = 0;; ++k) {
        const double a = start + k * kDashPitch * s;
        if (!(a < end)) break;
        const double b = std::min(a + kDashLength * s, end);
        for (const double edge : {near_edge, far_edge}) {
            if (across) {
                add_line(out, {a, edge}, {b, edge}, colour, s);
            } else {
                add_line(out, {edge, a}, {edge, b}, colour, s);
            }
        }
    }
}

}  // namespace

double key_caps_row_width(std::span<const double> label_widths) {
    if (label_widths.empty()) return 0.0;
    double row = kCapGap * static_cast<double>(label_widths.size() - 1);
    for (const double w : label_widths) row += cap_width(w, 1.0);
    return row;
}

namespace {

Picture caps_in(std::span<const MeasuredText> labels, double right, double centre_y, double half_height, double scale,
                Rgb border, Rgb ink) {
    const double s = scale;
    double row = labels.empty() ? 0.0 : kCapGap * s * static_cast<double>(labels.size() - 1);
    for (const MeasuredText& label : labels) row += cap_width(label.width, s);
    const double top = centre_y - half_height * s, bottom = centre_y + half_height * s;

    Picture out;
    double x = right - row;
    for (const MeasuredText& label : labels) {
        const double w = cap_width(label.width, s);
        const Box cap{x, top, x + w, bottom};
        const Box rim{cap.left + 0.5 * s, cap.top + 0.5 * s, cap.right - 0.5 * s, cap.bottom - 0.5 * s};
        out.push_back({RoundedRectShape{cap, kCapRadius * s, true}, kCapFill});
        out.push_back({RoundedRectShape{rim, kCapRadius * s, false}, border, 1.0f, s});
        add_line(out, {x + kLipInset * s, bottom - 0.5 * s}, {x + w - kLipInset * s, bottom - 0.5 * s}, border,
                 kLipWidth * s);
        out.push_back({CentredTextShape{label.text, cap, kKeyCapLabelSize * s}, ink});
        x += w + kCapGap * s;
    }
    return out;
}

}  // namespace

Picture key_caps_picture(std::span<const MeasuredText> labels, double right, double centre_y, double half_height,
                         double scale, bool unavailable) {
    return caps_in(labels, right, centre_y, half_height, scale, unavailable ? kUnavailable : kCapBorder,
                   unavailable ? kUnavailable : kCapLabel);
}

Picture outlined_key_caps_picture(std::span<const MeasuredText> labels, double right, double centre_y,
                                  double half_height, double scale, Rgb outline) {
    return caps_in(labels, right, centre_y, half_height, scale, outline, kCapLabel);
}

Picture shortcut_field_picture(const ShortcutFieldLayout& layout, std::span<const MeasuredText> labels,
                               const std::optional<MeasuredText>& placeholder, Rgb colour, double scale) {
    const double s = scale;
    const Box& f = layout.field;
    const Point c = centre_of(f);
    Picture out;
    add_dashes(out, f.left, f.right, f.top + 0.5 * s, f.bottom - 0.5 * s, true, colour, s);
    add_dashes(out, f.top, f.bottom, f.left + 0.5 * s, f.right - 0.5 * s, false, colour, s);

    double separator = c.x;
    if (!labels.empty()) {
        std::vector<double> widths;
        for (const MeasuredText& label : labels) widths.push_back(label.width / s);
        const double half = key_caps_row_width(widths) / 2.0;
        const double half_height = (f.bottom - f.top) / s / 2.0 - 3.0;
        Picture caps = key_caps_picture(labels, c.x + half * s, c.y, half_height, s, false);
        out.insert(out.end(), std::make_move_iterator(caps.begin()), std::make_move_iterator(caps.end()));
        separator = c.x + half * s + kSeparatorGap * s;
    } else if (placeholder) {
        const double x0 = c.x - (placeholder->width + kSeparatorGap * s) / 2.0;
        const Box box{x0, f.top, x0 + placeholder->width, f.bottom};
        out.push_back({CentredTextShape{placeholder->text, box, kKeyCapLabelSize * s}, kPlaceholder});
        separator = x0 + placeholder->width + kSeparatorGap * s;
    }
    add_line(out, {separator, c.y - kSeparatorHalf * s}, {separator, c.y + kSeparatorHalf * s}, colour, 1.5 * s);

    out.push_back({CardShape{layout.reset, s}, kBlack});
    Picture arrow = circular_arrow_picture(centre_of(layout.reset), s);
    out.insert(out.end(), std::make_move_iterator(arrow.begin()), std::make_move_iterator(arrow.end()));

    const Point q = centre_of(layout.clear);
    const double h = kCrossHalf * s;
    add_line(out, {q.x - h, q.y - h}, {q.x + h, q.y + h}, kGlyph, kGlyphWidth * s);
    add_line(out, {q.x - h, q.y + h}, {q.x + h, q.y - h}, kGlyph, kGlyphWidth * s);
    return out;
}

Picture circular_arrow_picture(Point centre, double scale) {
    // 270 degrees clockwise on screen from the upper left, round by the top.
    std::vector<Point> ring = arc_points(centre, kArrowRadius * scale, 210.0, 480.0, 20);
    const Point p0 = ring.front();
    const double head = kArrowHead * scale;
    Picture out;
    out.push_back({PolylineShape{std::move(ring), false}, kGlyph, 1.0f, kGlyphWidth * scale});
    out.push_back({PolylineShape{{{p0.x, p0.y - head}, p0, {p0.x + head, p0.y}}, false}, kGlyph, 1.0f,
                   kGlyphWidth * scale});
    return out;
}

}  // namespace glimmerly
