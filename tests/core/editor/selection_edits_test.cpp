#include "core/editor/selection_edits.h"

#include "core/document/point_math.h"
#include "core/editor/carry.h"
#include "core/editor/history.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/editor_builders.h"

#include <gtest/gtest.h>

#include <functional>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

TEST(FastenedLines, ComeLooseWhereTheyAreDrawnWhenTheirTargetIsLeftBehind) {
    const std::vector<SceneObject> scene = box_arrow_ellipse();
    const auto drawn = resolve_arrow_ends(scene[2], scene);
    struct Row {
        const char* name;
        std::function<std::vector<SceneObject>(EditorState&)> edit;  // gives the objects holding arrow 3
        Point moved;  // the rectangle, and the arrow when it went along
        bool loose;   // the end on the ellipse
    };
    const auto live = [](EditorState& s) { return s.objects; };
    const Row rows[] = {
        {"nudged with the rectangle",
         [&](EditorState& s) { s.selection = {1, 3}; nudge_selection(s, {10, 0}); return live(s); }, {10, 0}, true},
        {"the rectangle nudged alone",
         [&](EditorState& s) { s.selection = {1}; nudge_selection(s, {10, 0}); return live(s); }, {10, 0}, false},
        {"dragged with the rectangle",
         [&](EditorState& s) { s.selection = {1, 3}; User{s}.drag({0, 50}, {10, -5}); return live(s); },
         {10, -55}, true},
        {"the ellipse deleted",
         [&](EditorState& s) { s.selection = {2}; delete_selection(s); return live(s); }, {}, true},
        {"the ellipse erased",
         [&](EditorState& s) { s.tool = Tool::Eraser; User{s}.drag({400, 50}, {400, 50}); return live(s); }, {}, true},
        {"copied with the rectangle",
         [](EditorState& s) { s.selection = {3, 1, 50}; return selected_objects_for_copy(s); }, {}, true},
        {"carried with the rectangle",
         [](EditorState& s) {
             const ObjectId listed[] = {1, 3};
             ClippedObjects carried = clip_objects_to_rect(s.objects, {0, 0, 1000, 1000}, listed, true, {-5, 7});
             std::vector<SceneObject> out;
             while (auto object = carried.next()) out.push_back(std::move(*object));
             return out;
         },
         {-5, 7}, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(scene);
        const std::vector<SceneObject> objects = row.edit(state);
        const SceneObject* arrow = find_object(objects, 3);
        ASSERT_TRUE(arrow);
        EXPECT_EQ(as_line(*arrow)->start, kOnBoxRight);
        EXPECT_EQ(as_line(*arrow)->end.has_value(), !row.loose);
        const auto ends = resolve_arrow_ends(*arrow, objects);
        EXPECT_EQ(ends->from, drawn->from + row.moved);
        EXPECT_EQ(ends->to, drawn->to + (row.loose ? row.moved : Point{}));
    }
}

TEST(ApplyColorToSelection, RecoloursSelectedObjectsButNeverBlur) {
    EditorState state =
        editor_with({rectangle(1, {0, 0, 9, 9}), blur(2, {0, 0, 9, 9}), ellipse(3, {0, 0, 9, 9})}, {1, 2});
    state.color = {5, 6, 7};
    apply_color_to_selection(state);
    EXPECT_EQ(state.objects[0].color, (Rgb{5, 6, 7}));
    EXPECT_EQ(state.objects[1].color, Rgb{});
    EXPECT_EQ(state.objects[2].color, (Rgb{30, 200, 30})) << "not selected";
}

TEST(ApplyColorToSelection, DuringDrawingRecoloursTheNewObjectWithoutAStep) {
    for (const bool drawing_blur : {false, true}) {
        SCOPED_TRACE(drawing_blur ? "blur" : "rectangle");
        EditorState state = editor_with({ellipse(1, {0, 0, 9, 9})}, {1}, drawing_blur ? Tool::Blur : Tool::Rectangle);
        User user{state};
        user.press({20, 20});
        user.move({40, 40});
        const Rgb drawn_in = state.objects.back().color;
        state.color = {5, 6, 7};
        apply_color_to_selection(state);

        EXPECT_TRUE(state.saved_objects) << "the drawing goes on";
        EXPECT_EQ(state.objects.back().color, (drawing_blur ? drawn_in : Rgb{5, 6, 7}));
        EXPECT_EQ(state.objects[0].color, (Rgb{30, 200, 30})) << "the selection is left alone";
        EXPECT_TRUE(state.undo_stack.empty());
    }
}

TEST(SelectedObjectsForCopy, CopiesTheSelectionInDrawingOrder) {
    EXPECT_EQ(ids_of(selected_objects_for_copy(editor_with(box_arrow_ellipse(), {3, 1, 50}))),
              (std::vector<ObjectId>{1, 3}));
    EXPECT_TRUE(selected_objects_for_copy(editor_with(box_arrow_ellipse())).empty());
}

TEST(PasteObjects, AddsShiftedCopiesUnderNewIdsFastenedAndFilledAmongThemselves) {
    // The rectangle's regions are bounded by the ellipse and by an object that
    // was not copied.
    std::vector<SceneObject> clipboard = box_arrow_ellipse();
    clipboard[0].fill = {FillRegion{{2, 60}, {1, 1, 1}}, FillRegion{{60}, {2, 2, 2}}};
    EditorState state = editor_with(box_arrow_ellipse(), {1});
    ASSERT_TRUE(paste_objects(state, clipboard, {16, 24}));

    ASSERT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 3, 4, 5, 6}));
    const std::span<const SceneObject> copies(state.objects.begin() + 3, 3);
    EXPECT_EQ(state.selection, (std::vector<ObjectId>{4, 5, 6}));
    EXPECT_EQ(state.last_id, 6u);
    EXPECT_EQ(rect_of(copies[1]), (Box{316, 24, 416, 124}));
    const std::vector<FillRegion> among_copies = {{{5}, {1, 1, 1}}, {{}, {2, 2, 2}}};
    EXPECT_EQ(copies[0].fill, among_copies);
    EXPECT_EQ(as_line(copies[2])->start->id, 4u);
    EXPECT_EQ(as_line(copies[2])->end->id, 5u);
    EXPECT_EQ(resolve_arrow_ends(copies[2], state.objects)->from,
              (resolve_arrow_ends(state.objects[2], state.objects)->from + Point{16, 24}));
}

TEST(PasteObjects, RefusesCopiesThatAStoredSceneCouldNotHold) {
    EditorState state = editor_with({stroke(1, std::vector<Point>(kMaxStrokeValues - 1, Point{1, 1}))});
    EXPECT_FALSE(paste_objects(state, std::vector<SceneObject>{stroke(5, {{0, 0}, {1, 1}})}, {16, 16}));
    EXPECT_EQ(state.objects.size(), 1u);
    EXPECT_TRUE(paste_objects(state, std::vector<SceneObject>{stroke(5, {{0, 0}})}, {16, 16})) << "at the limit";
}

}  // namespace
}  // namespace glimmerly
