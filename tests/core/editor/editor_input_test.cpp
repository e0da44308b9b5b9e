#include "core/editor/editor_input.h"
#include "core/editor/editor_routing.h"

#include "core/document/point_math.h"
#include "core/editor/colour_picker.h"
#include "core/editor/gestures.h"
#include "core/editor/history.h"
#include "core/editor/toolbar.h"
#include "tests/core/support/input.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <functional>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Code = EditorActionCode;

std::vector<ObjectKind> kinds(const EditorState& s) {
    std::vector<ObjectKind> out;
    for (const SceneObject& o : s.objects) out.push_back(o.kind());
    return out;
}

// Press, a move halfway and the release, which lets the mouse go; gives the
// press's effects.
InputEffects drag(EditorState& s, TypingControls& typing, Point from, Point to) {
    const auto pressed = on_pointer_down(s, typing, from, {});
    on_pointer_move(s, typing, (from + to) * 0.5, {});
    EXPECT_EQ(on_pointer_up(s, typing, to, {}).mouse, MouseCapture::Release);
    return pressed.value();
}

TEST(PointerInput, EachToolsDragLeavesItsObjectItsSelectionAndAtMostOneUndoStep) {
    using K = ObjectKind;
    const Point a{150, 150}, b{250, 220};
    const struct { const char* name; Tool tool; Point from, to; std::vector<ObjectKind> kinds;
                   std::vector<ObjectId> selection; std::size_t steps; std::optional<TextEntryStart> entry; } rows[] = {
        {"rectangle", Tool::Rectangle, a, b, {K::Rectangle, K::Rectangle}, {}, 1, {}},
        {"arrow", Tool::Arrow, a, b, {K::Rectangle, K::Arrow}, {}, 1, {}},
        {"pen", Tool::Pen, a, b, {K::Rectangle, K::Stroke}, {}, 1, {}},
        {"eraser across the rectangle", Tool::Eraser, {290, 350}, {310, 350}, {}, {}, 1, {}},
        {"select drags the rectangle", Tool::Select, {300, 350}, {340, 380}, {K::Rectangle}, {1}, 1, {}},
        {"select spans a marquee", Tool::Select, {280, 280}, {420, 420}, {K::Rectangle}, {1}, 0, {}},
        {"text opens an entry", Tool::Text, a, a, {K::Rectangle}, {}, 0, TextEntryStart{a, false}},
        {"label opens a box to drag", Tool::Label, a, a, {K::Rectangle}, {}, 0, TextEntryStart{a, true}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(row.tool, {rectangle(1, {300, 300, 400, 400})});
        TypingControls none;
        const InputEffects pressed = drag(s, none, row.from, row.to);
        EXPECT_EQ(pressed.mouse, row.tool == Tool::Text ? MouseCapture::Keep : MouseCapture::Take);
        EXPECT_EQ(pressed.text_entry, row.entry);
        EXPECT_TRUE(kinds(s) == row.kinds && s.selection == row.selection && s.undo_stack.size() == row.steps);
    }
}

TEST(PointerInput, ARegionKeepsTwoPixelsEachWayAndItsHandlesReshapeIt) {
    const struct { const char* name; std::optional<Box> before; Point from, to; std::optional<Box> after; } rows[] = {
        {"a drag of 1 x 5 is dropped", {}, {200, 200}, {201, 205}, {}},
        {"2 x 2 is kept", {}, {200, 200}, {202, 202}, Box{200, 200, 202, 202}},
        {"the bottom-right handle", kRegion, {700, 600}, {750, 650}, Box{100, 100, 750, 650}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(Tool::Rectangle);
        s.capture_selection = row.before;
        s.selecting = !row.before;
        TypingControls none;
        drag(s, none, row.from, row.to);
        EXPECT_TRUE(s.capture_selection == row.after && s.selecting == !row.after && s.objects.empty());
    }
}

TEST(PointerInput, ButtonsGiveTheirWordsUnlessGreyedAndTheEyedropperTheColourCode) {
    EditorState s = canvas(Tool::Rectangle);
    TypingControls none;
    for (const ToolbarButton& b : layout_toolbar(s))
        EXPECT_EQ(on_pointer_down(s, none, {b.rect.left, b.rect.bottom}, {})->action,
                  b.enabled ? std::optional(b.action) : std::nullopt);
    s.frozen_frame = {{30, 20, 10, 255}, 1, 1};
    s.eyedropper_armed = true;
    const Rgb sampled{10, 20, 30};
    EXPECT_EQ(on_pointer_down(s, none, {150, 150}, {})->action,
              pack_editor_action(Code::CopyColourCode, pack_rgb(sampled)));
    EXPECT_TRUE(s.color == sampled && s.custom_colour == sampled && s.custom_colour_changed && !s.eyedropper_armed);
}

TEST(PointerInput, APickerDragOutlivesItsReleaseAndAPressOutsideTakesTheColour) {
    EditorState s = canvas(Tool::Rectangle);
    TypingControls none;
    (void)apply_editor_action(s, none, pack_editor_action(Code::ColourPicker));
    const Point ring{s.colour_picker->rect.left + 130, s.colour_picker->rect.top + 50};  // scale 1
    EXPECT_EQ(drag(s, none, ring, ring).mouse, MouseCapture::Take);
    cancel_on_capture_lost(s, none);  // the release's own capture change
    ASSERT_TRUE(s.colour_picker) << "still open";
    const Rgb picked = hsv_to_rgb(*s.colour_picker);
    EXPECT_EQ(on_pointer_down(s, none, {150, 150}, {})->focus, FocusTarget::Typing);
    EXPECT_TRUE(!s.colour_picker && s.color == picked && s.custom_colour == picked && s.custom_colour_changed);
}

TEST(PointerInput, APressInTheTextStaysThereAndOneElsewhereCommitsTheTextBeforeItDraws) {
    EditorState s = canvas(Tool::Rectangle);
    FakeTyping typing;
    typing.state = &s;
    typing.open = true;
    EXPECT_EQ(drag(s, typing, {200, 160}, {230, 160}).mouse, MouseCapture::Take);
    EXPECT_TRUE(typing.open && !typing.selecting && s.objects.empty());
    drag(s, typing, {300, 300}, {400, 400});
    EXPECT_EQ(kinds(s), (std::vector{ObjectKind::Text, ObjectKind::Rectangle}));
    undo(s);
    EXPECT_EQ(kinds(s), std::vector{ObjectKind::Text}) << "the text is a step of its own";
}

TEST(EditorKeys, KeysGiveTheirWordsOrOutcomesAndEditingKeysOneStepEach) {
    using O = KeyOutcome;
    using Setup = std::function<void(EditorState&, FakeTyping&)>;
    const PointerModifiers no{}, shift{true}, ctrl{false, false, true}, ctrl_shift{true, false, true};
    const SceneObject one = rectangle(1, {300, 300, 400, 400}), two = rectangle(2, {350, 350, 450, 450});
    // `after`: the objects after one undo step; none, unchanged.
    const struct { const char* name; VirtualKey key; PointerModifiers keys; Setup setup; KeyAnswer answer;
                   std::vector<SceneObject> after; } rows[] = {
        {"R", vk_char('R'), no, nullptr, tool_action(Tool::Rectangle)},
        {"Ctrl+Shift+Z", vk_char('Z'), ctrl_shift, nullptr, pack_editor_action(Code::Redo)},
        {"Ctrl+C copies objects", vk_char('C'), ctrl, nullptr, O::CopyObjects},
        {"Ctrl+C after a text entry copies the picture", vk_char('C'), ctrl,
         [](EditorState& s, FakeTyping&) { s.automatic_selection = 1; }, pack_editor_action(Code::CopyImage)},
        {"Ctrl+V", vk_char('V'), ctrl, nullptr, O::PasteObjects},
        {"X on a board", vk_char('X'), no, [](EditorState& s, FakeTyping&) { s.board_mode = true; }, O::Handled},
        {"F2 with live capture greyed", kVkF2, no,
         [](EditorState& s, FakeTyping&) { s.live_capture_for_new_only = true; }, O::Handled},
        {"a text box has the keys", vk_char('R'), no, [](EditorState&, FakeTyping& t) { t.open = true; }, O::Ignored},
        {"the eyedropper waits", vk_char('R'), no, [](EditorState& s, FakeTyping&) { s.eyedropper_armed = true; },
         O::Ignored},
        {"the fields have the keys", vk_char('R'), no, [](EditorState&, FakeTyping& t) { t.fields = true; },
         O::Handled},
        {"left", kVkLeft, no, nullptr, O::Handled, {rectangle(1, {299, 300, 399, 400}), two}},
        {"Shift+down", kVkDown, shift, nullptr, O::Handled, {rectangle(1, {300, 310, 400, 410}), two}},
        {"Page Up", kVkPageUp, no, nullptr, O::Handled, {two, one}},
        {"Delete", kVkDelete, no, nullptr, O::Handled, {two}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(Tool::Arrow, {one, two}, {1});
        FakeTyping typing;
        if (row.setup) row.setup(s, typing);
        EXPECT_EQ(handle_editor_key(s, typing, row.key, row.keys), row.answer);
        EXPECT_EQ(key_answer_effects(row.answer) == InputEffects{}, row.answer == KeyAnswer{O::Ignored})
            << "only an ignored key asks nothing of the window: no repaint, no default processing";
        EXPECT_TRUE(s.objects == (row.after.empty() ? std::vector{one, two} : row.after));
        EXPECT_EQ(s.undo_stack.size(), row.after.empty() ? 0u : 1u);
    }
}

TEST(EditorKeys, EscapeStepsBackOneLevelAtATime) {
    EditorState s = canvas(Tool::Rectangle);
    FakeTyping typing;
    begin_gesture(s, {200, 200}, {});
    continue_gesture(s, {260, 260});
    s.selection_drag = SelectionDrag{{100, 100}, kRegion, SelectionHandle::BottomRight};
    s.capture_selection = Box{100, 100, 900, 700};
    s.selecting = typing.selecting = s.eyedropper_armed = s.fill_mode = true;
    s.colour_picker = open_colour_picker(kBlack, {0, 0}, 1000, 800, 1.0);
    const struct { const char* name; std::function<bool()> done; } levels[] = {
        {"the mouse selection in the text", [&] { return !typing.selecting; }},
        {"the picker", [&] { return !s.colour_picker; }},
        {"the eyedropper", [&] { return !s.eyedropper_armed; }},
        {"fill mode", [&] { return !s.fill_mode; }},
        {"the region drag, back to its start", [&] { return s.capture_selection == kRegion && !s.selecting; }},
        {"the drawing", [&] { return !s.saved_objects && s.objects.empty(); }},
    };
    for (const auto& level : levels) {
        SCOPED_TRACE(level.name);
        EXPECT_FALSE(level.done()) << "not before its turn";
        EXPECT_EQ(handle_editor_key(s, typing, kVkEscape, {}), KeyAnswer{KeyOutcome::Handled});
        EXPECT_TRUE(level.done());
    }
    const KeyAnswer last = handle_editor_key(s, typing, kVkEscape, {});
    EXPECT_EQ(last, KeyAnswer{KeyOutcome::EndCapture});
    EXPECT_EQ(key_answer_effects(last).end_capture, kCaptureEndedExitCode);
}

TEST(EditorWheel, CtrlZoomsWhereItCanAndOtherwiseResizesLikeThePlainWheel) {
    const struct { const char* name; bool ctrl; double zoom; std::vector<std::int16_t> turns; double zoomed, width; }
    rows[] = {
        {"Ctrl zooms in", true, 1.0, {120}, 1.25, 3},
        {"Ctrl at the largest zoom resizes", true, 8.0, {120}, 8.0, 4},
        {"Ctrl at zoom 1 resizes down", true, 1.0, {-120}, 1.0, 2},
        {"the plain wheel resizes", false, 2.0, {120}, 2.0, 4},
        {"two half notches make one", false, 1.0, {60, 60}, 1.0, 4},
        {"a turn back starts afresh", false, 1.0, {60, -60, -60}, 1.0, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = capture_over({{{0, 0, 1000, 800}, 1.0}}, kRegion);
        s.pointer = {400, 400};
        s.monitor_views[0].zoom = row.zoom;
        FakeTyping typing;
        for (const std::int16_t turn : row.turns) ASSERT_TRUE(on_wheel(s, typing, turn, row.ctrl));
        EXPECT_EQ(std::make_pair(s.monitor_views[0].zoom, s.stroke_width), std::make_pair(row.zoomed, row.width));
    }
}

TEST(ObjectPaste, EachPasteLiesSixteenPixelsFurtherAndOneUndoTakesItAway) {
    EditorState s = editor_with({rectangle(1, {0, 0, 10, 10}), line(2, {0, 0}, {5, 5})}, {1, 2}, Tool::Pen);
    HeldObjects held;
    hold_copied_objects(held, std::get<std::vector<SceneObject>>(objects_to_copy(s)), 7);
    for (const double shift : {16.0, 32.0, 48.0}) {
        SCOPED_TRACE(shift);
        const auto before = s.objects;
        ASSERT_TRUE(paste_held_objects(s, held));
        ASSERT_EQ(s.objects.size(), before.size() + 2);
        EXPECT_EQ(rect_of(s.objects[before.size()]), (Box{shift, shift, shift + 10, shift + 10}));
        EXPECT_EQ(s.selection, (std::vector{s.objects[before.size()].id, s.objects.back().id}));
        EXPECT_EQ(s.tool, Tool::Select) << "so that the next drag moves them";
        undo(s);
        EXPECT_EQ(s.objects, before);
        redo(s);
    }
    hold_copied_objects(held, held.objects, 8);
    ASSERT_TRUE(paste_held_objects(s, held));
    EXPECT_EQ(rect_of(s.objects[s.objects.size() - 2]), (Box{16, 16, 26, 26})) << "a new copy starts again";
    s.selection.clear();
    EXPECT_EQ(std::get<EditorAction>(objects_to_copy(s)), pack_editor_action(EditorActionCode::CopyImage));
}

}  // namespace
}  // namespace glimmerly
