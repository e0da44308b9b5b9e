#include "core/editor/restack.h"

#include "tests/core/support/editor.h"
#include "tests/core/support/editor_builders.h"

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
        bool forward, all_the_way;
        std::vector<ObjectId> after;
    };
    const Row rows[] = {
        {"forward past D", {1, 3}, true, false, {2, 4, 1, 3}},
        {"back past A, jumping B which does not overlap", {3, 4}, false, false, {3, 4, 1, 2}},
        {"back with nothing before A", {1, 3}, false, false, {1, 2, 3, 4}},
        {"forward with nothing overlapping above D", {4}, true, false, {1, 2, 3, 4}},
        {"all the way forward jumps everything", {1, 2}, true, true, {3, 4, 1, 2}},
        {"all the way back", {4, 2}, false, true, {2, 4, 1, 3}},
        {"only vanished ids", {9}, true, true, {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(objects, row.selection);
        restack_selection(state, row.forward, row.all_the_way);
        EXPECT_EQ(ids_of(state.objects), row.after);
        EXPECT_EQ(state.selection, row.selection);
    }
}

TEST(RestackSelection, MeasuresOverlapsWhereTheObjectsWereBeforeARunningDrag) {
    EditorState state = editor_with({rectangle(1, {0, 0, 40, 40}), rectangle(2, {30, 30, 60, 60})}, {1});
    User{state}.press({0, 20});
    User{state}.move({200, 220});  // dragged off rectangle 2
    restack_selection(state, true, false);
    EXPECT_EQ(state.objects, (std::vector<SceneObject>{rectangle(2, {30, 30, 60, 60}), rectangle(1, {0, 0, 40, 40})}));
}

}  // namespace
}  // namespace glimmerly
