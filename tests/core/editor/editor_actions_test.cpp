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
EditorAction word(Code code, std::uint32_t argument = 0) { return pack_editor_action(code, argument); }

// What the dispatcher may change, so that a row states only its change.
struct Seen {
    Tool tool;
    Rgb color;
    PaletteTarget palette;
    bool picker, eyedropper, fill, more_tools;
    double width;
    std::vector<SceneObject> objects;
    std::vector<ObjectId> selection;
    std::optional<Box> region;
    std::size_t undo, redo;
    bool operator==(const Seen&) const = default;
};
Seen seen(const EditorState& s) {
    return {s.tool, s.color, s.palette_target, s.colour_picker.has_value(), s.eyedropper_armed, s.fill_mode,
            s.more_tools_expanded, s.stroke_width, s.objects, s.selection, s.capture_selection,
            s.undo_stack.size(), s.redo_stack.size()};
}

ActionOutcome apply(EditorState& s, EditorAction action) {
    TypingControls none;
    return apply_editor_action(s, none, action);
}

TEST(EditorActions, EveryCodeMakesItsOwnChangeAndAtMostOneUndoStep) {
    using Out = SessionOutput;
    using Change = std::function<void(Seen&)>;
    const Change common = [](Seen& s) { s.eyedropper = s.fill = false; };
    const auto plus = [&](Change f) { return [=](Seen& s) { common(s), f(s); }; };
    const auto restyled = [&](int step) {
        return plus([=](Seen& s) { s.width = s.objects[0].width = step_stroke_width(3.0, step), ++s.undo; });
    };
    // Without a change the word is an output and nothing changes at all.
    const struct { const char* name; EditorAction word; Out output; Change change; } rows[] = {
        {"tool: taken, selection dropped", tool_action(Tool::Ellipse), Out::None,
         plus([](Seen& s) { s.tool = Tool::Ellipse, s.selection.clear(); })},
        {"colour: the selection recoloured, fill mode kept", colour_action(kTeal), Out::None,
         [](Seen& s) { s.eyedropper = false, s.color = s.objects[0].color = kTeal, ++s.undo; }},
        {"box palette", word(Code::BoxColourPalette), Out::None, [](Seen& s) { s.eyedropper = false, s.palette = {}; }},
        {"colour code", word(Code::CopyColourCode, pack_rgb(kTeal)), Out::CopyColourCode, nullptr},
        {"picker", word(Code::ColourPicker), Out::None, [](Seen& s) { s.eyedropper = false, s.picker = true; }},
        {"eyedropper stays armed", word(Code::Eyedropper), Out::None, [](Seen&) {}},
        {"fill: toggled from the value before the word, on", word(Code::FillMode), Out::None, common},
        {"size down restyles the selection", word(Code::SizeStepDown), Out::None, restyled(-1)},
        {"size up", word(Code::SizeStepUp), Out::None, restyled(1)},
        {"undo", word(Code::Undo), Out::None,
         plus([](Seen& s) { s.objects[0] = rectangle(1, {100, 100, 200, 200}), --s.undo, ++s.redo; })},
        {"redo with nothing to redo", word(Code::Redo), Out::None, common},
        {"image search", word(Code::ImageSearch), Out::ImageSearch, nullptr},
        {"live capture", word(Code::LiveCapture), Out::LiveCapture, nullptr},
        {"full screen: the whole frame without monitors", word(Code::FullScreenOrPrevious), Out::None,
         plus([](Seen& s) { s.region = Box{0, 0, 1000, 800}; })},
        {"size panel", word(Code::NoEffect), Out::None, common},
        {"copy image", word(Code::CopyImage), Out::CopyImage, nullptr},
        {"save", word(Code::Save), Out::Save, nullptr},
        {"save as", word(Code::SaveAs), Out::SaveAs, nullptr},
        {"clear board outside a board", word(Code::ClearOrRestoreBoard), Out::None, common},
        {"more tools", word(Code::MoreTools), Out::None, plus([](Seen& s) { s.more_tools = true; })},
        {"close", word(Code::Close), Out::Close, nullptr},
        {"past the last code", 22, Out::None, common},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // The rectangle selected and moved once, the eyedropper armed, fill
        // mode on, the text palette chosen.
        EditorState s = editor_with({rectangle(1, {100, 100, 200, 200}), stroke(2, {{300, 300}, {350, 320}})}, {1},
                                    Tool::Rectangle);
        s.frame_width = 1000, s.frame_height = 800;
        s.capture_selection = Box{50, 50, 600, 500};
        s.selecting = false;
        nudge_selection(s, {5, 0});
        s.eyedropper_armed = s.fill_mode = true;
        s.palette_target = PaletteTarget::Text;
        Seen want = seen(s);
        if (row.change) row.change(want);
        const ActionOutcome outcome = apply(s, row.word);
        EXPECT_EQ(outcome.output, row.output);
        EXPECT_EQ(outcome.colour, row.output == Out::CopyColourCode ? kTeal : Rgb{});
        EXPECT_TRUE(seen(s) == want);
    }
}

TEST(EditorActions, SizeStepsRestyleTheShapeBeingDrawnAndThenTheEraserAlone) {
    EditorState s = editor_with({}, {}, Tool::Rectangle);
    begin_gesture(s, {10, 10}, {});
    apply(s, word(Code::SizeStepUp));
    ASSERT_TRUE(s.saved_objects) << "the drawing goes on";
    continue_gesture(s, {60, 60});
    finish_gesture(s);
    EXPECT_TRUE(s.objects.back().width == step_stroke_width(3.0, 1) && s.undo_stack.size() == 1);
    s.tool = Tool::Eraser;
    apply(s, word(Code::SizeStepDown));
    EXPECT_EQ(std::make_pair(s.eraser_size, s.stroke_width), std::make_pair(12.0, 4.0));
}

TEST(EditorActions, ABoardRefusesBlurAndClearsAsOneUndoStep) {
    EditorState s = editor_with({rectangle(1, {0, 0, 50, 50}), ellipse(2, {60, 60, 90, 90})}, {2}, Tool::Pen);
    s.board_mode = true;
    s.background = {FillRegion{{1}, kTeal}};
    const std::vector<SceneObject> objects = s.objects;
    apply(s, tool_action(Tool::Blur));
    EXPECT_TRUE(s.tool == Tool::Pen && s.selection.size() == 1);
    for (int twice = 0; twice < 2; ++twice) apply(s, word(Code::ClearOrRestoreBoard));
    EXPECT_TRUE(s.objects.empty() && s.background.empty() && s.selection.empty());
    EXPECT_EQ(s.undo_stack.size(), 1u) << "an empty board records nothing";
    apply(s, word(Code::Undo));
    EXPECT_TRUE(s.objects == objects && s.background.size() == 1);
}

}  // namespace
}  // namespace glimmerly
