#include "core/editor/text_box.h"

#include "core/editor/history.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(TextBoxWheel, KeepsThePartialNotchUntilTheDirectionChanges) {
    const struct {
        const char* name;
        std::vector<std::int16_t> deltas;
        float size;
        std::int32_t remainder;
    } rows[] = {
        {"half a notch does nothing", {60}, 24, 60},
        {"two halves make one notch", {60, 60}, 28, 0},
        {"turning back starts again", {60, -60}, 24, -60},
        {"turning back twice steps down", {60, -60, -60}, 22, 0},
        {"three notches in one message", {360}, 36, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({}, {}, Tool::Text);
        for (const std::int16_t delta : row.deltas) (void)resize_by_wheel(state, nullptr, false, delta);
        EXPECT_EQ(state.text_size, row.size);
        EXPECT_EQ(state.wheel_remainder, row.remainder);
    }
}

TEST(TextBoxWheel, ResizesTheOpenBoxTheSelectedTextsOrTheToolInThatOrder) {
    EditorState state = editor_with({text(3, "a", {0, 0}), rectangle(4, {0, 0, 9, 9}), text(5, "b", {0, 0})},
                                    {5, 4}, Tool::Arrow);
    TextBox box;
    box.size = 24;
    auto decision = resize_by_wheel(state, &box, false, 120);
    ASSERT_TRUE(std::holds_alternative<WheelResizeTextBox>(decision));
    EXPECT_EQ(std::get<WheelResizeTextBox>(decision).size, 28.0f);

    box.size = 8;  // the smallest size stays
    EXPECT_TRUE(std::holds_alternative<WheelHandled>(resize_by_wheel(state, &box, false, -120)));

    decision = resize_by_wheel(state, nullptr, false, 120);
    ASSERT_TRUE(std::holds_alternative<WheelResizeTexts>(decision));
    const auto& texts = std::get<WheelResizeTexts>(decision).texts;
    ASSERT_EQ(texts.size(), 1u);
    EXPECT_EQ(texts[0].id, 5u);
    EXPECT_EQ(texts[0].size, 22.0);
    const TextSizeEdit edit{5, texts[0].size, {30, 22}};
    apply_wheel_text_sizes(state, {&edit, 1});
    EXPECT_EQ(as_text(state.objects[2])->size, 22.0);
    EXPECT_EQ(state.text_size, 22.0f);
    EXPECT_EQ(state.undo_stack.size(), 1u);

    state.selection.clear();
    decision = resize_by_wheel(state, nullptr, false, -240);
    ASSERT_TRUE(std::holds_alternative<WheelSizeSteps>(decision));
    EXPECT_EQ(std::get<WheelSizeSteps>(decision).action, EditorActionCode::SizeStepDown);
    EXPECT_EQ(std::get<WheelSizeSteps>(decision).count, 2);

    // Open fields or fill mode leave even the remainder alone.
    EXPECT_TRUE(std::holds_alternative<WheelIgnored>(resize_by_wheel(state, nullptr, true, 60)));
    state.fill_mode = true;
    EXPECT_TRUE(std::holds_alternative<WheelIgnored>(resize_by_wheel(state, nullptr, false, 60)));
    EXPECT_EQ(state.wheel_remainder, 0);
}

TEST(TextBoxLabelDrag, FitsWithinTheSlopAndWrapsTheDraggedBoxBeyondIt) {
    const struct {
        const char* name;
        Point pointer;
        double scale;
        LabelDragShape shape;
    } rows[] = {
        {"a click fits at the press point", {100, 100}, 1, {{104, 102.5}, LabelMode::fit(), 0}},
        {"5 px at scale 1 still fits", {105, 95}, 1, {{104, 102.5}, LabelMode::fit(), 0}},
        {"5 px at half scale wraps", {105, 95}, 0.5, {{104, 97.5}, LabelMode::wrap(10), 0}},
        {"down-right box", {300, 200}, 1, {{104, 102.5}, LabelMode::wrap(192), 95}},
        {"up-left drag starts at the pointer", {0, 40}, 1, {{4, 42.5}, LabelMode::wrap(92), 55}},
        {"a pointer that is no number fits", {kNaN, 300}, 1, {{104, 102.5}, LabelMode::fit(), 0}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(label_drag_shape({100, 100}, row.pointer, 10, row.scale), row.shape);
    }
}

TEST(TextBoxOpening, EditsTheTextUnderThePointElseStartsANewBoxThere) {
    EditorState state = editor_with({text(7, "old", {50, 50}, LabelMode::wrap(80), 30, {80, 40})});
    state.frame_width = 400;
    state.frame_height = 300;
    const TextBoxOpening edit = open_text_box_at(state, {60, 60}, Tool::Text);
    EXPECT_EQ(edit.box.target, ObjectId{7});
    EXPECT_EQ(edit.text, "old");
    EXPECT_EQ(edit.box.label, LabelMode::wrap(80));
    EXPECT_EQ(edit.box.size, 30.0f);

    const TextBoxOpening label = open_text_box_at(state, {300, 200}, Tool::Label);
    EXPECT_FALSE(label.box.target);
    EXPECT_EQ(label.box.label_drag, (Point{300, 200}));
    EXPECT_EQ(label.box.label, LabelMode::fit());
    EXPECT_EQ(text_box_edit_placement(state, label.box), (EditPlacement{310, 206, 90, 94}));
    EXPECT_EQ(open_text_box_at(state, {300, 200}, Tool::Text).box.label, LabelMode::none());
    EXPECT_EQ(text_box_font_height(24.4), -24);
    EXPECT_EQ(text_box_font_height(kNaN), 0);
}

TEST(TextBoxKeys, CtrlEnterAndEscCommitWhilePlainEnterBreaksTheLine) {
    EditorState state;
    EXPECT_EQ(text_box_key(state, true, kVkReturn, true), TextBoxKey::Commit);
    EXPECT_EQ(text_box_key(state, true, kVkEscape, false), TextBoxKey::Commit);
    EXPECT_EQ(text_box_key(state, true, kVkReturn, false), TextBoxKey::PassOn);
    EXPECT_EQ(text_box_key(state, false, kVkEscape, false), TextBoxKey::PassOn);
    state.eyedropper_armed = true;
    EXPECT_EQ(text_box_key(state, true, kVkEscape, false), TextBoxKey::PassOn);
}

TEST(TextBoxStoredText, ReplacesLoneSurrogatesDropsControlsAndKeepsRightToLeftText) {
    const struct {
        const char* name;
        std::u16string typed;
        std::string stored;
    } rows[] = {
        {"lone high surrogate", u"a\xD83D" "b", "a\uFFFD" "b"},
        {"lone low surrogate at the end", u"a\xDE00", "a\uFFFD"},
        {"surrogate pair", u"\xD83D\xDE00", "\U0001F600"},
        {"pasted controls", u"a\x01\x1E\x1F\x7F\x85" "b", "ab"},
        {"tabs and line breaks stay", u"a\tb\r\nc", "a\tb\r\nc"},
        {"right-to-left with marks", u"\u05E9\u05DC\u05D5\u05DD \u202Eabc\u202C",
         "\u05E9\u05DC\u05D5\u05DD \u202Eabc\u202C"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(text_box_stored_text(row.typed), row.stored);
    }
}

struct CommitRow {
    const char* name;
    std::optional<ObjectId> target;
    LabelMode label;
    std::string text;
    Result<Size> measured = Size{40, 20};
    std::optional<TextCommitKind> kind;  // none: refused, the entry stays open
    std::size_t objects;                 // afterwards, of the two-text scene
};

TEST(TextBoxCommit, AddsUpdatesOrDropsAsOneStepAndRefusesWithoutLosingTheEntry) {
    const Failure layout = plain_failure("layout failed");
    const std::string too_long(kMaxTextBytes + 1, 'a');
    const CommitRow rows[] = {
        {"new text", {}, LabelMode::none(), "Hi", Size{40, 20}, TextCommitKind::Added, 3},
        {"new right-to-left text", {}, LabelMode::none(), "\u05E9\u05DC\u05D5\u05DD", Size{40, 20},
         TextCommitKind::Added, 3},
        {"blank plain text", {}, LabelMode::none(), " \u3000\u00A0\n", Size{0, 20}, TextCommitKind::Dropped, 2},
        {"zero-width space is not blank", {}, LabelMode::none(), "\u200B", Size{0, 20}, TextCommitKind::Added, 3},
        {"blank label", {}, LabelMode::fit(), "  ", Size{3, 20}, TextCommitKind::Added, 3},
        {"edited text", 1, LabelMode::none(), "new", Size{40, 20}, TextCommitKind::Updated, 2},
        {"edited text left blank", 1, LabelMode::none(), "  ", Size{0, 20}, TextCommitKind::Removed, 1},
        {"edited label left blank", 2, LabelMode::fit(), "", Size{0, 20}, TextCommitKind::Updated, 2},
        {"edited object gone", 9, LabelMode::none(), "x", Size{40, 20}, TextCommitKind::Unchanged, 2},
        {"measuring failed", {}, LabelMode::none(), "Hi", layout, {}, 2},
        {"measured size unusable", 1, LabelMode::none(), "Hi", Size{kNaN, 20}, {}, 2},
        {"past the stored limit", 1, LabelMode::none(), too_long, Size{40, 20}, {}, 2},
    };
    for (const CommitRow& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({text(1, "one", {0, 0}), text(2, "two", {0, 50}, LabelMode::fit())});
        const auto before = state.objects;
        TextBox box;
        box.target = row.target;
        box.label = row.label;
        box.size = 20;
        box.box_height = 30;
        const auto commit = commit_text_box(state, box, row.text, row.measured);
        EXPECT_EQ(commit.ok(), row.kind.has_value());
        EXPECT_EQ(state.objects.size(), row.objects);
        EXPECT_TRUE(check_as_stored(state).ok()) << check_as_stored(state).failure().message;
        if (!commit) {
            EXPECT_EQ(commit.failure() == layout, !row.measured.ok());
            EXPECT_EQ(state.objects, before);
            continue;
        }
        EXPECT_EQ(commit->kind, row.kind);
        const bool changed = state.objects != before;
        EXPECT_EQ(state.undo_stack.size(), changed ? 1u : 0u);
        if (commit->selected) {
            EXPECT_EQ(state.selection, std::vector<ObjectId>{*commit->selected});
        }
        undo(state);
        EXPECT_EQ(state.objects, before);
    }
}

TEST(TextBoxCommit, ABlankLabelKeepsTheBoxTheUserDrew) {
    EditorState state;
    TextBox box;
    box.label = LabelMode::wrap(120);
    box.box_height = 60;
    box.size = 20;
    ASSERT_TRUE(commit_text_box(state, box, " ", Size{0, 24}).ok());
    EXPECT_EQ(as_text(state.objects.at(0))->extent, (Size{120, 60}));
    box.label = LabelMode::fit();
    EXPECT_EQ(committed_text_extent(box, "", {5, 24}), (Size{20, 60}));
    EXPECT_EQ(committed_text_extent(box, "x", {5, 24}), (Size{5, 24}));
}

TEST(TextBoxCommit, RefusesANewTextWhenTheSceneIsFull) {
    EditorState state;
    for (ObjectId id = 1; id <= kMaxSceneObjects; ++id) state.objects.push_back(rectangle(id, {0, 0, 1, 1}));
    state.last_id = kMaxSceneObjects;
    const auto commit = commit_text_box(state, TextBox{}, "Hi", Size{40, 20});
    ASSERT_FALSE(commit.ok());
    EXPECT_EQ(commit.failure().code, E_INVALIDARG_CODE);
    EXPECT_EQ(state.objects.size(), kMaxSceneObjects);
}

TEST(TextBoxHitTest, TurnsThePointBackAboutTheFrameCentre) {
    TextBox box;
    box.at = {100, 100};
    box.rotation = std::numbers::pi / 2;  // a quarter turn clockwise
    const Point p = text_box_layout_point(box, {40, 20}, {120, 130});
    EXPECT_NEAR(p.x, 40, 1e-9);
    EXPECT_NEAR(p.y, 10, 1e-9);
    EXPECT_EQ(text_box_hit_index(4, 2, true), 6u);
}

TEST(TextBoxMouseSelection, RunsFromThePressOrWithShiftFromTheSelectionStart) {
    TextBox box;
    EXPECT_FALSE(press_in_text_box(box, 5, false, false, 0));
    EXPECT_FALSE(drag_text_selection(box, 7));
    EXPECT_EQ(press_in_text_box(box, 5, true, false, 2), (TextSelectionRange{5, 5}));
    EXPECT_EQ(drag_text_selection(box, 9), (TextSelectionRange{5, 9}));
    EXPECT_TRUE(end_text_selection(box));
    EXPECT_FALSE(end_text_selection(box));
    EXPECT_EQ(press_in_text_box(box, 5, true, true, 2), (TextSelectionRange{2, 5}));
}

}  // namespace
}  // namespace glimmerly
