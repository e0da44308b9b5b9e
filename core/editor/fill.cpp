#include "core/editor/fill.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "core/editor/editor_state.h"
#include "core/editor/history.h"
#include "core/editor/hit_test.h"

#include <span>

namespace glimmerly {

namespace {

// The fill tool picks outlines within this many interface units.
constexpr double kFillTolerance = 3.0;

bool is_shape(const SceneObject& object) {
    return object.kind() == ObjectKind::Rectangle || object.kind() == ObjectKind::Ellipse;
}

bool boxes_meet(const Box& a, const Box& b) {
    return a.left <= b.right && b.left <= a.right && a.top <= b.bottom && b.top <= a.bottom;
}

// The topmost object whose inside holds the point.
std::optional<std::size_t> owner_at(std::span<const SceneObject> objects, Point point) {
    for (std::size_t i = objects.size(); i-- > 0;)
        if (hit_object_interior(objects[i], point)) return i;
    return std::nullopt;
}

std::optional<FillTarget> region_to_clear(const EditorState& state, Point point) {
    const std::span<const SceneObject> objects = state.objects;
    for (std::size_t i = objects.size(); i-- > 0;) {
        if (!hit_object_interior(objects[i], point)) continue;
        if (const auto region = fill_region_at(objects[i].fill, point, objects, i + 1))
            return ExistingRegion{i, *region};
    }
    if (const auto region = fill_region_at(state.background, point, objects, 0))
        return ExistingRegion{std::nullopt, *region};
    return std::nullopt;
}

}  // namespace

std::optional<FillTarget> fill_target_at(const EditorState& state, Point point, bool clear) {
    if (!is_finite(point)) return std::nullopt;
    if (clear) return region_to_clear(state, point);

    const std::span<const SceneObject> objects = state.objects;
    const double tolerance = kFillTolerance * state.interface_scale;
    for (std::size_t i = objects.size(); i-- > 0;) {
        const SceneObject& object = objects[i];
        if (object.kind() == ObjectKind::Blur) continue;
        const double reach = tolerance + (object.kind() == ObjectKind::Rectangle ? object.width / 2.0 : 0.0);
        if (hit_object_outline(object, point, reach, objects)) return Outline{i, state.color};
        // A filled shape hides the outlines below it.
        if (hit_object_interior(object, point) && fill_region_at(object.fill, point, objects, i + 1)) break;
    }

    const auto owner = owner_at(objects, point);
    const std::span<const FillRegion> fills = owner ? std::span<const FillRegion>(objects[*owner].fill)
                                                    : std::span<const FillRegion>(state.background);
    const auto region = fill_region_at(fills, point, objects, owner ? *owner + 1 : 0);
    // Filling a region with its own colour again takes it away.
    if (region && fills[*region].color == state.color) return ExistingRegion{owner, *region};

    std::vector<ObjectId> ids;
    if (owner) {
        const Box owner_box = rotated_object_bounds(objects[*owner]);
        for (std::size_t i = *owner + 1; i < objects.size(); ++i)
            if (is_shape(objects[i]) && boxes_meet(rotated_object_bounds(objects[i]), owner_box))
                ids.push_back(objects[i].id);
        return NewObjectRegion{*owner, std::move(ids), state.color};
    }
    for (const SceneObject& object : objects)
        if (is_shape(object)) ids.push_back(object.id);
    return NewBackgroundRegion{std::move(ids), state.color};
}

void apply_fill_at(EditorState& state, Point point, bool clear) {
    if (!is_finite(point)) return;
    cancel_gesture(state);
    auto target = fill_target_at(state, point, clear);
    if (!target) return;

    if (auto* fresh = std::get_if<NewBackgroundRegion>(&*target)) {
        std::vector<FillRegion> fills = state.background;
        add_fill_region(fills, FillRegion{std::move(fresh->ids), fresh->color});
        commit_background_fills(state, std::move(fills));
        return;
    }
    if (auto* existing = std::get_if<ExistingRegion>(&*target); existing && !existing->owner) {
        std::vector<FillRegion> fills = state.background;
        fills.erase(fills.begin() + static_cast<std::ptrdiff_t>(existing->region));
        commit_background_fills(state, std::move(fills));
        return;
    }

    std::vector<SceneObject> earlier = state.objects;
    if (const auto* outline = std::get_if<Outline>(&*target)) {
        state.objects.edit()[outline->index].color = outline->color;
    } else if (auto* inside = std::get_if<NewObjectRegion>(&*target)) {
        add_fill_region(state.objects.edit()[inside->index].fill, FillRegion{std::move(inside->ids), inside->color});
    } else if (const auto* existing = std::get_if<ExistingRegion>(&*target)) {
        std::vector<FillRegion>& fills = state.objects.edit()[*existing->owner].fill;
        fills.erase(fills.begin() + static_cast<std::ptrdiff_t>(existing->region));
    }
    commit_objects(state, std::move(earlier));
}

}  // namespace glimmerly
