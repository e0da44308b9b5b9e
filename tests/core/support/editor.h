#pragma once
// Editor states for the editing tests, and the check that what an edit left
// behind is a scene the stored formats accept.

#include "core/document/scene.h"
#include "core/editor/editor_state.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace glimmerly::testing {

// The objects with the selection and tool; the last id handed out is the
// highest of their ids.
inline EditorState editor_with(std::vector<SceneObject> objects, std::vector<ObjectId> selection = {},
                               Tool tool = Tool::Select) {
    EditorState state;
    state.objects = std::move(objects);
    for (const SceneObject& o : state.objects) state.last_id = std::max(state.last_id, o.id);
    state.selection = std::move(selection);
    state.tool = tool;
    return state;
}

// The editor's objects checked as a stored scene on a 1000 x 1000 frame.
inline Status check_as_stored(const EditorState& state) {
    Scene scene;
    scene.objects = state.objects;
    scene.last = state.last_id;
    scene.frame = {1000, 1000};
    scene.region = {0, 0, 1000, 1000};
    return check_scene(scene);
}

}  // namespace glimmerly::testing
