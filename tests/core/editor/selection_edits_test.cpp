#include "core/editor/selection_edits.h"

#include "core/editor/history.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <functional>
#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// Rectangle 1 at (0, 0, 100, 100), ellipse 2 and an arrow 3 from the
// rectangle's right side to the ellipse's left.
std::vector<SceneObject> box_arrow_ellipse() {
    return {rectangle(1, {0, 0, 100, 100}), ellipse(2, {300, 0, 400, 100}),
            fastened(line(3, {0, 0}, {0, 0}), ObjectAttachment{1, {50, 0}}, ObjectAttachment{2, {-50, 0}})};
}

struct EditRow {
    const char* name;
    std::vector<ObjectId> selection;
    std::function<void(EditorState&)> edit;
};

TEST(SelectionEdits, EveryEditIsOneStepThatUndoAndRedoReplayExactly) {
    const EditRow rows[] = {
        {"nudge", {1, 2}, [](EditorState& s) { nudge_selection(s, {-10, 3.5}); }},
        {"delete", {1}, [](EditorState& s) { delete_selection(s); }},
        {"recolour", {1, 2, 3}, [](EditorState& s) { s.color = {1, 2, 3}; apply_color_to_selection(s); }},
        {"paste", {}, [](EditorState& s) { EXPECT_TRUE(paste_objects(s, box_arrow_ellipse(), {16, 16})); }},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(box_arrow_ellipse(), row.selection);
        const auto before = state.objects;
        row.edit(state);
        const auto after = state.objects;
        ASSERT_NE(after, before);
        ASSERT_EQ(state.undo_stack.size(), 1u);
        undo(state);
        EXPECT_EQ(state.objects, before);
        redo(state);
        EXPECT_EQ(state.objects, after);
    }
}

TEST(SelectionEdits, EditsThatChangeNothingLeaveBothStacksAlone) {
    const EditRow rows[] = {
        {"nudge with nothing selected", {}, [](EditorState& s) { nudge_selection(s, {10, 10}); }},
        {"nudge by zero", {1}, [](EditorState& s) { nudge_selection(s, {0, 0}); }},
        {"nudge by NaN", {1}, [](EditorState& s) { nudge_selection(s, {kNaN, 1}); }},
        {"delete of ids that name nothing", {40, 41}, [](EditorState& s) { delete_selection(s); }},
        {"recolour with nothing selected", {}, [](EditorState& s) { apply_color_to_selection(s); }},
        {"recolour to the same colour", {1},
         [](EditorState& s) { s.color = s.objects[0].color; apply_color_to_selection(s); }},
        {"paste of nothing", {}, [](EditorState& s) { EXPECT_FALSE(paste_objects(s, {}, {16, 16})); }},
        {"paste by an infinite offset", {},
         [](EditorState& s) { EXPECT_FALSE(paste_objects(s, box_arrow_ellipse(), {kInf, 0})); }},
    };
    for (const EditRow& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(box_arrow_ellipse(), row.selection);
        // One step to redo, which a real edit would drop.
        state.objects[1].color = {9, 9, 9};
        commit_objects(state, box_arrow_ellipse());
        undo(state);
        const auto before = state.objects;
        const ObjectId last = state.last_id;

        row.edit(state);
        EXPECT_EQ(state.objects, before);
        EXPECT_TRUE(state.undo_stack.empty());
        EXPECT_EQ(state.redo_stack.size(), 1u);
        EXPECT_EQ(state.last_id, last);
    }
}

TEST(SelectionEdits, AnEditFirstPutsARunningGestureBack) {
    EditorState state = editor_with(box_arrow_ellipse(), {1});
    const auto pressed = state.objects;
    // A gesture in the middle of moving object 1, as the pointer code leaves it.
    state.saved_objects = state.objects;
    state.gesture = Gesture{MoveGesture{}, {0, 0}, {50, 50}};
    move_object_by(state.objects[0], {50, 50});

    nudge_selection(state, {10, 0});
    EXPECT_FALSE(state.saved_objects);
    EXPECT_EQ(*object_rect(state.objects[0]), (Box{10, 0, 110, 100})) << "moved from where it was at the press";
    undo(state);
    EXPECT_EQ(state.objects, pressed);
}

TEST(NudgeSelection, MovesTheSelectionAndLoosensOnlyLinesToObjectsLeftInPlace) {
    // The arrow moves with the rectangle; its end on the ellipse, which stays,
    // is fixed where it is drawn and comes loose.
    EditorState state = editor_with(box_arrow_ellipse(), {1, 3});
    const auto drawn = resolve_arrow_ends(state.objects[2], state.objects);
    nudge_selection(state, {10, 0});

    EXPECT_EQ(*object_rect(state.objects[0]), (Box{10, 0, 110, 100}));
    EXPECT_EQ(state.objects[1], box_arrow_ellipse()[1]);
    const LinePayload& arrow = *as_line(state.objects[2]);
    ASSERT_TRUE(arrow.start);
    EXPECT_EQ(arrow.start->id, 1u);
    EXPECT_FALSE(arrow.end);
    EXPECT_EQ(arrow.to, (Point{drawn->to.x + 10, drawn->to.y}));

    // Moving only the rectangle leaves the arrow fastened at both ends.
    EditorState alone = editor_with(box_arrow_ellipse(), {1});
    nudge_selection(alone, {10, 0});
    EXPECT_EQ(alone.objects[2], box_arrow_ellipse()[2]);
}

TEST(DeleteSelection, LeavesLinesEndingWhereTheirTargetWasAndUndoFastensThemAgain) {
    EditorState state = editor_with(box_arrow_ellipse(), {2, 77});
    const auto original = state.objects;
    const auto drawn = resolve_arrow_ends(original[2], original);
    delete_selection(state);

    EXPECT_TRUE(state.selection.empty());
    ASSERT_EQ(state.objects.size(), 2u);
    const LinePayload& arrow = *as_line(state.objects[1]);
    EXPECT_FALSE(arrow.end);
    ASSERT_TRUE(arrow.start) << "fastened to the rectangle, which stays";
    EXPECT_EQ(arrow.to, drawn->to);
    EXPECT_EQ(resolve_arrow_ends(state.objects[1], state.objects), drawn);

    undo(state);
    EXPECT_EQ(state.objects, original);
}

TEST(ApplyColorToSelection, RecoloursSelectedObjectsButNeverBlur) {
    EditorState state =
        editor_with({rectangle(1, {0, 0, 9, 9}), blur(2, {0, 0, 9, 9}), ellipse(3, {0, 0, 9, 9})}, {1, 2});
    state.color = {5, 6, 7};
    apply_color_to_selection(state);
    EXPECT_EQ(state.objects[0].color, (Rgb{5, 6, 7}));
    EXPECT_EQ(state.objects[1].color, Rgb{});
    EXPECT_EQ(state.objects[2].color, (Rgb{30, 200, 30})) << "not selected";
    ASSERT_EQ(state.undo_stack.size(), 1u);
    EXPECT_EQ(state.undo_stack[0].after.size(), 1u);
}

TEST(ApplyColorToSelection, DuringDrawingRecoloursTheNewObjectWithoutAStep) {
    for (const bool drawing_blur : {false, true}) {
        SCOPED_TRACE(drawing_blur ? "blur" : "rectangle");
        EditorState state = editor_with({ellipse(1, {0, 0, 9, 9})}, {1});
        state.saved_objects = state.objects;
        state.gesture = Gesture{DrawNewGesture{}, {0, 0}, {5, 5}};
        state.objects.push_back(drawing_blur ? blur(2, {0, 0, 5, 5}) : rectangle(2, {0, 0, 5, 5}));
        const Rgb drawn_in = state.objects.back().color;
        state.color = {5, 6, 7};
        apply_color_to_selection(state);

        EXPECT_TRUE(state.saved_objects) << "the drawing goes on";
        EXPECT_EQ(state.objects.back().color, (drawing_blur ? drawn_in : Rgb{5, 6, 7}));
        EXPECT_EQ(state.objects[0].color, (Rgb{30, 200, 30})) << "the selection is left alone";
        EXPECT_TRUE(state.undo_stack.empty());
    }
}

TEST(SelectedObjectsForCopy, CopiesInDrawingOrderWithLinesToUncopiedObjectsSetLoose) {
    EditorState state = editor_with(box_arrow_ellipse(), {3, 1, 50});
    const auto drawn = resolve_arrow_ends(state.objects[2], state.objects);
    const auto copies = selected_objects_for_copy(state);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_EQ(copies[0], state.objects[0]);
    const LinePayload& arrow = *as_line(copies[1]);
    EXPECT_EQ(arrow.start->id, 1u);
    EXPECT_FALSE(arrow.end);
    EXPECT_EQ(arrow.to, drawn->to);
    EXPECT_EQ(state.objects, box_arrow_ellipse()) << "the scene itself is not touched";

    EXPECT_TRUE(selected_objects_for_copy(editor_with(box_arrow_ellipse())).empty());
}

TEST(PasteObjects, ThreePastesInARowShiftBy16And32And48) {
    // The clipboard: the rectangle with a region bounded by the ellipse and
    // by an object that was not copied, and the arrow from it to the ellipse.
    EditorState source = editor_with(box_arrow_ellipse(), {1, 2, 3});
    source.objects[0].fill = {FillRegion{{2, 60}, {1, 1, 1}}, FillRegion{{60}, {2, 2, 2}}};
    const auto clipboard = selected_objects_for_copy(source);

    EditorState state = editor_with(box_arrow_ellipse());
    for (int n = 1; n <= 3; ++n) {
        SCOPED_TRACE(n);
        const double shift = kPasteShift * n;
        ASSERT_TRUE(paste_objects(state, clipboard, {shift, shift}));
        ASSERT_EQ(state.objects.size(), 3u + 3u * n);
        const std::span<const SceneObject> copies(state.objects.end() - 3, state.objects.end());

        const ObjectId first = 4 + 3 * (n - 1);
        EXPECT_EQ(state.selection, (std::vector<ObjectId>{first, first + 1, first + 2}));
        EXPECT_EQ(state.last_id, first + 2);
        EXPECT_EQ(*object_rect(copies[0]), (Box{shift, shift, 100 + shift, 100 + shift}));
        EXPECT_EQ(*object_rect(copies[1]), (Box{300 + shift, shift, 400 + shift, 100 + shift}));
        EXPECT_EQ(copies[0].fill, (std::vector<FillRegion>{{{first + 1}, {1, 1, 1}}, {{}, {2, 2, 2}}}));
        const LinePayload& arrow = *as_line(copies[2]);
        EXPECT_EQ(arrow.start->id, first);
        EXPECT_EQ(arrow.end->id, first + 1);
        // Fastened to the copies, the arrow is drawn shifted with them.
        const auto original = resolve_arrow_ends(state.objects[2], state.objects);
        const auto copied = resolve_arrow_ends(copies[2], state.objects);
        EXPECT_EQ(copied->from, (Point{original->from.x + shift, original->from.y + shift}));
    }
    EXPECT_EQ(state.undo_stack.size(), 3u);
}

TEST(PasteObjects, AtTheEndOfTheIdsRenumbersInsteadOfWrapping) {
    constexpr ObjectId kTop = std::numeric_limits<ObjectId>::max();
    EditorState state = editor_with({rectangle(kTop - 1, {0, 0, 10, 10})});
    state.last_id = kTop;
    const auto before = state.objects;
    ASSERT_TRUE(paste_objects(state, before, {16, 24}));
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2}));
    EXPECT_EQ(rect_of(state.objects[1]), (Box{16, 24, 26, 34}));
    EXPECT_EQ(state.selection, (std::vector<ObjectId>{2}));

    // Undo gives back the list as it was before the paste, renumbered with it.
    undo(state);
    EXPECT_EQ(state.objects, (std::vector<SceneObject>{rectangle(1, {0, 0, 10, 10})}));
}

TEST(PasteObjects, RefusesCopiesThatAStoredSceneCouldNotHold) {
    EditorState state = editor_with({stroke(1, std::vector<Point>(kMaxStrokeValues - 1, Point{1, 1}))});
    const std::vector<SceneObject> two_points = {stroke(5, {{0, 0}, {1, 1}})};
    EXPECT_FALSE(paste_objects(state, two_points, {16, 16}));
    EXPECT_EQ(state.objects.size(), 1u);
    EXPECT_TRUE(state.undo_stack.empty());

    const std::vector<SceneObject> one_point = {stroke(5, {{0, 0}})};
    EXPECT_TRUE(paste_objects(state, one_point, {16, 16})) << "exactly at the limit";
}

}  // namespace
}  // namespace glimmerly
