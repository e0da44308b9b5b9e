#include "core/editor/history.h"

#include "core/editor/editor_state.h"

#include <algorithm>
#include <cstdint>
#include <numeric>
#include <unordered_map>
#include <unordered_set>

namespace glimmerly {

namespace {

std::vector<ObjectId> ids_of(std::span<const SceneObject> objects) {
    std::vector<ObjectId> ids;
    ids.reserve(objects.size());
    for (const SceneObject& object : objects) ids.push_back(object.id);
    return ids;
}

using ObjectsById = std::unordered_map<ObjectId, const SceneObject*>;

// Null when an id repeats: a diff by id cannot tell such objects apart.
std::optional<ObjectsById> map_unique_ids(std::span<const SceneObject> objects) {
    ObjectsById map;
    map.reserve(objects.size());
    for (const SceneObject& object : objects)
        if (!map.emplace(object.id, &object).second) return std::nullopt;
    return map;
}

// Copies of the objects of `from` that `other` lacks or holds differently.
std::vector<SceneObject> changed_objects(std::span<const SceneObject> from, const ObjectsById& other) {
    std::vector<SceneObject> changed;
    for (const SceneObject& object : from) {
        const auto it = other.find(object.id);
        if (it == other.end() || !(*it->second == object)) changed.push_back(object);
    }
    return changed;
}

void push_step(EditorState& state, HistoryEntry entry) {
    state.undo_stack.push_back(std::move(entry));
    state.redo_stack.clear();
}

// The usual step: the objects that stayed are still in the order's sequence
// and only the re-added ones need slotting in. Walks the order once, taking
// the next kept object when it is the one named, else an added object of that
// id. False, with nothing changed, when the kept objects do not follow the
// order or an object would be left over; the general sort then decides.
bool merge_into_order(std::vector<SceneObject>& kept, std::span<const SceneObject> add,
                      const std::vector<ObjectId>& order) {
    std::unordered_map<ObjectId, std::vector<std::size_t>> added;
    for (std::size_t i = 0; i < add.size(); ++i) added[add[i].id].push_back(i);
    std::unordered_map<ObjectId, std::size_t> taken;

    constexpr std::size_t kFromAdd = std::size_t{1} << 63;
    std::vector<std::size_t> sources;  // index into `kept`, or into `add` with the top bit set
    sources.reserve(kept.size() + add.size());
    std::size_t next_kept = 0;
    for (ObjectId id : order) {
        if (next_kept < kept.size() && kept[next_kept].id == id) {
            sources.push_back(next_kept++);
            continue;
        }
        const auto it = added.find(id);
        if (it == added.end()) continue;
        std::size_t& n = taken[id];
        if (n < it->second.size()) sources.push_back(kFromAdd | it->second[n++]);
    }
    if (next_kept != kept.size() || sources.size() != kept.size() + add.size()) return false;

    std::vector<SceneObject> merged;
    merged.reserve(sources.size());
    for (std::size_t source : sources)
        merged.push_back((source & kFromAdd) ? add[source & ~kFromAdd] : std::move(kept[source]));
    kept = std::move(merged);
    return true;
}

// Sorts the objects stably into the given id order, objects it does not name
// first. Where the order repeats an id, the n-th object with that id takes
// its n-th place, so that even such a list comes back exactly as it was;
// objects beyond the places the order gives an id take its last place.
void sort_into_order(std::vector<SceneObject>& objects, const std::vector<ObjectId>& order) {
    std::unordered_map<ObjectId, std::size_t> first_place;
    first_place.reserve(order.size());
    bool repeated = false;
    for (std::size_t i = 0; i < order.size(); ++i) repeated |= !first_place.emplace(order[i], i).second;

    std::vector<std::int64_t> keys(objects.size(), -1);
    if (!repeated) {
        for (std::size_t i = 0; i < objects.size(); ++i)
            if (const auto it = first_place.find(objects[i].id); it != first_place.end())
                keys[i] = static_cast<std::int64_t>(it->second);
    } else {
        std::unordered_map<ObjectId, std::vector<std::size_t>> places;
        for (std::size_t i = 0; i < order.size(); ++i) places[order[i]].push_back(i);
        std::unordered_map<ObjectId, std::size_t> used;
        for (std::size_t i = 0; i < objects.size(); ++i) {
            const auto it = places.find(objects[i].id);
            if (it == places.end()) continue;
            std::size_t& n = used[objects[i].id];
            keys[i] = static_cast<std::int64_t>(it->second[std::min(n, it->second.size() - 1)]);
            ++n;
        }
    }
    if (std::is_sorted(keys.begin(), keys.end())) return;

    std::vector<std::size_t> permutation(objects.size());
    std::iota(permutation.begin(), permutation.end(), std::size_t{0});
    std::stable_sort(permutation.begin(), permutation.end(),
                     [&](std::size_t a, std::size_t b) { return keys[a] < keys[b]; });
    std::vector<SceneObject> sorted;
    sorted.reserve(objects.size());
    for (std::size_t i : permutation) sorted.push_back(std::move(objects[i]));
    objects = std::move(sorted);
}

}  // namespace

void commit_objects(EditorState& state, std::vector<SceneObject> earlier) {
    if (earlier == state.objects) return;

    HistoryEntry entry;
    entry.order = HistoryOrder{ids_of(earlier), ids_of(state.objects)};
    const auto earlier_map = map_unique_ids(earlier);
    const auto later_map = map_unique_ids(state.objects);
    if (earlier_map && later_map) {
        entry.before = changed_objects(earlier, *later_map);
        entry.after = changed_objects(state.objects, *earlier_map);
    } else {
        // With a repeated id, objects cannot be matched by id: the step keeps
        // both whole lists so that undo and redo still restore them exactly.
        entry.before = std::move(earlier);
        entry.after = state.objects;
    }
    push_step(state, std::move(entry));
}

void commit_background_fills(EditorState& state, std::vector<FillRegion> fills) {
    if (fills == state.background) return;
    HistoryEntry entry;
    entry.background = HistoryBackground{state.background, fills};
    state.background = std::move(fills);
    push_step(state, std::move(entry));
}

void add_fill_region(std::vector<FillRegion>& regions, FillRegion region) {
    const auto covered = [&](const FillRegion& existing) {
        return std::all_of(region.ids.begin(), region.ids.end(), [&](ObjectId id) {
            return std::find(existing.ids.begin(), existing.ids.end(), id) != existing.ids.end();
        });
    };
    std::erase_if(regions, covered);
    regions.push_back(std::move(region));
}

void apply_history_entry(EditorState& state, std::span<const SceneObject> remove,
                         std::span<const SceneObject> add, const std::vector<ObjectId>* order) {
    std::unordered_set<ObjectId> removed;
    removed.reserve(remove.size());
    for (const SceneObject& object : remove) removed.insert(object.id);
    if (!removed.empty())
        std::erase_if(state.objects.edit(), [&](const SceneObject& object) { return removed.contains(object.id); });
    if (order && merge_into_order(state.objects.edit(), add, *order)) return;
    state.objects.edit().insert(state.objects.edit().end(), add.begin(), add.end());
    if (order) sort_into_order(state.objects.edit(), *order);
}

void undo(EditorState& state) {
    cancel_gesture(state);
    state.last_drawn_arrow.reset();
    if (state.undo_stack.empty()) return;
    HistoryEntry entry = std::move(state.undo_stack.back());
    state.undo_stack.pop_back();
    apply_history_entry(state, entry.after, entry.before, entry.order ? &entry.order->before_ids : nullptr);
    if (entry.background) state.background = entry.background->before_fills;
    state.redo_stack.push_back(std::move(entry));
}

void redo(EditorState& state) {
    cancel_gesture(state);
    state.last_drawn_arrow.reset();
    if (state.redo_stack.empty()) return;
    HistoryEntry entry = std::move(state.redo_stack.back());
    state.redo_stack.pop_back();
    apply_history_entry(state, entry.before, entry.after, entry.order ? &entry.order->after_ids : nullptr);
    if (entry.background) state.background = entry.background->after_fills;
    state.undo_stack.push_back(std::move(entry));
}

}  // namespace glimmerly
