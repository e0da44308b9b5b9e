#include "core/pointer/pointer_paint.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>

namespace glimmerly {
namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kTiny = 0.000001;
// Sixteen ribbon layers at this alpha add up to 0.85.
constexpr float kRibbonLayerAlpha = std::bit_cast<float>(0x3DE4FCD8u);
constexpr int kLayers = 16;
constexpr double kMarkGrowMs = 450.0;
constexpr std::array<Rgb, 3> kSparkPalette{{{255, 214, 92}, {255, 150, 64}, {255, 250, 220}}};

PaintColour colour_of(Rgb c, double alpha) { return {static_cast<float>(alpha), c.r, c.g, c.b}; }

Rgb lightened(Rgb c) {
    const auto up = [](std::uint8_t v) { return static_cast<std::uint8_t>(v + (255 - v) / 2); };
    return {up(c.r), up(c.g), up(c.b)};
}

// The alpha of each of sixteen stacked layers that together reach `target`.
float layer_alpha(double target) {
    const float capped = std::min(0.999f, static_cast<float>(target));
    return 1.0f - std::pow(1.0f - capped, 1.0f / 16.0f);
}

double sample_spacing(std::uint32_t style) {
    switch (style) {
        case 1: return 2.5;
        case 2: return 9.0;
        case 3: return 5.0;
        case 4: return 16.0;
        default: return 0.0;
    }
}

// Trail samples take their look from their own time, so that a spark keeps
// its colour and direction while it ages.
std::uint64_t sample_seed(std::uint64_t time) {
    std::uint64_t h = (time >> 2) * 0x9E3779B97F4A7C15ull;
    h ^= h >> 29;
    h *= 0xBF58476D1CE4E5B9ull;
    h ^= h >> 32;
    return h;
}

Point minus(Point a, Point b) { return {a.x - b.x, a.y - b.y}; }
double length(Point a) { return std::hypot(a.x, a.y); }
Point mix(Point a, double wa, Point b, double wb) { return {a.x * wa + b.x * wb, a.y * wa + b.y * wb}; }
Point at_point(const TrailPoint& p) { return {p.x, p.y}; }

class Builder {
public:
    explicit Builder(PointerPicture& picture) : picture_(picture) {}

    void fill(Point centre, double radius, PaintColour colour) {
        picture_.primitives.push_back({PointerShape::FillCircle, colour, centre, {}, radius, 0.0, 0, 0});
    }
    void ring(Point centre, double radius, PaintColour colour, double width) {
        picture_.primitives.push_back({PointerShape::StrokeCircle, colour, centre, {}, radius, width, 0, 0});
    }
    void line(Point from, Point to, PaintColour colour, double width) {
        picture_.primitives.push_back({PointerShape::Line, colour, from, to, 0.0, width, 0, 0});
    }
    // The points added since `first` make one polygon.
    void polygon_from(std::size_t first, PaintColour colour) {
        picture_.primitives.push_back({PointerShape::Polygon, colour, {}, {}, 0.0, 0.0,
                                       static_cast<std::uint32_t>(first),
                                       static_cast<std::uint32_t>(picture_.points.size() - first)});
    }
    std::vector<Point>& points() { return picture_.points; }

private:
    PointerPicture& picture_;
};

// Twice: every inner point moves toward its neighbours, the ends stay.
void smooth(std::vector<TrailPoint>& points, std::vector<TrailPoint>& scratch) {
    if (points.size() < 3) return;
    for (int pass = 0; pass < 2; ++pass) {
        scratch = points;
        for (std::size_t i = 1; i + 1 < points.size(); ++i) {
            points[i].x = (scratch[i - 1].x + 2.0 * scratch[i].x + scratch[i + 1].x) / 4.0;
            points[i].y = (scratch[i - 1].y + 2.0 * scratch[i].y + scratch[i + 1].y) / 4.0;
        }
    }
}

std::size_t samples_at(const std::vector<TrailPoint>& points, double spacing) {
    std::size_t count = 1;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const double gap = std::hypot(points[i + 1].x - points[i].x, points[i + 1].y - points[i].y);
        count += static_cast<std::size_t>(std::max(1.0, std::ceil(gap / spacing)));
    }
    return count;
}

// Centripetal Catmull-Rom through the points, one sample per `spacing`.
void resample(const std::vector<TrailPoint>& p, double spacing, std::vector<TrailPoint>& out) {
    out.clear();
    for (std::size_t count = samples_at(p, spacing); count > kMaxTrailSamples; count = samples_at(p, spacing))
        spacing *= static_cast<double>(count) / static_cast<double>(kMaxTrailSamples) * 1.001;
    const std::size_t n = p.size();
    for (std::size_t i = 0; i + 1 < n; ++i) {
        const Point p1 = at_point(p[i]), p2 = at_point(p[i + 1]);
        const Point p0 = i > 0 ? at_point(p[i - 1]) : mix(p1, 2.0, p2, -1.0);
        const Point p3 = i + 2 < n ? at_point(p[i + 2]) : mix(p2, 2.0, p1, -1.0);
        const double t0 = 0.0;
        const double t1 = t0 + std::max(std::sqrt(length(minus(p1, p0))), kTiny);
        const double t2 = t1 + std::max(std::sqrt(length(minus(p2, p1))), kTiny);
        const double t3 = t2 + std::max(std::sqrt(length(minus(p3, p2))), kTiny);
        const auto steps = static_cast<std::size_t>(std::max(1.0, std::ceil(length(minus(p2, p1)) / spacing)));
        const std::uint64_t span = p[i + 1].time > p[i].time ? p[i + 1].time - p[i].time : 0;
        for (std::size_t k = 0; k < steps; ++k) {
            const double f = static_cast<double>(k) / static_cast<double>(steps);
            const double t = t1 + f * (t2 - t1);
            const Point a1 = mix(p0, (t1 - t) / (t1 - t0), p1, (t - t0) / (t1 - t0));
            const Point a2 = mix(p1, (t2 - t) / (t2 - t1), p2, (t - t1) / (t2 - t1));
            const Point a3 = mix(p2, (t3 - t) / (t3 - t2), p3, (t - t2) / (t3 - t2));
            const Point b1 = mix(a1, (t2 - t) / (t2 - t0), a2, (t - t0) / (t2 - t0));
            const Point b2 = mix(a2, (t3 - t) / (t3 - t1), a3, (t - t1) / (t3 - t1));
            const Point c = mix(b1, (t2 - t) / (t2 - t1), b2, (t - t1) / (t2 - t1));
            out.push_back({c.x, c.y, p[i].time + static_cast<std::uint64_t>(f * static_cast<double>(span))});
        }
    }
    out.push_back(p.back());
}

// The trail's samples and their weights; false when there is no trail.
bool trail_samples(PointerPicture& picture, const PointerState& state, const PointerSettings& settings,
                   double scale, std::uint64_t now) {
    const double spacing = sample_spacing(settings.trail_style) * scale;
    if (!(spacing > 0.0)) return false;
    const std::uint64_t lifetime = trail_lifetime_ms(settings.trail_length);
    std::vector<TrailPoint>& kept = picture.kept;
    kept.clear();
    for (std::size_t i = 0; i < state.trail.count; ++i)
        if (age_ms(now, state.trail.at(i).time) < lifetime) kept.push_back(state.trail.at(i));
    if (kept.empty()) return false;
    if (state.displayed && (state.displayed->x != kept.back().x || state.displayed->y != kept.back().y))
        kept.push_back({state.displayed->x, state.displayed->y, now});
    smooth(kept, picture.smoothed);
    resample(kept, spacing, picture.samples);
    if (picture.samples.size() < 2) return false;
    picture.weights.clear();
    for (const TrailPoint& sample : picture.samples)
        picture.weights.push_back(
            std::clamp(1.0 - static_cast<double>(age_ms(now, sample.time)) / static_cast<double>(lifetime), 0.0, 1.0));
    return true;
}

void line_trail(Builder& out, PointerPicture& picture, Point origin, const PointerSettings& settings,
                const PointerHighlight& highlight, double scale) {
    const std::vector<TrailPoint>& samples = picture.samples;
    const std::vector<double>& weights = picture.weights;
    const std::size_t m = samples.size();
    const double half = std::clamp(0.3 * settings.halo_size, 4.0, 36.0) * scale * 0.5;
    picture.left.clear();
    picture.right.clear();
    Point tangent{1.0, 0.0}, normal{0.0, -1.0};
    for (std::size_t j = 0; j < m; ++j) {
        const Point prev = at_point(samples[j == 0 ? 0 : j - 1]);
        const Point next = at_point(samples[std::min(j + 1, m - 1)]);
        const Point d = minus(next, prev);
        if (const double len = length(d); len > kTiny) {
            tangent = {d.x / len, d.y / len};
            normal = {-tangent.y, tangent.x};
        }
        const double w = std::pow(weights[j], 0.8) * half;
        const Point at = minus(at_point(samples[j]), origin);
        picture.left.push_back({at.x + normal.x * w, at.y + normal.y * w});
        picture.right.push_back({at.x - normal.x * w, at.y - normal.y * w});
    }
    const Point head = minus(at_point(samples[m - 1]), origin);
    const double h = std::pow(weights[m - 1], 0.8) * half;
    std::array<Point, 7> cap;
    for (std::size_t k = 0; k < cap.size(); ++k) {
        const double f = static_cast<double>(k + 1) * kPi / 8.0;
        cap[k] = {head.x + h * (std::cos(f) * normal.x + std::sin(f) * tangent.x),
                  head.y + h * (std::cos(f) * normal.y + std::sin(f) * tangent.y)};
    }
    const PaintColour colour = colour_of(highlight.colour, kRibbonLayerAlpha);
    std::size_t start = 0;
    for (int layer = 0; layer < kLayers; ++layer) {
        const double above = static_cast<double>(layer) / kLayers;
        while (start < m && !(weights[start] > above)) ++start;
        if (m - start < 2) break;  // the later layers start later still
        std::vector<Point>& points = out.points();
        const std::size_t first = points.size();
        points.insert(points.end(), picture.left.begin() + static_cast<std::ptrdiff_t>(start), picture.left.end());
        points.insert(points.end(), cap.begin(), cap.end());
        for (std::size_t j = m; j-- > start;) points.push_back(picture.right[j]);
        out.polygon_from(first, colour);
    }
}

void dotted_trail(Builder& out, const PointerPicture& picture, Point origin, const PointerSettings& settings,
                  const PointerHighlight& highlight, double scale) {
    for (std::size_t j = 0; j < picture.samples.size(); ++j) {
        const double a = picture.weights[j];
        const Point at = minus(at_point(picture.samples[j]), origin);
        switch (settings.trail_style) {
            case 2: out.fill(at, (0.7 * a + 0.3) * 3.5 * scale, colour_of(highlight.colour, 0.85 * a)); break;
            case 3: {
                const std::uint64_t h = sample_seed(picture.samples[j].time);
                const PaintColour colour = colour_of(kSparkPalette[(h / 7) % 3], 0.95 * a);
                const double angle = static_cast<double>(h % 628) / 100.0;
                const double drift = (1.0 - a) * 14.0 * scale;
                const Point c{at.x + drift * std::cos(angle), at.y + drift * std::sin(angle)};
                const double l = (0.7 * a + 0.3) * 4.0 * scale;
                out.line({c.x - l, c.y}, {c.x + l, c.y}, colour, 1.4 * scale);
                out.line({c.x, c.y - l}, {c.x, c.y + l}, colour, 1.4 * scale);
                break;
            }
            case 4: {
                const std::uint64_t h = sample_seed(picture.samples[j].time);
                const double turn = static_cast<double>(h % 100) / 50.0 + (1.0 - a) * 2.4 - kPi / 2.0;
                const double outer = (0.6 * a + 0.4) * 6.0 * scale;
                std::vector<Point>& points = out.points();
                const std::size_t first = points.size();
                for (int k = 0; k < 10; ++k) {
                    const double radius = k % 2 == 0 ? outer : 0.45 * outer;
                    const double angle = turn + k * kPi / 5.0;
                    points.push_back({at.x + radius * std::cos(angle), at.y + radius * std::sin(angle)});
                }
                out.polygon_from(first, colour_of(lightened(highlight.colour), 0.95 * a));
                break;
            }
            default: return;
        }
    }
}

void click_marks(Builder& out, Point origin, const PointerState& state, const PointerSettings& settings,
                 double scale, std::uint64_t now) {
    for (const ClickMark& mark : state.marks) {
        if (mark.button == kNoButton) continue;
        const std::uint64_t age = age_ms(now, mark.time);
        if (age >= kClickMarkLifetimeMs) continue;
        const double v = static_cast<double>(age) / kMarkGrowMs;
        const double e = 1.0 - std::pow(1.0 - v, 3.0);
        const Rgb colour = mark.button == 0 ? settings.left_click_color : settings.right_click_color;
        const Point centre{mark.x - origin.x, mark.y - origin.y};
        switch (settings.click_animation) {
            case 1:
                if (v >= 1.0) break;
                out.fill(centre, (8.0 + 26.0 * e) * scale, colour_of(colour, 0.35 * (1.0 - v)));
                out.ring(centre, (8.0 + 26.0 * e) * scale, colour_of(colour, 0.7 * (1.0 - v)), 1.5 * scale);
                break;
            case 2:
                if (v < 1.0)
                    out.ring(centre, (6.0 + 30.0 * e) * scale, colour_of(colour, 0.9 * (1.0 - v)), 3.0 * scale);
                break;
            case 3:
                for (const double w : {v, v - 120.0 / kMarkGrowMs, v - 240.0 / kMarkGrowMs})
                    if (w >= 0.0 && w < 1.0)
                        out.ring(centre, (6.0 + 30.0 * (1.0 - std::pow(1.0 - w, 3.0))) * scale,
                                 colour_of(colour, 0.9 * (1.0 - w)), 2.0 * scale);
                break;
            default: break;
        }
    }
}

void halo(Builder& out, Point origin, const PointerState& state, const PointerSettings& settings,
          const PointerHighlight& highlight, double scale) {
    if (!state.displayed || settings.halo_shape == 0) return;
    const Point centre = minus(*state.displayed, origin);
    const double r = settings.halo_size * 0.5 * scale;
    const double o = settings.halo_opacity / 100.0;
    const double q = settings.halo_softness / 100.0;
    const double thick = settings.halo_thickness * scale;
    const Rgb colour = highlight.pressed ? kPressedHaloColour : highlight.colour;
    switch (settings.halo_shape) {
        case 1:
            if (q > 0.0) {
                const float alpha = layer_alpha((highlight.pressed ? 0.65 : 0.55) * o);
                for (int i = 0; i < kLayers; ++i)
                    out.fill(centre, r * (1.0 - q * i / kLayers), colour_of(colour, alpha));
            } else {
                out.fill(centre, r, colour_of(colour, (highlight.pressed ? 0.24 : 0.14) * o));
                out.ring(centre, r, colour_of(colour, 0.55 * o), thick);
            }
            break;
        case 2:
            if (q > 0.0) {
                const float alpha = layer_alpha(0.9 * o);
                for (int i = 0; i < kLayers; ++i)
                    out.ring(centre, r, colour_of(colour, alpha), (1.0 - static_cast<double>(i) / kLayers) * q * r + thick);
            } else {
                out.ring(centre, r, colour_of(colour, 0.9 * o), thick);
            }
            break;
        case 3: {
            const double glow = (2.0 * q + 1.0) * 8.0;
            for (const int k : {4, 3, 2, 1}) out.ring(centre, r, colour_of(colour, 0.07 * o), k * glow * 0.5 * scale + thick);
            out.ring(centre, r, colour_of(colour, 0.95 * o), thick);
            out.ring(centre, r, colour_of(lightened(colour), 0.9 * o), std::max(0.4 * thick, 0.75 * scale));
            break;
        }
        default: return;
    }
    if (highlight.pulse) {
        const double p = *highlight.pulse;
        out.ring(centre, r * (1.0 + 0.4 * p), colour_of(colour, 0.5 * (1.0 - p) * o), 2.0 * scale);
    }
}

}  // namespace

bool same_pointer_drawing(const PointerPicture& a, const PointerPicture& b) {
    return a.primitives == b.primitives && a.points == b.points;
}

void build_pointer_picture(PointerPicture& picture, Point origin, const PointerState& state,
                           const PointerSettings& settings, const PointerHighlight& highlight, double scale,
                           std::uint64_t now) {
    picture.primitives.clear();
    picture.points.clear();
    Builder out(picture);
    if (trail_samples(picture, state, settings, scale, now)) {
        if (settings.trail_style == 1)
            line_trail(out, picture, origin, settings, highlight, scale);
        else
            dotted_trail(out, picture, origin, settings, highlight, scale);
    }
    click_marks(out, origin, state, settings, scale, now);
    halo(out, origin, state, settings, highlight, scale);
}

}  // namespace glimmerly
