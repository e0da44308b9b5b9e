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

TEST(TextBoxLabelDrag, FitsWithinTheSlopAndWrapsTheDraggedBoxBeyondIt) {
    const struct { const char* name; Point pointer; double scale; LabelDragShape shape; } rows[] = {
        {"5 px at scale 1 still fits", {105, 95}, 1, {{104, 102.5}, LabelMode::fit(), 0}},
        {"5 px at half scale wraps no narrower than the size", {105, 95}, 0.5, {{104, 97.5}, LabelMode::wrap(10), 0}},
        {"down-right box", {300, 200}, 1, {{104, 102.5}, LabelMode::wrap(192), 95}},
        {"up-left drag starts at the pointer", {0, 40}, 1, {{4, 42.5}, LabelMode::wrap(92), 55}},
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
    const TextBox label = open_text_box_at(state, {300, 200}, Tool::Label).box;
    EXPECT_EQ(label.label_drag, (Point{300, 200}));
    EXPECT_EQ(text_box_edit_placement(state, label), (EditPlacement{310, 206, 90, 94}));  // fits at size 24
    EXPECT_EQ(open_text_box_at(state, {300, 200}, Tool::Text).box.label, LabelMode::none());
}

TEST(TextBoxKeys, CtrlEnterAndEscCommitWhilePlainEnterBreaksTheLine) {
    EditorState state;
    EXPECT_EQ(text_box_key(state, true, kVkReturn, true), TextBoxKey::Commit);
    EXPECT_EQ(text_box_key(state, true, kVkEscape, false), TextBoxKey::Commit);
    EXPECT_EQ(text_box_key(state, true, kVkReturn, false), TextBoxKey::PassOn);
    state.eyedropper_armed = true;  // Esc then disarms the eyedropper instead
    EXPECT_EQ(text_box_key(state, true, kVkEscape, false), TextBoxKey::PassOn);
}

TEST(TextBoxStoredText, ReplacesLoneSurrogatesDropsControlsAndKeepsRightToLeftText) {
    EXPECT_EQ(text_box_stored_text(u"a\xD83D" "b\xDE00"), "a\uFFFD" "b\uFFFD");
    EXPECT_EQ(text_box_stored_text(u"\xD83D\xDE00"), "\U0001F600");
    EXPECT_EQ(text_box_stored_text(u"a\x01\x1E\x1F\x7F\x85" "b"), "ab");
    EXPECT_EQ(text_box_stored_text(u"a\tb\r\nc"), "a\tb\r\nc");
    EXPECT_EQ(text_box_stored_text(u"\u05E9\u05DC \u202Eab\u202C"), "\u05E9\u05DC \u202Eab\u202C");
}

TEST(TextBoxInsertion, GoesInWholeOnlyWhileTheTextStaysWithinWhatACaptureStores) {
    const std::u16string full(kTextBoxUnitLimit - 2, u'a');
    const std::u16string cjk(kMaxTextBytes / 3, u'\u6F22');  // three bytes each as stored
    const struct {
        const char* name;
        const std::u16string& text;
        std::uint32_t start, end;
        std::u16string inserted;
        bool accepted;
    } rows[] = {
        {"up to the limit", full, 0, 0, u"bc", true},
        {"one past it", full, 0, 0, u"bcd", false},
        {"replacing a selection makes room", full, 5, 2, u"bcdef", true},
        {"within the units, past the stored bytes", cjk, 0, 0, u"\u6F22", false},
        {"controls are not stored", cjk, 0, 0, u"\x01", true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const Status accepted = text_box_accepts_insertion(row.text, row.start, row.end, row.inserted);
        EXPECT_EQ(accepted.ok(), row.accepted);
        if (!accepted) {
            EXPECT_EQ(accepted.failure().code, E_INVALIDARG_CODE);
        }
    }
}

TEST(TextBoxCommit, AddsUpdatesOrDropsAsOneStepAndRefusesWithoutLosingTheEntry) {
    using K = TextCommitKind;
    const Failure layout = plain_failure("layout failed");
    const auto none = LabelMode::none();
    const struct {
        const char* name;
        std::optional<ObjectId> target;
        LabelMode label;
        std::string text;
        Result<Size> measured;
        std::optional<K> kind;  // none: refused, the entry stays open
        std::size_t objects;    // afterwards, of the two-text scene
    } rows[] = {
        {"new mixed-direction text", {}, none, "Hi \u05E9\u05DC", Size{40, 20}, K::Added, 3},
        {"blank plain text", {}, none, " \u3000\u00A0\n", Size{0, 20}, K::Dropped, 2},
        {"zero-width space is not blank", {}, none, "\u200B", Size{0, 20}, K::Added, 3},
        {"blank label", {}, LabelMode::fit(), "  ", Size{3, 20}, K::Added, 3},
        {"edited text", 1, none, "new", Size{40, 20}, K::Updated, 2},
        {"edited text left blank", 1, none, "  ", Size{0, 20}, K::Removed, 1},
        {"edited label left blank", 2, LabelMode::fit(), "", Size{0, 20}, K::Updated, 2},
        {"edited object gone", 9, none, "x", Size{40, 20}, K::Unchanged, 2},
        {"measuring failed", {}, none, "Hi", layout, {}, 2},
        {"measured size unusable", 1, none, "Hi", Size{kNaN, 20}, {}, 2},
        {"past the stored limit", 1, none, std::string(kMaxTextBytes + 1, 'a'), Size{40, 20}, {}, 2},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({text(1, "one", {0, 0}), text(2, "two", {0, 50}, LabelMode::fit())});
        const auto before = state.objects;
        TextBox box;
        box.target = row.target;
        box.label = row.label;
        const auto commit = commit_text_box(state, box, row.text, row.measured);
        ASSERT_EQ(commit.ok(), row.kind.has_value());
        EXPECT_EQ(state.objects.size(), row.objects);
        EXPECT_TRUE(check_as_stored(state).ok()) << check_as_stored(state).failure().message;
        if (!commit) {
            EXPECT_EQ(commit.failure() == layout, !row.measured.ok());
            EXPECT_EQ(state.objects, before);
            continue;
        }
        EXPECT_EQ(commit->kind, row.kind);
        EXPECT_EQ(state.undo_stack.size(), state.objects != before ? 1u : 0u);
        if (commit->selected) {
            EXPECT_EQ(state.selection, std::vector<ObjectId>{*commit->selected});
        }
        undo(state);
        EXPECT_EQ(state.objects, before);
    }
}

TEST(TextBoxCommit, ABlankLabelKeepsTheBoxTheUserDrewAndAFullSceneRefusesNewText) {
    TextBox box;
    box.label = LabelMode::wrap(120);
    box.box_height = 60;
    box.size = 20;
    EXPECT_EQ(committed_text_extent(box, " ", {0, 24}), (Size{120, 60}));

    EditorState state;
    state.objects.edit().resize(kMaxSceneObjects);
    const auto commit = commit_text_box(state, TextBox{}, "Hi", Size{40, 20});
    ASSERT_FALSE(commit.ok());
    EXPECT_EQ(commit.failure().code, E_INVALIDARG_CODE);
    EXPECT_EQ(state.objects.size(), kMaxSceneObjects);
}

TEST(TextBoxPointer, HitsInTheTurnedLayoutAndSelectsFromThePressOrTheSelectionStart) {
    TextBox box;
    box.at = {100, 100};
    box.rotation = std::numbers::pi / 2;  // a quarter turn clockwise
    const Point p = text_box_layout_point(box, {40, 20}, {120, 130});
    EXPECT_NEAR(p.x, 40, 1e-9);
    EXPECT_NEAR(p.y, 10, 1e-9);
    EXPECT_EQ(press_in_text_box(box, 5, true, true, 2), (TextSelectionRange{2, 5}));
    EXPECT_EQ(drag_text_selection(box, 9), (TextSelectionRange{2, 9}));
}

}  // namespace
}  // namespace glimmerly
