// What every edit of the editor shares: a change is one undo step that undo
// and redo replay exactly, no change records nothing, and an edit made while
// a gesture runs first puts the gesture's objects back.

#include "core/editor/fill.h"
#include "core/editor/gestures.h"
#include "core/editor/history.h"
#include "core/editor/restack.h"
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

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr Rgb kGreen{0, 255, 0};

// The fastened scene with a label 4 and a pen stroke 5 below it; the
// rectangle's inside and the background are filled green.
EditorState sample() {
    std::vector<SceneObject> objects = box_arrow_ellipse();
    objects[0].fill = {FillRegion{{}, kGreen}};
    objects.push_back(text(4, "note", {100, 300}, LabelMode::fit()));
    objects.push_back(stroke(5, {{0, 500}, {400, 500}}));
    EditorState state = editor_with(std::move(objects));
    state.background = {FillRegion{{1, 2}, kGreen}};
    return state;
}

// The sample with one step to redo, which a real edit drops.
EditorState with_a_step_to_redo() {
    EditorState state = sample();
    state.objects.edit()[4].color = {9, 9, 9};
    commit_objects(state, sample().objects);
    undo(state);
    return state;
}

struct Row { const char* name; std::function<void(EditorState&)> edit; };

void select(EditorState& s, std::vector<ObjectId> ids) { s.selection = std::move(ids); }

TEST(EditorEdits, EachIsOneStepThatUndoAndRedoReplayExactly) {
    const Row rows[] = {
        {"nudge", [](EditorState& s) { select(s, {1, 2}); nudge_selection(s, {-10, 3.5}); }},
        {"delete", [](EditorState& s) { select(s, {1}); delete_selection(s); }},
        {"recolour", [](EditorState& s) { select(s, {1, 2, 3}); s.color = {1, 2, 3}; apply_color_to_selection(s); }},
        {"paste", [](EditorState& s) { paste_objects(s, box_arrow_ellipse(), {16, 16}); }},
        {"restack", [](EditorState& s) { select(s, {1}); restack_selection(s, true, true); }},
        {"fill an inside", [](EditorState& s) { apply_fill_at(s, {50, 50}, false); }},
        {"clear an inside", [](EditorState& s) { apply_fill_at(s, {50, 50}, true); }},
        {"fill the background", [](EditorState& s) { apply_fill_at(s, {200, 300}, false); }},
        {"clear the background", [](EditorState& s) { apply_fill_at(s, {200, 300}, true); }},
        {"add a text", [](EditorState& s) { add_sized_text_object(s, {500, 500}, "hi"); }},
        {"size a text", [](EditorState& s) { apply_text_edits(s, std::vector<TextSizeEdit>{{4, 40, 100, 45}}); }},
        {"ink a label", [](EditorState& s) { select(s, {4}); set_selected_text_ink(s, Rgb{7, 8, 9}); }},
        {"draw", [](EditorState& s) { s.tool = Tool::Rectangle; User{s}.drag({500, 500}, {600, 600}); }},
        {"move", [](EditorState& s) { select(s, {1}); User{s}.drag({0, 50}, {20, 70}); }},
        {"resize", [](EditorState& s) { select(s, {1}); User{s}.drag({100, 100}, {150, 120}); }},
        {"turn", [](EditorState& s) {
             select(s, {1});
             begin_rotate_selection(s, {50, -28});
             User{s}.move({150, 50});
             User{s}.release();
         }},
        // The arrow runs from about (100, 50) to (300, 50).
        {"drag a line end", [](EditorState& s) { select(s, {3}); User{s}.drag({299, 50}, {250, 200}); }},
        {"bend a line", [](EditorState& s) { select(s, {3}); User{s}.drag({200, 50}, {200, 90}); }},
        {"erase", [](EditorState& s) { s.tool = Tool::Eraser; User{s}.drag({-10, 40}, {200, 520}); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = with_a_step_to_redo();
        row.edit(state);
        const auto edited = state.objects;
        const auto edited_background = state.background;
        ASSERT_TRUE(edited != sample().objects || edited_background != sample().background);
        ASSERT_EQ(state.undo_stack.size(), 1u);
        EXPECT_TRUE(state.redo_stack.empty());
        undo(state);
        EXPECT_EQ(state.objects, sample().objects);
        EXPECT_EQ(state.background, sample().background);
        redo(state);
        EXPECT_EQ(state.objects, edited);
        EXPECT_EQ(state.background, edited_background);
    }
}

TEST(EditorEdits, ThoseThatChangeNothingLeaveBothStacksAlone) {
    const Row rows[] = {
        {"nudge with nothing selected", [](EditorState& s) { nudge_selection(s, {10, 10}); }},
        {"nudge by zero", [](EditorState& s) { select(s, {1}); nudge_selection(s, {0, 0}); }},
        {"nudge by NaN", [](EditorState& s) { select(s, {1}); nudge_selection(s, {kNaN, 1}); }},
        {"delete of ids that name nothing", [](EditorState& s) { select(s, {40}); delete_selection(s); }},
        {"recolour with nothing selected", [](EditorState& s) { s.color = {1, 2, 3}; apply_color_to_selection(s); }},
        {"recolour to the same colour",
         [](EditorState& s) { select(s, {1}); s.color = s.objects[0].color; apply_color_to_selection(s); }},
        {"paste of nothing", [](EditorState& s) { EXPECT_FALSE(paste_objects(s, {}, {16, 16})); }},
        {"paste by an infinite offset",
         [](EditorState& s) { EXPECT_FALSE(paste_objects(s, box_arrow_ellipse(), {kInf, 0})); }},
        {"restack past nothing", [](EditorState& s) { select(s, {5}); restack_selection(s, true, false); }},
        {"clear where nothing is filled", [](EditorState& s) { apply_fill_at(s, {350, 50}, true); }},
        {"fill at NaN", [](EditorState& s) { apply_fill_at(s, {kNaN, 50}, false); }},
        {"the background fills it has", [](EditorState& s) { commit_background_fills(s, s.background); }},
        {"add a blank text", [](EditorState& s) { add_sized_text_object(s, {5, 5}, " \n"); }},
        {"size a rectangle as a text",
         [](EditorState& s) { apply_text_edits(s, std::vector<TextSizeEdit>{{1, 30, 10, 10}}); }},
        {"the ink a label has", [](EditorState& s) { select(s, {4}); set_selected_text_ink(s, std::nullopt); }},
        {"a click with a drawing tool",
         [](EditorState& s) { s.tool = Tool::Rectangle; User{s}.drag({500, 500}, {500.2, 500.2}); }},
        {"a press that selects", [](EditorState& s) { User{s}.drag({0, 50}, {0, 50}); }},
        {"a marquee", [](EditorState& s) { User{s}.drag({-20, -20}, {150, 150}); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = with_a_step_to_redo();
        row.edit(state);
        EXPECT_EQ(state.objects, sample().objects);
        EXPECT_EQ(state.background, sample().background);
        EXPECT_TRUE(state.undo_stack.empty());
        EXPECT_EQ(state.redo_stack.size(), 1u);
    }
}

TEST(EditorEdits, MadeDuringADragFirstPutTheObjectsBackAsPressed) {
    const Row rows[] = {
        {"nudge", [](EditorState& s) { nudge_selection(s, {10, 0}); }},
        {"delete", [](EditorState& s) { delete_selection(s); }},
        {"recolour", [](EditorState& s) { s.color = {1, 2, 3}; apply_color_to_selection(s); }},
        {"paste", [](EditorState& s) { paste_objects(s, box_arrow_ellipse(), {16, 16}); }},
        {"restack", [](EditorState& s) { restack_selection(s, true, true); }},
        {"fill", [](EditorState& s) { apply_fill_at(s, {25, 25}, false); }},
        {"add a text", [](EditorState& s) { add_sized_text_object(s, {500, 500}, "hi"); }},
        {"size a text", [](EditorState& s) { apply_text_edits(s, std::vector<TextSizeEdit>{{4, 40, 100, 45}}); }},
        {"ink", [](EditorState& s) { set_selected_text_ink(s, Rgb{7, 8, 9}); }},
        {"undo", [](EditorState& s) { undo(s); }},
        {"redo", [](EditorState& s) { redo(s); }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = sample();
        select(state, {1});
        state.tool = Tool::Select;
        const auto pressed = state.objects;
        User user{state};
        user.press({0, 50});
        user.move({50, 100});
        ASSERT_NE(state.objects, pressed);

        row.edit(state);
        EXPECT_FALSE(state.saved_objects);
        while (!state.undo_stack.empty()) undo(state);
        EXPECT_EQ(state.objects, pressed);
    }
}

}  // namespace
}  // namespace glimmerly
