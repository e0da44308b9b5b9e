#pragma once
// Ids for new objects in the editor. The counter can run out: a document
// whose last id lies near 2^64 - 1 leaves no room above it, and an id that
// wrapped would collide with one already in use. Then every id the editor
// holds is renumbered first.

#include "core/document/scene_object.h"

#include <cstdint>
#include <optional>

namespace glimmerly {

struct EditorState;

// Renumbers every id the state holds, wherever it holds it (objects, their
// fills and attachments, the background fills, the selection, the running
// gesture and every undo and redo step), to 1..n keeping their order, and
// sets the last id handed out to n. Because the history is renumbered with
// the objects, undo and redo still find what they recorded, and no id that an
// undo could bring back lies above the new last id.
void compact_object_ids(EditorState& state);

// `count` fresh ids above the last one handed out, which advances; the first
// is returned. When the counter is exhausted the ids are compacted first.
// None only when even then `count` ids do not fit.
std::optional<ObjectId> take_ids_for_new_objects(EditorState& state, std::uint64_t count);

}  // namespace glimmerly
