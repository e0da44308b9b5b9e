#include "core/editor/history.h"

#include "core/editor/editor_state.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

std::vector<SceneObject> ten_rectangles() {
    std::vector<SceneObject> objects;
    for (ObjectId id = 1; id <= 10; ++id) objects.push_back(rectangle(id, {id * 10.0, 0, id * 10.0 + 5, 5}));
    return objects;
}

// The way every editing operation records itself: copy, change, commit.
template <class Change>
void edit(EditorState& state, Change change) {
    std::vector<SceneObject> earlier = state.objects;
    change(state.objects.edit());
    commit_objects(state, std::move(earlier));
}

TEST(CommitObjects, RecordsOnlyTheChangedObjectsAndTheOrder) {
    EditorState state = editor_with(ten_rectangles());
    edit(state, [](auto& o) { o[4].color = {9, 9, 9}; });
    EXPECT_EQ(state.undo_stack.back().before, std::vector<SceneObject>{ten_rectangles()[4]});
    EXPECT_EQ(state.undo_stack.back().after, std::vector<SceneObject>{state.objects[4]});
    edit(state, [](auto& o) { std::rotate(o.begin(), o.begin() + 9, o.end()); });
    EXPECT_TRUE(state.undo_stack.back().before.empty() && state.undo_stack.back().after.empty())
        << "a change of order alone keeps only the ids";
}

TEST(CommitObjects, ListsWithARepeatedIdAreStillRestoredExactly) {
    // Ids are unique in a healthy editor; should one ever repeat, the step
    // must not lose or reorder objects.
    const std::vector<SceneObject> twins = {rectangle(5, {0, 0, 1, 1}), rectangle(3, {}), rectangle(5, {2, 2, 3, 3})};
    EditorState state = editor_with(twins);
    edit(state, [](auto& o) {
        o[2].color = {1, 1, 1};
        std::swap(o[0], o[1]);
    });
    const auto after = state.objects;
    undo(state);
    EXPECT_EQ(state.objects, twins);
    redo(state);
    EXPECT_EQ(state.objects, after);

    // Changing one twin: a diff by id would remove both on undo and give back one.
    EditorState pair = editor_with({twins[0], twins[2]});
    edit(pair, [](auto& o) { o[0].width = 1; });
    undo(pair);
    EXPECT_EQ(pair.objects, (std::vector<SceneObject>{twins[0], twins[2]}));
}

TEST(History, RandomEditSequencesUndoAndRedoExactly) {
    std::mt19937 random(1337);
    EditorState state = editor_with(ten_rectangles());
    std::vector<std::vector<SceneObject>> snapshots = {state.objects};
    for (int step = 0; step < 200; ++step) {
        edit(state, [&](std::vector<SceneObject>& o) {
            switch (random() % 6) {
            case 0:
                if (!o.empty()) o.erase(o.begin() + static_cast<std::ptrdiff_t>(random() % o.size()));
                break;
            case 1: {
                const ObjectId id = *take_new_object_ids(state, 1);
                o.insert(o.begin() + static_cast<std::ptrdiff_t>(random() % (o.size() + 1)),
                         ellipse(id, {0, 0, double(random() % 50), 10}));
                break;
            }
            case 2:
                if (!o.empty()) o[random() % o.size()].color.r = static_cast<std::uint8_t>(random());
                break;
            case 3:
                if (o.size() > 1) std::swap(o[random() % o.size()], o[random() % o.size()]);
                break;
            case 4: std::reverse(o.begin(), o.end()); break;
            default: break;  // an edit that changes nothing
            }
        });
        if (state.objects != snapshots.back()) snapshots.push_back(state.objects);
        ASSERT_EQ(state.undo_stack.size() + 1, snapshots.size());
    }
    for (std::size_t i = snapshots.size() - 1; i > 0; --i) {
        undo(state);
        ASSERT_EQ(state.objects, snapshots[i - 1]) << "undo to step " << i - 1;
    }
    for (std::size_t i = 1; i < snapshots.size(); ++i) {
        redo(state);
        ASSERT_EQ(state.objects, snapshots[i]) << "redo to step " << i;
    }
}

TEST(History, UndoAndRedoReleaseTheGestureAndTheLastLineButNotTheSelection) {
    for (void (*call)(EditorState&) : {undo, redo}) {
        EditorState state = editor_with(ten_rectangles(), {3, 4});
        state.saved_objects = state.objects;
        state.gesture.payload = EraseGesture{{1, 2}};
        state.last_drawn_arrow = 4;
        call(state);
        EXPECT_EQ(state.gesture, Gesture{}) << "the erase list is released";
        EXPECT_FALSE(state.last_drawn_arrow);
        EXPECT_EQ(state.selection, (std::vector<ObjectId>{3, 4}));
    }
}

TEST(AddFillRegion, ReplacesTheRegionsItCovers) {
    struct Row {
        const char* name;
        std::vector<FillRegion> regions;
        FillRegion added;
        std::vector<FillRegion> expected;
    };
    const Rgb red{255, 0, 0}, blue{0, 0, 255};
    const Row rows[] = {
        {"a region of {1, 2} is covered by {1}", {{{1, 2}, blue}, {{3}, blue}}, {{1}, red}, {{{3}, blue}, {{1}, red}}},
        {"a region lacking one id stays", {{{1, 3}, blue}}, {{1, 2}, red}, {{{1, 3}, blue}, {{1, 2}, red}}},
        {"no ids covers everything", {{{1}, blue}, {{}, blue}}, {{}, red}, {{{}, red}}},
        {"the kept regions keep their order",
         {{{4}, blue}, {{2, 1}, blue}, {{5}, red}},
         {{2}, red},
         {{{4}, blue}, {{5}, red}, {{2}, red}}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        auto regions = row.regions;
        add_fill_region(regions, row.added);
        EXPECT_EQ(regions, row.expected);
    }
}

TEST(ApplyHistoryEntry, AcceptsIdsThatAreNotThereAndPlacesEachOccurrenceOfARepeatedOne) {
    EditorState state = editor_with(ten_rectangles());
    apply_history_entry(state, std::vector<SceneObject>{rectangle(99, {})}, {}, nullptr);
    EXPECT_EQ(state.objects, ten_rectangles());
    // Objects the order does not name come first, in their own order.
    const std::vector<ObjectId> order = {10, 9};
    apply_history_entry(state, {}, {}, &order);
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 3, 4, 5, 6, 7, 8, 10, 9}));

    const SceneObject first = rectangle(5, {0, 0, 1, 1}), second = rectangle(5, {2, 2, 3, 3}), other = rectangle(3, {});
    EditorState twins = editor_with({other, first, second});
    const std::vector<ObjectId> repeated = {5, 3, 5};
    apply_history_entry(twins, {}, {}, &repeated);
    EXPECT_EQ(twins.objects, (std::vector<SceneObject>{first, other, second}));
}

}  // namespace
}  // namespace glimmerly
