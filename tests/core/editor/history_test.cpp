#include "core/editor/history.h"

#include "core/editor/editor_state.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
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
template <class Edit>
void edit(EditorState& state, Edit change) {
    std::vector<SceneObject> earlier = state.objects;
    change(state.objects);
    commit_objects(state, std::move(earlier));
}

TEST(CommitObjects, AnEditThatChangesNothingRecordsNothingAndKeepsRedo) {
    EditorState state = editor_with(ten_rectangles());
    edit(state, [](auto& objects) { objects[3].color = {1, 2, 3}; });
    undo(state);
    ASSERT_EQ(state.undo_stack.size(), 0u);
    ASSERT_EQ(state.redo_stack.size(), 1u);

    edit(state, [](auto&) {});
    edit(state, [](auto& objects) { objects[0].color = objects[0].color; });
    EXPECT_EQ(state.undo_stack.size(), 0u);
    EXPECT_EQ(state.redo_stack.size(), 1u);

    // A real edit does empty it.
    edit(state, [](auto& objects) { objects[0].width = 9; });
    EXPECT_EQ(state.undo_stack.size(), 1u);
    EXPECT_TRUE(state.redo_stack.empty());
}

using Edit = std::function<void(std::vector<SceneObject>&)>;

TEST(CommitObjects, RecordsOnlyTheChangedObjectsAndTheOrder) {
    struct Row {
        const char* name;
        Edit change;
        std::size_t recorded;  // objects before and after
    };
    const Row rows[] = {
        {"one object recoloured", [](auto& o) { o[4].color = {9, 9, 9}; }, 1},
        {"the top object moved to the back", [](auto& o) { std::rotate(o.begin(), o.begin() + 9, o.end()); }, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(ten_rectangles());
        const auto original = state.objects;
        edit(state, row.change);
        ASSERT_EQ(state.undo_stack.size(), 1u);
        const HistoryEntry& step = state.undo_stack.back();
        EXPECT_EQ(step.before.size(), row.recorded);
        EXPECT_EQ(step.after.size(), row.recorded);
        EXPECT_TRUE(step.order);
        EXPECT_FALSE(step.background);
        undo(state);
        EXPECT_EQ(state.objects, original);
    }
}

TEST(CommitObjects, EditsOfSeveralChangesAreUndoneAndRedoneExactly) {
    // Single changes are left to the random sequences below.
    const std::pair<const char*, Edit> rows[] = {
        {"delete the first and last", [](auto& o) { o.erase(o.begin()); o.pop_back(); }},
        {"reverse", [](auto& o) { std::reverse(o.begin(), o.end()); }},
        {"change and restack", [](auto& o) { o[2].rotation = 1; std::swap(o[2], o[8]); }},
        {"replace everything", [](auto& o) { o = {text(40, "x", {1, 1})}; }},
        {"clear", [](auto& o) { o.clear(); }},
    };
    for (const auto& [name, change] : rows) {
        SCOPED_TRACE(name);
        EditorState state = editor_with(ten_rectangles());
        const auto before = state.objects;
        edit(state, change);
        const auto after = state.objects;
        ASSERT_EQ(state.undo_stack.size(), 1u);
        undo(state);
        EXPECT_EQ(state.objects, before);
        redo(state);
        EXPECT_EQ(state.objects, after);
    }
}

TEST(CommitObjects, ListsWithARepeatedIdAreStillRestoredExactly) {
    // Ids are unique in a healthy editor; should one ever repeat, the step
    // must not lose or reorder objects.
    std::vector<SceneObject> twins = {rectangle(5, {0, 0, 1, 1}), rectangle(3, {}),
                                      rectangle(5, {2, 2, 3, 3})};
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
    EditorState pair = editor_with({rectangle(5, {0, 0, 1, 1}), rectangle(5, {2, 2, 3, 3})});
    const auto pair_before = pair.objects;
    edit(pair, [](auto& o) { o[0].width = 1; });
    undo(pair);
    EXPECT_EQ(pair.objects, pair_before);
}

TEST(History, RandomEditSequencesUndoAndRedoExactly) {
    std::mt19937 random(1337);
    EditorState state = editor_with(ten_rectangles());
    std::vector<std::vector<SceneObject>> snapshots = {state.objects};
    for (int step = 0; step < 200; ++step) {
        edit(state, [&](std::vector<SceneObject>& o) {
            switch (random() % 5) {
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

TEST(History, UndoAndRedoAbandonARunningGestureAndLeaveTheSelection) {
    struct Row {
        const char* name;
        bool step;
        void (*call)(EditorState&);
    };
    const Row rows[] = {
        {"undo of a step", true, undo},
        {"undo with nothing to undo", false, undo},
        {"redo with nothing to redo", false, redo},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(ten_rectangles(), {3, 4});
        const auto original = state.objects;
        if (row.step) edit(state, [](auto& o) { o.erase(o.begin() + 2); });
        // An eraser drag has wiped everything when the key arrives.
        state.saved_objects = state.objects;
        state.gesture.payload = EraseGesture{{1, 2}};
        state.objects.clear();
        state.last_drawn_arrow = 4;

        row.call(state);
        EXPECT_EQ(state.objects, original);
        EXPECT_FALSE(state.saved_objects);
        EXPECT_EQ(state.gesture.kind(), GestureKind::DrawNew) << "the erase list is released";
        EXPECT_FALSE(state.last_drawn_arrow);
        EXPECT_EQ(state.selection, (std::vector<ObjectId>{3, 4}));
    }
}

TEST(BackgroundFills, AFillIsOneStepAndUndoRestoresTheListExactly) {
    EditorState state = editor_with(ten_rectangles());
    const auto objects = state.objects;
    state.background = {FillRegion{{1, 2}, {5, 5, 5}}};
    const auto fills_before = state.background;

    std::vector<FillRegion> fills = state.background;
    add_fill_region(fills, FillRegion{{1}, {200, 0, 0}});
    commit_background_fills(state, fills);
    EXPECT_EQ(state.background, fills);
    ASSERT_EQ(state.undo_stack.size(), 1u);
    EXPECT_FALSE(state.undo_stack.back().order);

    undo(state);
    EXPECT_EQ(state.background, fills_before);
    EXPECT_EQ(state.objects, objects);
    redo(state);
    EXPECT_EQ(state.background, fills);

    undo(state);
    commit_background_fills(state, state.background);
    EXPECT_EQ(state.undo_stack.size(), 0u) << "the same list records nothing";
    EXPECT_EQ(state.redo_stack.size(), 1u);
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
        {"a region of {1, 2} is covered by {1}",
         {{{1, 2}, blue}, {{3}, blue}},
         {{1}, red},
         {{{3}, blue}, {{1}, red}}},
        {"a region of {3} is not", {{{3}, blue}}, {{1}, red}, {{{3}, blue}, {{1}, red}}},
        {"a region lacking one id stays", {{{1, 3}, blue}}, {{1, 2}, red}, {{{1, 3}, blue}, {{1, 2}, red}}},
        {"no ids covers everything", {{{1}, blue}, {{}, blue}}, {{}, red}, {{{}, red}}},
        {"order of the kept regions stays",
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

TEST(ApplyHistoryEntry, AcceptsIdsThatAreNotThere) {
    EditorState state = editor_with(ten_rectangles());
    const auto original = state.objects;
    const std::vector<SceneObject> strangers = {rectangle(99, {})};
    apply_history_entry(state, strangers, {}, nullptr);
    EXPECT_EQ(state.objects, original);

    // Objects the order does not name come first, in their own order.
    const std::vector<ObjectId> order = {10, 9};
    apply_history_entry(state, {}, {}, &order);
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 3, 4, 5, 6, 7, 8, 10, 9}));
}

TEST(ApplyHistoryEntry, ARepeatedIdInTheOrderPlacesEachOccurrence) {
    const SceneObject first = rectangle(5, {0, 0, 1, 1}), second = rectangle(5, {2, 2, 3, 3}),
                      other = rectangle(3, {});
    EditorState state = editor_with({other, first, second});
    const std::vector<ObjectId> order = {5, 3, 5};
    apply_history_entry(state, {}, {}, &order);
    EXPECT_EQ(state.objects, (std::vector<SceneObject>{first, other, second}));
}

}  // namespace
}  // namespace glimmerly
