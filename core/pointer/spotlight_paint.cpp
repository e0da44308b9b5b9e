#include "core/pointer/spotlight_paint.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace glimmerly {
namespace {

constexpr double kSoftEdge = 30.0;

std::int32_t saturate(double value) {
    if (std::isnan(value)) return 0;
    const double rounded = std::round(value);
    if (rounded <= double(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    if (rounded >= double(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(rounded);
}

double inner_radius(const SpotlightFrame& frame) { return frame.size * frame.scale * 0.5; }

// The stamp's sides; a box too large for a picture gives no stamp at all.
std::int32_t span(std::int32_t from, std::int32_t to) {
    const std::int64_t length = std::int64_t{to} - from;
    return length > 0 && length < (std::int64_t{1} << 20) ? static_cast<std::int32_t>(length) : 0;
}

void render_stamp(SpotlightCanvas& canvas, const SpotlightFrame& frame, std::int32_t width, std::int32_t height,
                  std::uint8_t alpha) {
    const double inner = inner_radius(frame);
    const double soft = kSoftEdge * frame.scale;
    canvas.stamp.assign(std::size_t(width) * std::size_t(height) * 4, 0);
    for (std::int32_t j = 0; j < height; ++j) {
        const double py = j + 0.5 - height / 2.0;
        std::uint8_t* row = canvas.stamp.data() + std::size_t(j) * std::size_t(width) * 4;
        for (std::int32_t i = 0; i < width; ++i) {
            const double px = i + 0.5 - width / 2.0;
            const double d = frame.shape == 1 ? std::hypot(px, py) : frame.shape == 2 ? std::abs(py) : std::abs(px);
            const double t = soft > 0 ? std::clamp((d - inner) / soft, 0.0, 1.0) : (d > inner ? 1.0 : 0.0);
            const double a = std::round(t * t * (3 - 2 * t) * alpha);
            row[std::size_t(i) * 4 + 3] = static_cast<std::uint8_t>(std::clamp(a, 0.0, 255.0));
        }
    }
    canvas.stamp_size = frame.size;
    canvas.stamp_width = width;
    canvas.stamp_height = height;
    canvas.stamp_alpha = alpha;
    canvas.stamp_shape = frame.shape;
}

PixelRect united(const PixelRect& a, const PixelRect& b) {
    return {std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right), std::max(a.bottom, b.bottom)};
}

void fill(const SpotlightCanvas& canvas, BgraView picture, const PixelRect& update, const PixelRect& hole,
          std::uint8_t alpha) {
    const std::uint32_t dark = std::uint32_t{alpha} << 24;
    const bool stamped = !canvas.stamp.empty() && canvas.stamp_width == span(hole.left, hole.right) &&
                         canvas.stamp_height == span(hole.top, hole.bottom);
    for (std::int32_t y = update.top; y < update.bottom; ++y) {
        std::uint8_t* row = picture.bits + std::size_t(y) * std::size_t(picture.width) * 4;
        std::uint32_t* pixels = reinterpret_cast<std::uint32_t*>(row);
        std::fill(pixels + update.left, pixels + update.right, dark);
        if (!stamped || y < hole.top || y >= hole.bottom) continue;
        const std::int32_t from = std::max(update.left, hole.left);
        const std::int32_t to = std::min(update.right, hole.right);
        if (to <= from) continue;
        const std::uint8_t* source = canvas.stamp.data() + (std::size_t(y - hole.top) * std::size_t(canvas.stamp_width) +
                                                            std::size_t(from - hole.left)) * 4;
        std::memcpy(row + std::size_t(from) * 4, source, std::size_t(to - from) * 4);
    }
}

}  // namespace

std::uint8_t spotlight_alpha(std::uint32_t darkness) {
    return static_cast<std::uint8_t>(std::min<std::uint64_t>(std::uint64_t{darkness} * 255 / 100, 255));
}

PixelRect spotlight_hole_box(const SpotlightFrame& frame, std::int32_t window_width, std::int32_t window_height) {
    const double r = inner_radius(frame) + kSoftEdge * frame.scale;
    const double cx = frame.cursor_x, cy = frame.cursor_y;
    switch (frame.shape) {
        case 2: return {0, saturate(cy - r), window_width, saturate(cy + r)};
        case 3: return {saturate(cx - r), 0, saturate(cx + r), window_height};
        default: return {saturate(cx - r), saturate(cy - r), saturate(cx + r), saturate(cy + r)};
    }
}

PixelRect clamp_rect(const PixelRect& rect, const PixelRect& bounds) {
    PixelRect out;
    out.left = std::clamp(rect.left, bounds.left, std::max(bounds.left, bounds.right));
    out.top = std::clamp(rect.top, bounds.top, std::max(bounds.top, bounds.bottom));
    out.right = std::clamp(rect.right, out.left, std::max(out.left, bounds.right));
    out.bottom = std::clamp(rect.bottom, out.top, std::max(out.top, bounds.bottom));
    return out;
}

SpotlightUpdate paint_spotlight(SpotlightCanvas& canvas, BgraView picture, bool fresh_surface,
                                const SpotlightFrame& frame) {
    const PixelRect hole = spotlight_hole_box(frame, picture.width, picture.height);
    const std::int32_t width = span(hole.left, hole.right);
    const std::int32_t height = span(hole.top, hole.bottom);
    const std::uint8_t alpha = spotlight_alpha(frame.darkness);
    if (canvas.stamp_shape != frame.shape || canvas.stamp_size != frame.size || canvas.stamp_alpha != alpha ||
        canvas.stamp_width != width || canvas.stamp_height != height)
        render_stamp(canvas, frame, width, height, alpha);

    const PixelRect window{0, 0, picture.width, picture.height};
    SpotlightUpdate update;
    update.whole = fresh_surface || canvas.surface_alpha != alpha;
    if (update.whole)
        update.rect = window;
    else
        update.rect = clamp_rect(canvas.has_previous ? united(canvas.previous_hole, hole) : hole, window);
    fill(canvas, picture, update.rect, hole, alpha);
    canvas.surface_alpha = alpha;
    canvas.previous_hole = hole;
    canvas.has_previous = true;
    return update;
}

}  // namespace glimmerly
