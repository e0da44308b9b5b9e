#include "core/presentation/loupe_geometry.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

std::int32_t clamp_i32(std::int64_t v) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, std::numeric_limits<std::int32_t>::min(),
                                                              std::numeric_limits<std::int32_t>::max()));
}

std::int32_t saturate_i32(double v) {
    if (std::isnan(v)) return 0;
    if (v >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    if (v <= -2147483648.0) return std::numeric_limits<std::int32_t>::min();
    return static_cast<std::int32_t>(v);
}

// Half width, in source pixels, of the strip of destination rows [top, bottom).
struct StripFit {
    std::int32_t half_width = 0;
    bool fits = false;
};

StripFit strip_fit(double top, double bottom, double r, std::int32_t zoom) {
    const double to_top = std::fabs(top - r);
    const double to_bottom = std::fabs(bottom - r);
    double near = std::min(to_top, to_bottom);
    const double far = std::max(to_top, to_bottom);
    if (top <= r && bottom >= r) near = 0;
    const double inner = r - 3;
    const double outer = r + 3;
    const std::int32_t w = saturate_i32(std::ceil(std::sqrt(std::max(inner * inner - near * near, 0.0)) / zoom));
    const bool fits = std::sqrt(std::max(outer * outer - far * far, 0.0)) >= double(w) * zoom;
    return {w, fits};
}

}  // namespace

LoupeSquares loupe_squares(std::int32_t x, std::int32_t y, std::int32_t diameter, std::uint32_t zoom) {
    const std::int32_t z = static_cast<std::int32_t>(zoom) >= 2 ? static_cast<std::int32_t>(zoom) : 1;
    std::int32_t s = diameter / z;
    if (s < 2) s = 1;
    const std::int64_t h = s / 2;
    LoupeSquares out;
    out.zoom = z;
    out.source = {clamp_i32(x - h), clamp_i32(y - h), clamp_i32(x - h + s), clamp_i32(y - h + s)};
    const std::int64_t left = x - h * z;
    const std::int64_t top = y - h * z;
    const std::int64_t side = std::int64_t{s} * z;
    out.destination = {clamp_i32(left), clamp_i32(top), clamp_i32(left + side), clamp_i32(top + side)};
    return out;
}

bool rects_overlap(const PixelRect& a, const PixelRect& b) {
    return std::max(a.left, b.left) < std::min(a.right, b.right) && std::max(a.top, b.top) < std::min(a.bottom, b.bottom);
}

PixelRect rect_intersection(const PixelRect& a, const PixelRect& b) {
    return {std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right), std::min(a.bottom, b.bottom)};
}

std::vector<PixelRect> loupe_strips(const PixelRect& source, const PixelRect& destination, std::int32_t zoom) {
    std::vector<PixelRect> strips;
    const std::int64_t rows = std::int64_t{source.bottom} - source.top;
    if (rows <= 0 || zoom < 1) return strips;
    const double r = (double(destination.bottom) - double(destination.top)) * 0.5;
    const std::int64_t cx = source.left + (std::int64_t{source.right} - source.left) / 2;
    std::int64_t i = 0;
    while (i < rows) {
        std::int64_t e = i + 1;
        while (e + 1 <= rows && strip_fit(double(i) * zoom, double(e + 1) * zoom, r, zoom).fits) ++e;
        const std::int32_t w = strip_fit(double(i) * zoom, double(e) * zoom, r, zoom).half_width;
        if (w > 0)
            strips.push_back({clamp_i32(std::max<std::int64_t>(source.left, cx - w)), clamp_i32(source.top + i),
                              clamp_i32(std::min<std::int64_t>(source.right, cx + w)), clamp_i32(source.top + e)});
        i = e;
    }
    return strips;
}

std::vector<LoupePlacement> loupe_placements(const PixelRect& source, std::int32_t zoom,
                                             const std::vector<PixelRect>& strips,
                                             const std::vector<LoupeCandidate>& beneath) {
    std::vector<LoupePlacement> out;
    for (auto it = beneath.rbegin(); it != beneath.rend(); ++it) {
        for (const PixelRect& strip : strips) {
            if (!rects_overlap(strip, it->rect)) continue;
            const PixelRect i = rect_intersection(strip, it->rect);
            const auto scaled = [&](std::int32_t v, std::int32_t origin) {
                return clamp_i32((std::int64_t{v} - origin) * zoom);
            };
            out.push_back({{i.left - it->rect.left, i.top - it->rect.top, i.right - it->rect.left,
                            i.bottom - it->rect.top},
                           {scaled(i.left, source.left), scaled(i.top, source.top), scaled(i.right, source.left),
                            scaled(i.bottom, source.top)},
                           it->window});
        }
    }
    return out;
}

std::uint32_t parse_build_number(std::u16string_view value) {
    if (value.size() * sizeof(char16_t) > kBuildNumberBytes) return 0;
    while (!value.empty() && value.back() == u'\0') value.remove_suffix(1);
    if (!value.empty() && value.front() == u'+') value.remove_prefix(1);
    if (value.empty()) return 0;
    std::uint64_t build = 0;
    for (const char16_t c : value) {
        if (c < u'0' || c > u'9') return 0;
        build = build * 10 + (c - u'0');
        if (build > std::numeric_limits<std::uint32_t>::max()) return 0;
    }
    return static_cast<std::uint32_t>(build);
}

std::array<FalloffStop, 5> falloff_stops(double outer, double width) {
    static constexpr std::array<double, 5> kOpacities = {1.0, 0.8641975308641976, 0.5371428571428571,
                                                         0.2857142857142857, 0.04296875};
    std::array<FalloffStop, 5> stops;
    for (std::size_t k = 0; k < stops.size(); ++k)
        stops[k] = {outer - width + double(k) * width / 4, kOpacities[k]};
    return stops;
}

}  // namespace glimmerly
