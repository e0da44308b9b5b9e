#include "core/editor/text_edits.h"

#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct AddCall {
    Point at{10, 20};
    std::string text = "Note";
    Size extent{40, 30};
    double size = 24;
    LabelMode label = LabelMode::none();
    std::optional<Rgb> ink;
};

bool add(EditorState& state, const AddCall& call) {
    return add_text_object(state, call.at, call.text, call.extent, {250, 200, 20}, call.size, call.label, call.ink);
}

AddCall with(void (*change)(AddCall&)) {
    AddCall call;
    change(call);
    return call;
}

TEST(AddTextObject, RefusesWhatAStoredSceneWouldRefuseAndChangesNothing) {
    struct Row { const char* name; AddCall call; bool added; };
    const Row rows[] = {
        {"plain text", {}, true},
        {"blank plain text", with([](AddCall& c) { c.text = "   "; }), false},
        {"blank Fit label", with([](AddCall& c) { c.text = "   ", c.label = LabelMode::fit(); }), true},
        {"size 7.99", with([](AddCall& c) { c.size = 7.99; }), false},
        {"x NaN", with([](AddCall& c) { c.at.x = kNaN; }), false},
        {"negative extent", with([](AddCall& c) { c.extent.w = -1; }), false},
        {"extent -0.0", with([](AddCall& c) { c.extent.h = -0.0; }), true},
        {"infinite extent", with([](AddCall& c) { c.extent.h = std::numeric_limits<double>::infinity(); }), false},
        {"Wrap width 0", with([](AddCall& c) { c.label = LabelMode::wrap(0); }), false},
        {"text at the stored limit", with([](AddCall& c) { c.text.assign(kMaxTextBytes, 'a'); }), true},
        {"text one byte over it", with([](AddCall& c) { c.text.assign(kMaxTextBytes + 1, 'a'); }), false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({rectangle(1, {0, 0, 5, 5})});
        EXPECT_EQ(add(state, row.call), row.added);
        EXPECT_EQ(state.objects.size(), row.added ? 2u : 1u);
        // What was added is what a stored scene accepts.
        EXPECT_TRUE(check_as_stored(state).ok()) << check_as_stored(state).failure().message;
    }
}

TEST(AddTextObject, PutsItOnTopWithTheStrokeWidthAndKeepsInkOnlyForLabels) {
    EditorState state = editor_with({rectangle(4, {0, 0, 5, 5})}, {4});
    state.stroke_width = 6;
    ASSERT_TRUE(add(state, {.label = LabelMode::wrap(120), .ink = Rgb{1, 2, 3}}));
    EXPECT_EQ(state.objects.back().width, 6);
    EXPECT_EQ(as_text(state.objects.back())->ink, (Rgb{1, 2, 3}));
    EXPECT_EQ(state.selection, (std::vector<ObjectId>{4}));
    ASSERT_TRUE(add(state, {.ink = Rgb{1, 2, 3}}));
    EXPECT_EQ(as_text(state.objects.back())->ink, std::nullopt);
}

// A plain text 1 of size 20, a blank Fit label 2 and a blank Wrap label 3
// (wrap width 30), both of size 20 and 20 high, and a rectangle 4.
EditorState texts() {
    return editor_with({text(1, "Hi", {0, 0}), text(2, "", {0, 50}, LabelMode::fit(), 20, {10, 20}),
                        text(3, " ", {0, 90}, LabelMode::wrap(30), 20, {10, 20}), rectangle(4, {0, 0, 9, 9})});
}

TEST(ApplyTextEdits, ResizesAllTextsAndBlankLabelsNeverShrinkOutOfSight) {
    EditorState state = texts();
    const TextSizeEdit edits[] = {{1, 40, 100, 45}, {2, 40, 3, 4}, {3, 40, 3, 4}};
    apply_text_edits(state, edits);
    EXPECT_EQ(as_text(state.objects[0])->extent, (Size{100, 45})) << "measured extents are taken as they are";
    EXPECT_EQ(as_text(state.objects[1])->extent, (Size{40, 40})) << "at least the size wide, twice as high";
    EXPECT_EQ(as_text(state.objects[2])->extent, (Size{40, 40})) << "the larger of wrap width and size";
    for (int i = 0; i < 3; ++i) EXPECT_EQ(as_text(state.objects[i])->size, 40);
}

TEST(ApplyTextEdits, OneUnusableEntryCancelsTheWholeList) {
    struct Row { const char* name; TextSizeEdit bad; };
    const Row rows[] = {
        {"names a rectangle", {4, 30, 10, 10}},
        {"names nothing", {40, 30, 10, 10}},
        {"size below 8", {1, 7.5, 10, 10}},
        {"negative height", {1, 30, 10, -1}},
        {"width NaN", {1, 30, kNaN, 10}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = texts();
        const TextSizeEdit edits[] = {{1, 30, 60, 30}, row.bad};
        apply_text_edits(state, edits);
        EXPECT_EQ(state.objects, texts().objects);
    }
}

TEST(SetSelectedTextInk, ChangesOnlySelectedLabels) {
    EditorState state = texts();
    state.selection = {1, 2, 4};
    set_selected_text_ink(state, Rgb{7, 8, 9});
    EXPECT_EQ(as_text(state.objects[0])->ink, std::nullopt) << "a plain text";
    EXPECT_EQ(as_text(state.objects[1])->ink, (Rgb{7, 8, 9}));
    EXPECT_EQ(as_text(state.objects[2])->ink, std::nullopt) << "not selected";
}

}  // namespace
}  // namespace glimmerly
