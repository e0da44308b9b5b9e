#include "core/editor/editor_actions.h"

#include "core/editor/gestures.h"
#include "core/editor/selection_edits.h"
#include "core/editor/size_ladders.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <functional>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Code = EditorActionCode;
constexpr Rgb kTeal{0, 128, 128};

// What the dispatcher may change, so that a row states only its change.
struct Seen {
    Tool tool;
    Rgb color;
    PaletteTarget palette;
    bool picker, eyedropper, fill, more_tools;
    double stroke_width;
    std::vector<SceneObject> objects;
    std::vector<ObjectId> selection;
    std::optional<Box> region;
    std::size_t undo, redo;
    friend bool operator==(const Seen&, const Seen&) = default;
};
Seen seen(const EditorState& s) {
    return {s.tool,         s.color,   s.palette_target,    s.colour_picker.has_value(), s.eyedropper_armed,
            s.fill_mode,    s.more_tools_expanded, s.stroke_width, s.objects, s.selection, s.capture_selection,
            s.undo_stack.size(), s.redo_stack.size()};
}

// A committed region on a 1000 x 800 frame, the rectangle selected and moved
// once, the eyedropper armed and fill mode on.
EditorState small_editor() {
    EditorState s = editor_with({rectangle(1, {100, 100, 200, 200}), stroke(2, {{300, 300}, {350, 320}})}, {1},
                                Tool::Rectangle);
    s.frame_width = 1000;
    s.frame_height = 800;
    s.capture_selection = Box{50, 50, 600, 500};
    s.selecting = false;
    nudge_selection(s, {5, 0});
    s.eyedropper_armed = s.fill_mode = true;
    s.palette_target = PaletteTarget::Text;
    return s;
}

ActionOutcome apply(EditorState& s, EditorAction word) {
    TypingControls none;
    return apply_editor_action(s, none, word);
}

TEST(EditorActions, EveryCodeMakesItsOwnChangeAndAtMostOneUndoStep) {
    const auto common = [](Seen& s) { s.eyedropper = s.fill = false; };
    const auto plus = [&](std::function<void(Seen&)> f) { return [=](Seen& s) { common(s), f(s); }; };
    const auto restyled = [](int step) {
        return [=](Seen& s) { s.stroke_width = s.objects[0].width = step_stroke_width(3.0, step), ++s.undo; };
    };
    struct Row {
        const char* name;
        EditorAction word;
        SessionOutput output;
        std::function<void(Seen&)> change;  // none: nothing at all
    };
    const Row rows[] = {
        {"tool: taken, selection dropped", tool_action(Tool::Ellipse), SessionOutput::None,
         plus([](Seen& s) { s.tool = Tool::Ellipse, s.selection.clear(); })},
        {"colour: the selection recoloured, fill mode kept", colour_action(kTeal), SessionOutput::None,
         [](Seen& s) { s.eyedropper = false, s.color = s.objects[0].color = kTeal, ++s.undo; }},
        {"box palette", pack_editor_action(Code::BoxColourPalette), SessionOutput::None,
         [](Seen& s) { s.eyedropper = false, s.palette = PaletteTarget::Box; }},
        {"colour code: output only", pack_editor_action(Code::CopyColourCode, pack_rgb(kTeal)),
         SessionOutput::CopyColourCode, nullptr},
        {"picker opened", pack_editor_action(Code::ColourPicker), SessionOutput::None,
         [](Seen& s) { s.eyedropper = false, s.picker = true; }},
        {"eyedropper stays armed", pack_editor_action(Code::Eyedropper), SessionOutput::None, [](Seen&) {}},
        {"fill: turned off from on", pack_editor_action(Code::FillMode), SessionOutput::None, common},
        {"size down restyles the selection", pack_editor_action(Code::SizeStepDown), SessionOutput::None,
         plus(restyled(-1))},
        {"size up", pack_editor_action(Code::SizeStepUp), SessionOutput::None, plus(restyled(1))},
        {"undo", pack_editor_action(Code::Undo), SessionOutput::None,
         plus([](Seen& s) { s.objects[0] = rectangle(1, {100, 100, 200, 200}), --s.undo, ++s.redo; })},
        {"redo with nothing to redo", pack_editor_action(Code::Redo), SessionOutput::None, common},
        {"image search", pack_editor_action(Code::ImageSearch), SessionOutput::ImageSearch, nullptr},
        {"live capture", pack_editor_action(Code::LiveCapture), SessionOutput::LiveCapture, nullptr},
        {"full screen: the whole frame without monitors", pack_editor_action(Code::FullScreenOrPrevious),
         SessionOutput::None, plus([](Seen& s) { s.region = Box{0, 0, 1000, 800}; })},
        {"size panel word", pack_editor_action(Code::NoEffect), SessionOutput::None, common},
        {"copy image", pack_editor_action(Code::CopyImage), SessionOutput::CopyImage, nullptr},
        {"save", pack_editor_action(Code::Save), SessionOutput::Save, nullptr},
        {"save as", pack_editor_action(Code::SaveAs), SessionOutput::SaveAs, nullptr},
        {"clear board outside a board", pack_editor_action(Code::ClearOrRestoreBoard), SessionOutput::None, common},
        {"more tools", pack_editor_action(Code::MoreTools), SessionOutput::None,
         plus([](Seen& s) { s.more_tools = true; })},
        {"close", pack_editor_action(Code::Close), SessionOutput::Close, nullptr},
        {"past the last code", 22, SessionOutput::None, common},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = small_editor();
        Seen want = seen(s);
        if (row.change) row.change(want);
        const ActionOutcome outcome = apply(s, row.word);
        EXPECT_EQ(outcome.output, row.output);
        EXPECT_EQ(outcome.colour, row.output == SessionOutput::CopyColourCode ? kTeal : Rgb{});
        EXPECT_TRUE(seen(s) == want);
    }
}

TEST(EditorActions, FillWordSwitchesFillModeOnAndOffAgain) {
    EditorState s = small_editor();
    s.fill_mode = false;
    for (const bool on : {true, false, true}) {
        apply(s, pack_editor_action(Code::FillMode));
        EXPECT_EQ(s.fill_mode, on);
    }
}

TEST(EditorActions, SizeStepsRestyleTheShapeBeingDrawnButNotABlurSelection) {
    EditorState s = editor_with({}, {}, Tool::Rectangle);
    begin_gesture(s, {10, 10}, {});
    continue_gesture(s, {60, 60});
    apply(s, pack_editor_action(Code::SizeStepUp));
    ASSERT_TRUE(s.saved_objects) << "the drawing goes on";
    EXPECT_EQ(s.objects.back().width, step_stroke_width(3.0, 1));
    finish_gesture(s);
    EXPECT_EQ(s.undo_stack.size(), 1u);

    EditorState eraser = editor_with({}, {}, Tool::Eraser);
    apply(eraser, pack_editor_action(Code::SizeStepUp));
    EXPECT_EQ(eraser.eraser_size, 16.0);
    EXPECT_EQ(eraser.stroke_width, 3.0) << "the eraser alone";

    EditorState b = editor_with({blur(1, {0, 0, 50, 50})}, {1});
    const Seen before = seen(b);
    apply(b, pack_editor_action(Code::SizeStepUp));
    EXPECT_TRUE(seen(b) == before);
    EXPECT_FALSE(b.size_preview);
}

TEST(EditorActions, ABoardRefusesBlurAndClearsAsOneUndoStep) {
    EditorState s = editor_with({rectangle(1, {0, 0, 50, 50}), ellipse(2, {60, 60, 90, 90})}, {2}, Tool::Pen);
    s.board_mode = true;
    s.background = {FillRegion{{1}, kTeal}};
    const auto objects = s.objects;
    const auto background = s.background;
    apply(s, tool_action(Tool::Blur));
    EXPECT_EQ(s.tool, Tool::Pen);
    EXPECT_EQ(s.selection, std::vector<ObjectId>{2});
    for (int twice = 0; twice < 2; ++twice) apply(s, pack_editor_action(Code::ClearOrRestoreBoard));
    EXPECT_TRUE(s.objects.empty() && s.background.empty() && s.selection.empty());
    EXPECT_EQ(s.undo_stack.size(), 1u) << "an empty board records nothing";
    apply(s, pack_editor_action(Code::Undo));
    EXPECT_EQ(s.objects, objects);
    EXPECT_EQ(s.background, background);
}

TEST(EditorActions, TextPaletteColourInksTheSelectedLabelsOrTheOpenTextBox) {
    struct OpenBox : TypingControls {
        std::optional<std::optional<Rgb>> ink;
        bool text_box_open() const override { return true; }
        void set_text_box_ink(std::optional<Rgb> i) override { ink = i; }
    } box;
    EditorState s = editor_with({text(1, "a", {10, 10}, LabelMode::fit()), rectangle(2, {0, 0, 5, 5})}, {1, 2});
    s.palette_target = PaletteTarget::Text;
    apply(s, colour_action(kTeal));
    EXPECT_EQ(as_text(s.objects[0])->ink, kTeal);
    EXPECT_NE(s.color, kTeal) << "the box colour stays";
    apply_editor_action(s, box, colour_action(kWhite));
    EXPECT_EQ(box.ink, std::optional<Rgb>(kWhite));
    EXPECT_EQ(s.label_ink, kWhite);
    EXPECT_EQ(s.undo_stack.size(), 1u) << "the text box keeps its own ink until it is committed";
}

}  // namespace
}  // namespace glimmerly
