#pragma once
// Undo and redo. Every change to the objects or to the background fills
// becomes exactly one step. A step holds only what the edit touched (the
// objects as they were and as they became, by id) plus the id order of the
// whole list before and after, so that undo rebuilds both the contents and
// the drawing order without a copy of the whole scene.

#include "core/document/scene_object.h"

#include <optional>
#include <span>
#include <vector>

namespace glimmerly {

struct EditorState;

struct HistoryOrder {
    std::vector<ObjectId> before_ids;
    std::vector<ObjectId> after_ids;

    friend bool operator==(const HistoryOrder&, const HistoryOrder&) = default;
};

struct HistoryBackground {
    std::vector<FillRegion> before_fills;
    std::vector<FillRegion> after_fills;

    friend bool operator==(const HistoryBackground&, const HistoryBackground&) = default;
};

struct HistoryEntry {
    // Objects the edit removed or changed, as they were, in the earlier order.
    std::vector<SceneObject> before;
    // Objects the edit added or changed, as they became, in the later order.
    std::vector<SceneObject> after;
    // Present for every object edit.
    std::optional<HistoryOrder> order;
    // Present only for a background fill edit.
    std::optional<HistoryBackground> background;

    friend bool operator==(const HistoryEntry&, const HistoryEntry&) = default;
};

// Records the difference between `earlier` (the caller's copy of the list
// taken before it edited `state.objects`) and the list now. An edit that
// changed nothing records no step and leaves the redo stack alone; any step
// empties it.
void commit_objects(EditorState& state, std::vector<SceneObject> earlier);

// Installs `fills` as the background fills and records the change as a step.
void commit_background_fills(EditorState& state, std::vector<FillRegion> fills);

// Adds a fill region, replacing every region that the new one covers (one
// whose ids include all of the new region's ids, whatever its colour).
void add_fill_region(std::vector<FillRegion>& regions, FillRegion region);

// Removes the objects whose ids `remove` holds, appends copies of `add` and,
// given an order, sorts the list into it (objects it does not name first).
void apply_history_entry(EditorState& state, std::span<const SceneObject> remove,
                         std::span<const SceneObject> add, const std::vector<ObjectId>* order);

// Both abandon a running gesture and clear `last_drawn_arrow` first, even
// when their stack is empty; neither touches the selection.
void undo(EditorState& state);
void redo(EditorState& state);

}  // namespace glimmerly
