#include "core/editor/editor_input.h"

#include "core/document/point_math.h"
#include "core/editor/colour_picker.h"
#include "core/editor/gestures.h"
#include "core/editor/history.h"
#include "core/editor/toolbar.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/objects.h"
#include "tests/core/support/typing.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;
using Code = EditorActionCode;
constexpr Box kRegion{100, 100, 700, 600};

// A 1000 x 800 capture with the region chosen; the toolbar stands right of
// and below it, clear of the presses.
EditorState canvas(Tool tool, std::vector<SceneObject> objects = {}) {
    EditorState s = editor_with(std::move(objects), {}, tool);
    s.frame_width = 1000;
    s.frame_height = 800;
    s.capture_selection = kRegion;
    s.selecting = false;
    return s;
}

std::vector<ObjectKind> kinds(const EditorState& s) {
    std::vector<ObjectKind> out;
    for (const SceneObject& o : s.objects) out.push_back(o.kind());
    return out;
}

// Press, a move halfway and the release; the press's effects.
InputEffects drag(EditorState& s, TypingControls& typing, Point from, Point to, PointerModifiers keys = {}) {
    const auto pressed = on_pointer_down(s, typing, from, keys);
    on_pointer_move(s, typing, (from + to) * 0.5, keys);
    EXPECT_EQ(on_pointer_up(s, typing, to, keys).mouse, MouseCapture::Release);
    return pressed.value();
}

TEST(PointerInput, EachToolsDragLeavesItsObjectItsSelectionAndAtMostOneUndoStep) {
    using K = ObjectKind;
    const struct {
        const char* name;
        Tool tool;
        Point from, to;
        std::vector<ObjectKind> kinds;
        std::vector<ObjectId> selection;
        std::size_t steps;
        std::optional<TextEntryStart> entry;
    } rows[] = {
        {"rectangle", Tool::Rectangle, {150, 150}, {250, 220}, {K::Rectangle, K::Rectangle}, {}, 1, {}},
        {"ellipse", Tool::Ellipse, {150, 150}, {250, 220}, {K::Rectangle, K::Ellipse}, {}, 1, {}},
        {"line", Tool::Line, {150, 150}, {250, 220}, {K::Rectangle, K::Arrow}, {}, 1, {}},
        {"arrow", Tool::Arrow, {150, 150}, {250, 220}, {K::Rectangle, K::Arrow}, {}, 1, {}},
        {"pen", Tool::Pen, {150, 150}, {250, 220}, {K::Rectangle, K::Stroke}, {}, 1, {}},
        {"highlighter", Tool::Highlighter, {150, 150}, {250, 220}, {K::Rectangle, K::Stroke}, {}, 1, {}},
        {"blur", Tool::Blur, {150, 150}, {250, 220}, {K::Rectangle, K::Blur}, {}, 1, {}},
        {"a click draws nothing", Tool::Rectangle, {150, 150}, {150, 150}, {K::Rectangle}, {}, 0, {}},
        {"eraser across the rectangle", Tool::Eraser, {290, 350}, {310, 350}, {}, {}, 1, {}},
        {"select drags the rectangle", Tool::Select, {300, 350}, {340, 380}, {K::Rectangle}, {1}, 1, {}},
        {"select spans a marquee", Tool::Select, {280, 280}, {420, 420}, {K::Rectangle}, {1}, 0, {}},
        {"text opens an entry", Tool::Text, {150, 150}, {150, 150}, {K::Rectangle}, {}, 0, {{{150, 150}, false}}},
        {"label opens a box to drag", Tool::Label, {150, 150}, {150, 150}, {K::Rectangle}, {}, 0, {{{150, 150}, true}}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(row.tool, {rectangle(1, {300, 300, 400, 400})});
        TypingControls none;
        const InputEffects pressed = drag(s, none, row.from, row.to);
        EXPECT_EQ(pressed.mouse, row.tool == Tool::Text ? MouseCapture::Keep : MouseCapture::Take);
        EXPECT_EQ(pressed.text_entry, row.entry);
        EXPECT_EQ(kinds(s), row.kinds);
        EXPECT_EQ(s.selection, row.selection);
        EXPECT_EQ(s.undo_stack.size(), row.steps);
    }
}

TEST(PointerInput, ARegionKeepsTwoPixelsEachWayAndItsHandlesReshapeIt) {
    const struct {
        const char* name;
        std::optional<Box> before;
        Point from, to;
        std::optional<Box> after;
    } rows[] = {
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
        EXPECT_EQ(s.capture_selection, row.after);
        EXPECT_EQ(s.selecting, !row.after) << "choosing ends with a region";
        EXPECT_TRUE(s.objects.empty());
    }
}

TEST(PointerInput, SpaceOverAZoomedViewPansAndItsReleaseLeavesTheEyedropperArmed) {
    EditorState s = capture_over({{{0, 0, 1000, 800}, 1.0}}, kRegion);
    s.monitor_views[0].zoom = 2.0;
    s.space_held = s.eyedropper_armed = true;
    TypingControls none;
    EXPECT_EQ(drag(s, none, {400, 400}, {300, 300}).mouse, MouseCapture::Take);
    EXPECT_EQ(s.monitor_views[0].origin, (Point{50, 50}));
    EXPECT_FALSE(s.pan);
    EXPECT_FALSE(cancel_on_capture_lost(s, none));
    EXPECT_TRUE(s.eyedropper_armed && s.objects.empty());
}

TEST(PointerInput, ToolbarButtonsGiveTheirWordsAndTheEyedropperTheColourCode) {
    EditorState s = canvas(Tool::Rectangle);
    TypingControls none;
    const auto buttons = layout_toolbar(s);
    ASSERT_FALSE(buttons.empty());
    for (const ToolbarButton& b : buttons) {
        SCOPED_TRACE(b.action);
        const auto fx = on_pointer_down(s, none, {(b.rect.left + b.rect.right) / 2, b.rect.bottom}, {});
        EXPECT_EQ(fx->action, b.enabled ? std::optional(b.action) : std::nullopt) << "undo has nothing to undo";
    }
    const Rgb sampled{10, 20, 30};
    s.frozen_frame = {std::vector<std::uint8_t>(4 * 4 * 4), 4, 4};
    for (std::size_t i = 0; i < s.frozen_frame.pixels.size(); i += 4)
        std::copy_n(std::array<std::uint8_t, 4>{30, 20, 10, 255}.begin(), 4, s.frozen_frame.pixels.begin() + i);
    s.eyedropper_armed = true;
    const auto fx = on_pointer_down(s, none, {150, 150}, {});
    EXPECT_EQ(fx->action, pack_editor_action(Code::CopyColourCode, pack_rgb(sampled)));
    EXPECT_TRUE(s.color == sampled && s.custom_colour == sampled && s.custom_colour_changed && !s.eyedropper_armed);
}

TEST(PointerInput, APickerDragOutlivesItsReleaseAndAPressOutsideTakesTheColour) {
    EditorState s = canvas(Tool::Rectangle);
    TypingControls none;
    (void)apply_editor_action(s, none, pack_editor_action(Code::ColourPicker));
    const Point ring{s.colour_picker->rect.left + 130, s.colour_picker->rect.top + 50};  // scale 1
    EXPECT_EQ(on_pointer_down(s, none, ring, {})->mouse, MouseCapture::Take);
    EXPECT_EQ(on_pointer_up(s, none, ring, {}).mouse, MouseCapture::Release);
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

TEST(EditorKeys, KeysGiveTheirWordsOrOutcomes) {
    using O = KeyOutcome;
    const PointerModifiers none{}, shift{true}, ctrl{false, false, true}, ctrl_shift{true, false, true};
    const struct {
        const char* name;
        VirtualKey key;
        PointerModifiers keys;
        void (*setup)(EditorState&, FakeTyping&);
        KeyAnswer answer;
    } rows[] = {
        {"R", vk_char('R'), none, nullptr, tool_action(Tool::Rectangle)},
        {"Shift+R", vk_char('R'), shift, nullptr, tool_action(Tool::Rectangle)},
        {"Ctrl+Z", vk_char('Z'), ctrl, nullptr, pack_editor_action(Code::Undo)},
        {"Ctrl+Shift+Z", vk_char('Z'), ctrl_shift, nullptr, pack_editor_action(Code::Redo)},
        {"Ctrl+Shift+S", vk_char('S'), ctrl_shift, nullptr, pack_editor_action(Code::SaveAs)},
        {"Ctrl+C copies objects", vk_char('C'), ctrl, nullptr, O::CopyObjects},
        {"Ctrl+C right after a text entry copies the picture", vk_char('C'), ctrl,
         [](EditorState& s, FakeTyping&) { s.automatic_selection = 1; }, pack_editor_action(Code::CopyImage)},
        {"Ctrl+V", vk_char('V'), ctrl, nullptr, O::PasteObjects},
        {"Ctrl+Alt+Z", vk_char('Z'), {false, true, true}, nullptr, O::Handled},
        {"X on a board", vk_char('X'), none, [](EditorState& s, FakeTyping&) { s.board_mode = true; }, O::Handled},
        {"F2 without live capture", kVkF2, none,
         [](EditorState& s, FakeTyping&) { s.live_capture_not_offered = true; }, O::Handled},
        {"Q", vk_char('Q'), none, nullptr, O::Handled},
        {"Escape with nothing to step back", kVkEscape, none, nullptr, O::EndCapture},
        {"the text box has the keys", vk_char('R'), none, [](EditorState&, FakeTyping& t) { t.open = true; },
         O::Ignored},
        {"the armed eyedropper waits", vk_char('R'), none,
         [](EditorState& s, FakeTyping&) { s.eyedropper_armed = true; }, O::Ignored},
        {"the dimension fields have the keys", vk_char('R'), none,
         [](EditorState&, FakeTyping& t) { t.fields = true; }, O::Handled},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(Tool::Arrow, {rectangle(1, {300, 300, 400, 400})});
        s.selection = {1};
        FakeTyping typing;
        if (row.setup) row.setup(s, typing);
        EXPECT_EQ(handle_editor_key(s, typing, row.key, row.keys), row.answer);
    }
}

TEST(EditorKeys, ArrowsDeleteAndPageKeysEditTheSelectionOneStepEach) {
    const struct {
        const char* name;
        VirtualKey key;
        bool shift;
        std::vector<SceneObject> after;
    } rows[] = {
        {"left", kVkLeft, false, {rectangle(1, {299, 300, 399, 400}), rectangle(2, {350, 350, 450, 450})}},
        {"Shift+down", kVkDown, true, {rectangle(1, {300, 310, 400, 410}), rectangle(2, {350, 350, 450, 450})}},
        {"Page Up", kVkPageUp, false, {rectangle(2, {350, 350, 450, 450}), rectangle(1, {300, 300, 400, 400})}},
        {"Delete", kVkDelete, false, {rectangle(2, {350, 350, 450, 450})}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState s = canvas(Tool::Arrow, {rectangle(1, {300, 300, 400, 400}), rectangle(2, {350, 350, 450, 450})});
        s.selection = {1};
        TypingControls none;
        EXPECT_EQ(handle_editor_key(s, none, row.key, {row.shift}), KeyAnswer{KeyOutcome::Handled});
        EXPECT_EQ(s.objects, row.after);
        EXPECT_EQ(s.undo_stack.size(), 1u);
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
    const struct {
        const char* name;
        bool (*done)(const EditorState&, const FakeTyping&);
    } levels[] = {
        {"the mouse selection in the text", [](const EditorState&, const FakeTyping& t) { return !t.selecting; }},
        {"the picker", [](const EditorState& s, const FakeTyping&) { return !s.colour_picker; }},
        {"the eyedropper", [](const EditorState& s, const FakeTyping&) { return !s.eyedropper_armed; }},
        {"fill mode", [](const EditorState& s, const FakeTyping&) { return !s.fill_mode; }},
        {"the region drag, back to where it began",
         [](const EditorState& s, const FakeTyping&) { return s.capture_selection == kRegion && !s.selecting; }},
        {"the drawing", [](const EditorState& s, const FakeTyping&) { return !s.saved_objects && s.objects.empty(); }},
    };
    for (const auto& level : levels) {
        SCOPED_TRACE(level.name);
        EXPECT_FALSE(level.done(s, typing)) << "not before its turn";
        EXPECT_EQ(handle_editor_key(s, typing, kVkEscape, {}), KeyAnswer{KeyOutcome::Handled});
        EXPECT_TRUE(level.done(s, typing));
    }
    EXPECT_EQ(handle_editor_key(s, typing, kVkEscape, {}), KeyAnswer{KeyOutcome::EndCapture});
}

}  // namespace
}  // namespace glimmerly
