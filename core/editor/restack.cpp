#include "core/editor/restack.h"

#include "core/document/geometry.h"
#include "core/editor/editor_state.h"
#include "core/editor/handles.h"
#include "core/editor/history.h"
#include "core/editor/id_set.h"

#include <algorithm>
#include <iterator>
#include <optional>
#include <vector>

namespace glimmerly {

namespace {

// Touching edges count: an object that only meets the selection still hides
// or is hidden by its outline.
bool overlaps(const Box& a, const Box& b) {
    return a.right >= b.left && b.right >= a.left && a.bottom >= b.top && b.bottom >= a.top;
}

// The nearest object outside the selection, past it in the direction of the
// move, that overlaps the selection's bounds.
std::optional<std::size_t> find_anchor(const std::vector<SceneObject>& objects, const IdSet& selected, const Box& bounds,
                                    bool forward) {
    const auto overlapping = [&](const SceneObject& o) {
        return !selected.contains(o.id) && overlaps(bounds, object_bounds_in_scene(o, objects));
    };
    if (forward) {
        std::size_t last = objects.size();
        for (std::size_t i = objects.size(); i-- > 0;)
            if (selected.contains(objects[i].id)) {
                last = i;
                break;
            }
        for (std::size_t i = last + 1; i < objects.size(); ++i)
            if (overlapping(objects[i])) return i;
        return std::nullopt;
    }
    std::size_t first = 0;
    while (first < objects.size() && !selected.contains(objects[first].id)) ++first;
    for (std::size_t i = first; i-- > 0;)
        if (overlapping(objects[i])) return i;
    return std::nullopt;
}

}  // namespace

void restack_selection(EditorState& state, bool forward, bool all_the_way) {
    cancel_gesture(state);
    const auto bounds = selected_objects_bounds(state);
    if (!bounds) return;
    const IdSet selected(state.selection);

    std::optional<std::size_t> anchor;
    if (!all_the_way) {
        anchor = find_anchor(state.objects, selected, *bounds, forward);
        if (!anchor) return;
    }

    std::vector<SceneObject> earlier = state.objects;
    std::vector<SceneObject> block, others;
    // Where the block goes among the others: right after the anchor going
    // forward, right before it going back, else at the end or the start.
    std::size_t at = forward ? earlier.size() : 0;
    for (std::size_t i = 0; i < earlier.size(); ++i) {
        if (anchor && i == *anchor) at = others.size() + (forward ? 1 : 0);
        (selected.contains(earlier[i].id) ? block : others).push_back(earlier[i]);
    }
    at = std::min(at, others.size());
    others.insert(others.begin() + static_cast<std::ptrdiff_t>(at), std::make_move_iterator(block.begin()),
                  std::make_move_iterator(block.end()));
    state.objects = std::move(others);
    commit_objects(state, std::move(earlier));
}

}  // namespace glimmerly
