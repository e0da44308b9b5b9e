#include "core/editor/object_ids.h"

#include "core/editor/editor_state.h"
#include "core/editor/history.h"
#include "core/editor/selection_edits.h"
#include "core/editor/text_edits.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/editor_builders.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr ObjectId kTop = std::numeric_limits<ObjectId>::max();

// A state whose ids sit at the top of the range: object 7 was deleted (one
// undo step away), an arrow is fastened to the top object and both remaining
// objects bound a background fill.
EditorState state_at_the_top() {
    EditorState state;
    state.objects = {rectangle(3, {0, 0, 10, 10}), rectangle(7, {20, 0, 30, 10}), rectangle(kTop - 1, {40, 0, 50, 10}),
                     fastened(line(kTop - 5, {0, 50}, {45, 5}), std::nullopt, ObjectAttachment{kTop - 1, {0, 0}})};
    state.last_id = kTop;

    const std::vector<SceneObject> earlier = state.objects;
    state.objects.edit().erase(state.objects.begin() + 1);
    commit_objects(state, earlier);

    state.background = {FillRegion{{3, kTop - 1}, {1, 2, 3}}};
    state.selection = {kTop - 1, 3};
    state.last_drawn_arrow = kTop - 5;
    return state;
}

TEST(TakeIdsForNewObjects, RenumbersEverythingInOrderWhenTheIdsRunOut) {
    EditorState state = state_at_the_top();
    const auto first = take_ids_for_new_objects(state, 2);

    // Known ids 3, 7, top - 5, top - 1 become 1, 2, 3, 4.
    ASSERT_EQ(first, 5u);
    EXPECT_EQ(state.last_id, 6u);
    ASSERT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 4, 3}));
    EXPECT_EQ(as_line(state.objects[2])->end->id, 4u);
    EXPECT_EQ(state.background[0].ids, (std::vector<ObjectId>{1, 4}));
    EXPECT_EQ(state.selection, (std::vector<ObjectId>{4, 1}));
    EXPECT_EQ(state.last_drawn_arrow, 3u);

    // The history was renumbered with the objects: undo brings the deleted
    // object back under an id below the new ones.
    undo(state);
    ASSERT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 4, 3}));
    EXPECT_EQ(rect_of(state.objects[1]), (Box{20, 0, 30, 10}));
}

TEST(TakeIdsForNewObjects, EveryWayOfAddingObjectsRenumbersRatherThanWrap) {
    const SceneObject box = rectangle(7, {500, 0, 600, 100});
    const SceneObject pen = stroke(kTop - 2, {{0, 0}, {100, 0}});
    const SceneObject note = text(kTop - 1, "note", {100, 300}, LabelMode::fit());
    SceneObject renumbered_pen = pen, renumbered_note = note;
    renumbered_pen.id = 2;
    renumbered_note.id = 3;
    const std::vector<SceneObject> renumbered = {rectangle(1, {500, 0, 600, 100}), renumbered_pen, renumbered_note};
    struct Row { const char* name; std::function<void(EditorState&)> add; std::vector<ObjectId> ids; };
    const Row rows[] = {
        {"draw", [](EditorState& s) { s.tool = Tool::Rectangle; User{s}.drag({500, 500}, {600, 600}); }, {1, 2, 3, 4}},
        {"paste", [&](EditorState& s) { paste_objects(s, std::vector<SceneObject>{box}, {16, 24}); }, {1, 2, 3, 4}},
        // The cut needs an id while the objects as pressed wait to be put back.
        {"erase across a stroke",
         [](EditorState& s) { s.tool = Tool::Eraser; User{s}.drag({50, -20}, {50, 20}); }, {1, 2, 4, 3}},
        {"add a text", [](EditorState& s) { add_sized_text_object(s, {5, 5}, "hi"); }, {1, 2, 3, 4}},
        {"draw a callout from the label", [](EditorState& s) { User{s}.drag({170, 310}, {400, 400}); }, {1, 2, 3, 4}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({box, pen, note});
        state.last_id = kTop;
        row.add(state);
        EXPECT_EQ(ids_of(state.objects), row.ids);
        EXPECT_EQ(state.last_id, 4u);
        undo(state);
        EXPECT_EQ(state.objects, renumbered);
    }
}

}  // namespace
}  // namespace glimmerly
