#include "core/presentation/temporary_shapes.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

namespace glimmerly {
namespace {

bool finite(double a, double b) { return std::isfinite(a) && std::isfinite(b); }

ObjectPayload payload_of(TemporaryShapeKind kind, Point start, double dx, double dy, double raw_dx, double raw_dy,
                         bool alt) {
    const Point end{start.x + dx, start.y + dy};
    switch (kind) {
        case TemporaryShapeKind::Arrow: {
            LinePayload line;
            line.from = start;
            line.to = end;
            line.head = true;
            return line;
        }
        case TemporaryShapeKind::Rectangle:
            return RectanglePayload{{std::min(start.x, end.x), std::min(start.y, end.y), std::max(start.x, end.x),
                                     std::max(start.y, end.y)}};
        default: {
            // From the raw offsets: Shift leaves a circle a circle through the pointer.
            const double rx = alt ? std::abs(raw_dx) : std::hypot(raw_dx, raw_dy);
            const double ry = alt ? std::abs(raw_dy) : rx;
            return EllipsePayload{{start.x - rx, start.y - ry, start.x + rx, start.y + ry}};
        }
    }
}

bool has_extent(const SceneObject& object) {
    if (const LinePayload* line = as_line(object)) return std::hypot(line->to.x - line->from.x, line->to.y - line->from.y) > 0;
    const Box* rect = object_rect(object);
    return rect && rect->right > rect->left && rect->bottom > rect->top;
}

std::uint64_t age(std::uint64_t now, std::uint64_t then) { return now > then ? now - then : 0; }

}  // namespace

void begin_temporary_shape(TemporaryShapes& shapes, double x, double y) {
    shapes.pending.reset();
    shapes.drag_start = {x, y};
    shapes.drag_valid = finite(x, y);
    drag_temporary_shape(shapes, x, y, false, false);
}

void drag_temporary_shape(TemporaryShapes& shapes, double x, double y, bool shift, bool alt) {
    if (shapes.armed == TemporaryShapeKind::None || !shapes.drag_valid || !finite(x, y)) return;
    const Point start = shapes.drag_start;
    const double raw_dx = x - start.x, raw_dy = y - start.y;
    if (!finite(raw_dx, raw_dy)) return;
    double dx = raw_dx, dy = raw_dy;
    if (shift && shapes.armed == TemporaryShapeKind::Arrow) {
        const double step = std::numbers::pi / 4;
        const double angle = std::round(std::atan2(dy, dx) / step) * step;
        const double length = std::hypot(dx, dy);
        dx = length * std::cos(angle);
        dy = length * std::sin(angle);
    } else if (shift && shapes.armed == TemporaryShapeKind::Rectangle) {
        const double side = std::max(std::abs(dx), std::abs(dy));
        dx = std::copysign(side, dx);
        dy = std::copysign(side, dy);
    }
    if (!finite(start.x + dx, start.y + dy)) return;
    ObjectPayload payload = payload_of(shapes.armed, start, dx, dy, raw_dx, raw_dy, alt);
    if (const EllipsePayload* ellipse = std::get_if<EllipsePayload>(&payload);
        ellipse && !(finite(ellipse->rect.left, ellipse->rect.top) && finite(ellipse->rect.right, ellipse->rect.bottom)))
        return;
    if (!shapes.pending) {
        SceneObject object;
        object.color = kPendingShapeColour;
        object.width = kPendingShapeWidth;
        shapes.pending = std::move(object);
    }
    shapes.pending->payload = std::move(payload);
}

bool commit_temporary_shape(TemporaryShapes& shapes, std::uint64_t now_ms, std::uint32_t duration_ms) {
    shapes.armed = TemporaryShapeKind::None;
    shapes.drag_valid = false;
    std::optional<SceneObject> finished = std::exchange(shapes.pending, std::nullopt);
    if (!finished || !has_extent(*finished)) return false;
    if (shapes.shapes.size() >= kMaxTemporaryShapes)
        shapes.shapes.erase(shapes.shapes.begin(),
                            shapes.shapes.begin() + std::ptrdiff_t(shapes.shapes.size() - (kMaxTemporaryShapes - 1)));
    shapes.shapes.push_back({std::move(*finished), now_ms, shapes.pending_head_size, duration_ms});
    return true;
}

void drop_armed_shape(TemporaryShapes& shapes) {
    shapes.pending.reset();
    shapes.drag_valid = false;
    shapes.armed = TemporaryShapeKind::None;
}

double temporary_shape_opacity(const TemporaryShape& shape, std::uint64_t now_ms) {
    const std::uint32_t fade = std::min(shape.duration_ms, kShapeFadeMs);
    if (fade == 0) return 0.0;
    const std::uint64_t lived = age(now_ms, shape.created_ms);
    const std::uint64_t remaining = lived >= shape.duration_ms ? 0 : shape.duration_ms - lived;
    return double(std::min<std::uint64_t>(remaining, fade)) / fade;
}

bool temporary_shape_fading(const TemporaryShape& shape, std::uint64_t now_ms) {
    return temporary_shape_opacity(shape, now_ms) < 1.0;
}

bool remove_expired_shapes(TemporaryShapes& shapes, std::uint64_t now_ms) {
    const auto gone = std::remove_if(shapes.shapes.begin(), shapes.shapes.end(), [&](const TemporaryShape& shape) {
        return age(now_ms, shape.created_ms) >= shape.duration_ms;
    });
    const bool removed = gone != shapes.shapes.end();
    shapes.shapes.erase(gone, shapes.shapes.end());
    return removed;
}

}  // namespace glimmerly
