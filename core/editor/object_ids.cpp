#include "core/editor/object_ids.h"

#include "core/editor/editor_state.h"

#include <algorithm>
#include <vector>

namespace glimmerly {

namespace {

template <class Visit>
void visit_ids(std::vector<ObjectId>& ids, Visit& visit) {
    for (ObjectId& id : ids) visit(id);
}

template <class Visit>
void visit_ids(std::vector<FillRegion>& regions, Visit& visit) {
    for (FillRegion& region : regions) visit_ids(region.ids, visit);
}

template <class Visit>
void visit_ids(std::vector<SceneObject>& objects, Visit& visit) {
    for (SceneObject& object : objects) {
        visit(object.id);
        visit_ids(object.fill, visit);
        if (LinePayload* line = as_line(object)) {
            if (line->start) visit(line->start->id);
            if (line->end) visit(line->end->id);
        }
    }
}

template <class Visit>
void visit_ids(HistoryEntry& entry, Visit& visit) {
    visit_ids(entry.before, visit);
    visit_ids(entry.after, visit);
    if (entry.order) {
        visit_ids(entry.order->before_ids, visit);
        visit_ids(entry.order->after_ids, visit);
    }
    if (entry.background) {
        visit_ids(entry.background->before_fills, visit);
        visit_ids(entry.background->after_fills, visit);
    }
}

// Every place of the state that names an object by id. Renumbering must reach
// all of them, or an undo would bring back an object under an id that a new
// object has taken meanwhile.
template <class Visit>
void visit_state_ids(EditorState& state, Visit visit) {
    if (state.last_drawn_arrow) visit(*state.last_drawn_arrow);
    if (state.automatic_selection) visit(*state.automatic_selection);
    visit_ids(state.selection, visit);
    visit_ids(state.objects.edit(), visit);
    visit_ids(state.background, visit);
    for (HistoryEntry& entry : state.undo_stack) visit_ids(entry, visit);
    for (HistoryEntry& entry : state.redo_stack) visit_ids(entry, visit);
    if (state.saved_objects) visit_ids(*state.saved_objects, visit);
    if (auto* erase = std::get_if<EraseGesture>(&state.gesture.payload)) visit_ids(erase->erased, visit);
}

}  // namespace

void compact_object_ids(EditorState& state) {
    std::vector<ObjectId> known;
    visit_state_ids(state, [&](ObjectId& id) { known.push_back(id); });
    std::sort(known.begin(), known.end());
    known.erase(std::unique(known.begin(), known.end()), known.end());

    // The n-th smallest id becomes n, so the order of ids survives.
    visit_state_ids(state, [&](ObjectId& id) {
        id = static_cast<ObjectId>(std::lower_bound(known.begin(), known.end(), id) - known.begin()) + 1;
    });
    state.last_id = known.size();
}

std::optional<ObjectId> take_ids_for_new_objects(EditorState& state, std::uint64_t count) {
    if (const auto first = take_new_object_ids(state, count)) return first;
    if (count == 0) return std::nullopt;
    compact_object_ids(state);
    return take_new_object_ids(state, count);
}

}  // namespace glimmerly
