#include "core/editor/restack.h"

#include "core/editor/history.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

TEST(RestackSelection, MovesTheSelectionAsOneBlockPastTheNearestOverlap) {
    // A (1), B (2), C (3), D (4) bottom to top. A, C and D overlap around
    // (0..100); B lies far off on its own.
    const std::vector<SceneObject> objects{rectangle(1, {0, 0, 60, 60}), rectangle(2, {500, 500, 600, 600}),
                                           rectangle(3, {40, 40, 100, 100}), rectangle(4, {50, 50, 90, 90})};
    struct Row {
        const char* name;
        std::vector<ObjectId> selection;
        bool forward;
        bool all_the_way;
        std::vector<ObjectId> after;  // empty: unchanged, nothing recorded
    };
    const Row rows[] = {
        {"forward past D", {1, 3}, true, false, {2, 4, 1, 3}},
        {"back past A, jumping B which does not overlap", {3, 4}, false, false, {3, 4, 1, 2}},
        {"back with nothing before A", {1, 3}, false, false, {}},
        {"forward with nothing overlapping above D", {4}, true, false, {}},
        {"all the way forward jumps everything", {1, 2}, true, true, {3, 4, 1, 2}},
        {"all the way back", {4, 2}, false, true, {2, 4, 1, 3}},
        {"all the way back when already there", {1}, false, true, {}},
        {"nothing selected", {}, true, true, {}},
        {"only vanished ids", {9}, true, true, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(objects, row.selection);
        state.redo_stack.push_back(HistoryEntry{});
        restack_selection(state, row.forward, row.all_the_way);
        if (row.after.empty()) {
            EXPECT_EQ(state.objects, objects);
            EXPECT_TRUE(state.undo_stack.empty());
            EXPECT_EQ(state.redo_stack.size(), 1u);
            continue;
        }
        EXPECT_EQ(ids_of(state.objects), row.after);
        EXPECT_EQ(state.selection, row.selection);
        ASSERT_EQ(state.undo_stack.size(), 1u);
        // A pure change of order: nothing but the ids is recorded.
        EXPECT_TRUE(state.undo_stack.back().before.empty());
        EXPECT_TRUE(state.undo_stack.back().after.empty());
        undo(state);
        EXPECT_EQ(state.objects, objects);
    }
}

TEST(RestackSelection, AbandonsARunningGestureFirst) {
    EditorState state = editor_with({rectangle(1, {0, 0, 10, 10}), rectangle(2, {5, 5, 15, 15})}, {1});
    state.saved_objects = state.objects;
    state.objects[0] = rectangle(1, {100, 100, 110, 110});  // moved away by a drag
    state.gesture.payload = MoveGesture{};
    restack_selection(state, true, false);
    EXPECT_FALSE(state.saved_objects);
    // Back where the press found it, and then over rectangle 2 it overlaps there.
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{2, 1}));
    EXPECT_EQ(rect_of(state.objects[1]), (Box{0, 0, 10, 10}));
}

}  // namespace
}  // namespace glimmerly
