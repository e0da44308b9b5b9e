#pragma once
// What a stored scene may hold, counted on a live object list. Edits that
// add to the scene stop at these limits: past them the capture would fail
// only when it is saved, long after the edit that broke it.

#include "core/document/scene.h"
#include "core/document/scene_object.h"

#include <cstddef>
#include <span>

namespace glimmerly {

// Stroke points plus stroke widths over the whole list.
inline std::size_t stroke_value_count(std::span<const SceneObject> objects) {
    std::size_t total = 0;
    for (const SceneObject& object : objects)
        if (const auto* stroke = as_stroke(object)) total += stroke->points.size() + stroke->widths.size();
    return total;
}

}  // namespace glimmerly
