#include "core/editor/carry.h"

#include "core/document/object_transform.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {

namespace {

// Objects this many times their width away from the part can still reach
// into it: arrow heads, highlighter strokes and outlines are drawn wider than
// their geometry.
constexpr double kReachFactor = 4.0;

bool fastened_outside(const SceneObject& object, const std::unordered_set<ObjectId>& ids) {
    const LinePayload* line = as_line(object);
    return line && ((line->start && !ids.contains(line->start->id)) || (line->end && !ids.contains(line->end->id)));
}

}  // namespace

Box PixelArea::box() const {
    return {static_cast<double>(left), static_cast<double>(top), static_cast<double>(left) + width,
            static_cast<double>(top) + height};
}

Point PixelArea::top_left() const { return {static_cast<double>(left), static_cast<double>(top)}; }

std::optional<PixelArea> whole_pixel_area(const Box& area, std::uint32_t frame_width, std::uint32_t frame_height) {
    if (std::isnan(area.left) || std::isnan(area.top) || std::isnan(area.right) || std::isnan(area.bottom))
        return std::nullopt;
    const double left = std::floor(std::clamp(area.left, 0.0, static_cast<double>(frame_width)));
    const double top = std::floor(std::clamp(area.top, 0.0, static_cast<double>(frame_height)));
    const double right = std::ceil(std::clamp(area.right, 0.0, static_cast<double>(frame_width)));
    const double bottom = std::ceil(std::clamp(area.bottom, 0.0, static_cast<double>(frame_height)));
    if (!(left < right && top < bottom)) return std::nullopt;
    return PixelArea{static_cast<std::uint32_t>(left), static_cast<std::uint32_t>(top),
                     static_cast<std::uint32_t>(right - left), static_cast<std::uint32_t>(bottom - top)};
}

ClippedObjects::ClippedObjects(std::span<const SceneObject> objects, const Box& rect, std::span<const ObjectId> ids,
                               std::optional<Point> offset)
    : objects_(objects), rect_(rect), ids_(ids.begin(), ids.end()), offset_(offset), index_(objects) {}

std::optional<SceneObject> ClippedObjects::next() {
    const SceneObjects scene(objects_, index_);
    while (next_ < objects_.size()) {
        const SceneObject& object = objects_[next_++];
        const Box b = object_bounds_in_scene(object, scene);
        const double g = kReachFactor * object.width;
        const bool meets = rect_.right >= b.left - g && b.right + g >= rect_.left && rect_.bottom >= b.top - g &&
                           b.bottom + g >= rect_.top;
        if (!meets) continue;
        SceneObject copy = object;
        if (fastened_outside(copy, ids_)) settle_arrow_ends(copy, scene, ids_);
        if (offset_) move_object_by(copy, *offset_);
        return copy;
    }
    return std::nullopt;
}

ClippedObjects clip_objects_to_rect(std::span<const SceneObject> objects, const Box& rect,
                                    std::span<const ObjectId> ids, bool move, Point offset) {
    return ClippedObjects(objects, rect, ids, move ? std::optional<Point>(offset) : std::nullopt);
}

std::vector<SceneObject> objects_without_blur(std::span<const SceneObject> objects, bool leave_out_blur) {
    std::vector<SceneObject> copies;
    copies.reserve(objects.size());
    for (const SceneObject& object : objects)
        if (!leave_out_blur || object.kind() != ObjectKind::Blur) copies.push_back(object);
    return copies;
}

}  // namespace glimmerly
