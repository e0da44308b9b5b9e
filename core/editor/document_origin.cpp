#include "core/editor/document_origin.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

namespace glimmerly {
namespace {

double width_of(const Box& b) { return b.right - b.left; }
double height_of(const Box& b) { return b.bottom - b.top; }

bool overlaps(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool within(const Box& inner, const Box& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

// Whether the monitors that the frame overlaps cover exactly its rectangle:
// none reaches out of it, and every cell of the grid their edges cut it
// into lies on one of them. A handful of monitors keeps the grid small.
bool monitors_make_up(const Box& frame, std::span<const Box> monitors) {
    std::vector<Box> touching;
    std::vector<double> xs{frame.left, frame.right}, ys{frame.top, frame.bottom};
    for (const Box& m : monitors) {
        if (!overlaps(m, frame)) continue;
        if (!within(m, frame)) return false;
        touching.push_back(m);
        xs.insert(xs.end(), {m.left, m.right});
        ys.insert(ys.end(), {m.top, m.bottom});
    }
    if (touching.empty()) return false;
    std::sort(xs.begin(), xs.end());
    std::sort(ys.begin(), ys.end());
    for (std::size_t i = 0; i + 1 < xs.size(); ++i)
        for (std::size_t j = 0; j + 1 < ys.size(); ++j) {
            if (xs[i] == xs[i + 1] || ys[j] == ys[j + 1]) continue;
            const double x = (xs[i] + xs[i + 1]) / 2, y = (ys[j] + ys[j + 1]) / 2;
            const bool covered = std::any_of(touching.begin(), touching.end(), [&](const Box& m) {
                return m.left <= x && x < m.right && m.top <= y && y < m.bottom;
            });
            if (!covered) return false;
        }
    return true;
}

bool under(const Box& m, PixelPoint p) {
    return m.left <= p.x && p.x <= m.right && m.top <= p.y && p.y <= m.bottom;
}

bool same_size(const Box& m, FrameSize frame) { return width_of(m) == frame.width && height_of(m) == frame.height; }
bool fits(const Box& m, FrameSize frame) { return frame.width <= width_of(m) && frame.height <= height_of(m); }

std::int32_t saturate(double v) {
    if (std::isnan(v)) return 0;
    return static_cast<std::int32_t>(std::clamp(v, static_cast<double>(std::numeric_limits<std::int32_t>::min()),
                                                static_cast<double>(std::numeric_limits<std::int32_t>::max())));
}

PixelPoint corner(const Box& m) { return {saturate(m.left), saturate(m.top)}; }

PixelPoint centred(const Box& m, FrameSize frame) {
    return {saturate(m.left + std::floor((width_of(m) - frame.width) / 2)),
            saturate(m.top + std::floor((height_of(m) - frame.height) / 2))};
}

}  // namespace

std::optional<PixelPoint> choose_document_origin(FrameSize frame, ScreenOrigin recorded,
                                                 std::span<const Box> monitors, PixelPoint pointer) {
    const Box at_recorded{static_cast<double>(recorded.x), static_cast<double>(recorded.y),
                          static_cast<double>(recorded.x) + frame.width, static_cast<double>(recorded.y) + frame.height};
    if (monitors_make_up(at_recorded, monitors)) return PixelPoint{recorded.x, recorded.y};

    const auto pointed = std::find_if(monitors.begin(), monitors.end(), [&](const Box& m) { return under(m, pointer); });
    if (pointed != monitors.end() && same_size(*pointed, frame)) return corner(*pointed);
    for (const Box& m : monitors)
        if (same_size(m, frame)) return corner(m);
    if (monitors.empty()) return std::nullopt;

    const Box& host = pointed != monitors.end() ? *pointed : monitors.front();
    if (fits(host, frame)) return centred(host, frame);
    Box all = monitors.front();
    for (const Box& m : monitors)
        all = {std::min(all.left, m.left), std::min(all.top, m.top), std::max(all.right, m.right),
               std::max(all.bottom, m.bottom)};
    if (fits(all, frame)) return centred(all, frame);
    return std::nullopt;
}

Box document_window(FrameSize frame, PixelPoint origin, std::span<const Box> monitors) {
    const Box placed{static_cast<double>(origin.x), static_cast<double>(origin.y),
                     static_cast<double>(origin.x) + frame.width, static_cast<double>(origin.y) + frame.height};
    Box window = placed;
    for (const Box& m : monitors)
        if (overlaps(m, placed))
            window = {std::min(window.left, m.left), std::min(window.top, m.top), std::max(window.right, m.right),
                      std::max(window.bottom, m.bottom)};
    return window;
}

}  // namespace glimmerly
