#include "core/editor/gestures.h"

#include "core/document/geometry.h"
#include "core/document/point_math.h"
#include "core/editor/handles.h"
#include "core/editor/hit_test.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/editor_builders.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kPi = std::numbers::pi;
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr PointerModifiers kNone{};
constexpr PointerModifiers kShift{.shift = true};
constexpr PointerModifiers kAlt{.alt = true};
constexpr PointerModifiers kCtrl{.ctrl = true};
constexpr PointerModifiers kShiftAlt{.shift = true, .alt = true};

const LinePayload& line_of(const SceneObject& o) { return *as_line(o); }
const StrokePayload& stroke_of(const SceneObject& o) { return *as_stroke(o); }

TEST(DrawGesture, BoxesFollowShiftAndAltInTheCurrentColourAndClearTheSelection) {
    struct Row { const char* name; Tool tool; Point from, to; PointerModifiers keys; Box drawn; };
    const Row rows[] = {
        {"rectangle", Tool::Rectangle, {0, 0}, {10, -4}, kNone, {0, -4, 10, 0}},
        {"rectangle squared by Shift", Tool::Rectangle, {0, 0}, {10, -4}, kShift, {0, -10, 10, 0}},
        {"rectangle from the centre with Alt", Tool::Rectangle, {0, 0}, {10, -4}, kShiftAlt, {-10, -10, 10, 10}},
        {"blur squares the same way", Tool::Blur, {0, 0}, {-3, 8}, kShift, {-8, 0, 0, 8}},
        {"ellipse is a circle about the press", Tool::Ellipse, {100, 100}, {103, 104}, kNone, {95, 95, 105, 105}},
        {"ellipse with Alt spans the drag", Tool::Ellipse, {100, 100}, {103, 104}, kAlt, {97, 96, 103, 104}},
        {"Shift leaves an ellipse alone", Tool::Ellipse, {100, 100}, {103, 104}, kShift, {95, 95, 105, 105}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with({rectangle(1, {500, 500, 600, 600})}, {1}, row.tool);
        User{state}.drag(row.from, row.to, row.keys);
        ASSERT_EQ(state.objects.size(), 2u);
        EXPECT_EQ(rect_of(state.objects[1]), row.drawn);
        EXPECT_EQ(state.objects[1].color, state.color);
        EXPECT_TRUE(state.selection.empty());
    }
}

TEST(DrawGesture, ShiftSnapsLinesToFortyFiveDegreesCtrlOrAltFastensTheirEnds) {
    const std::optional<ObjectAttachment> loose, on_box{{1, {0, 10}}}, on_ellipse{{2, {0, 10}}};
    const double diagonal = std::hypot(10, 9) / std::sqrt(2.0);
    struct Row {
        const char* name;
        Point to;
        PointerModifiers keys;
        Point drawn;
        std::optional<ObjectAttachment> start, end;
    };
    const Row rows[] = {
        {"plain", {250, 60}, kNone, {250, 60}, loose, loose},
        {"Ctrl fastens", {250, 60}, kCtrl, {250, 60}, on_box, on_ellipse},
        {"Alt fastens", {250, 60}, kAlt, {250, 60}, on_box, on_ellipse},
        {"Shift lets go", {250, 60}, kShiftAlt, {250, 60}, loose, loose},
        {"21.8 degrees rounds to level", {60, 64}, kShift, {50 + std::hypot(10, 4), 60}, loose, loose},
        {"42 degrees rounds to 45", {60, 69}, kShift, {50 + diagonal, 60 + diagonal}, loose, loose},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state =
            editor_with({rectangle(1, {0, 0, 100, 100}), ellipse(2, {200, 0, 300, 100})}, {}, Tool::Line);
        User{state}.drag({50, 60}, row.to, row.keys);
        ASSERT_EQ(state.objects.size(), 3u);
        const LinePayload& drawn = line_of(state.objects[2]);
        expect_near(drawn.to, row.drawn);
        EXPECT_EQ(drawn.start, row.start);
        EXPECT_EQ(drawn.end, row.end);
        EXPECT_FALSE(drawn.head);
        EXPECT_EQ(state.last_drawn_arrow, 3u);
    }
}

TEST(DrawGesture, PenAddsPointsAtLeastOnePixelApartAndShiftDrawsStraight) {
    EditorState state = editor_with({}, {}, Tool::Pen);
    state.stroke_width = 5.0;
    User user{state};
    user.press({0, 0});
    user.move({0.5, 0});  // too close: nothing
    user.move({2, 0});
    user.move({2.9, 0});  // too close to (2, 0)
    user.move({4, 1});
    EXPECT_EQ(stroke_of(state.objects[0]).points, (std::vector<Point>{{0, 0}, {2, 0}, {4, 1}}));
    EXPECT_EQ(stroke_of(state.objects[0]).widths, (std::vector<double>{5, 5}));  // one fewer than the points

    user.move({30, 2}, kShift);
    const StrokePayload& straight = stroke_of(state.objects[0]);
    ASSERT_EQ(straight.points.size(), 2u);
    EXPECT_EQ(straight.points[0], (Point{0, 0}));
    EXPECT_NEAR(straight.points[1].y, 0.0, 1e-9);
    EXPECT_TRUE(straight.widths.empty());
    user.release();
    EXPECT_FALSE(stroke_of(state.objects[0]).highlight);
}

TEST(DrawGesture, StrokesStopGrowingAtTheLimitAStoredSceneHolds) {
    // A stroke already holding all but five of the scene's stroke values.
    const SceneObject full = with_widths(stroke(1, std::vector<Point>(kMaxStrokeValues / 2, {-50, -50})),
                                         std::vector<double>(kMaxStrokeValues / 2 - 5, 1.0));
    EditorState state = editor_with({full}, {}, Tool::Pen);
    User user{state};
    user.press({0, 0});  // one value
    for (int i = 1; i <= 5; ++i) user.move({i * 10.0, 0});  // two each, while they fit
    user.release();

    ASSERT_EQ(state.objects.size(), 2u);
    EXPECT_EQ(stroke_of(state.objects[1]).points.size(), 3u);
    EXPECT_TRUE(check_as_stored(state).ok()) << check_as_stored(state).failure().message;
}

TEST(SelectGesture, APressPicksTogglesOrClears) {
    const std::vector<SceneObject> objects{rectangle(1, {0, 0, 100, 100}), rectangle(2, {200, 0, 300, 100}),
                                           rectangle(3, {400, 0, 500, 100})};
    struct Row {
        const char* name;
        std::vector<ObjectId> before;
        Point press;
        PointerModifiers keys;
        std::vector<ObjectId> after;
    };
    const Row rows[] = {
        {"a press selects the object alone", {1, 3}, {200, 50}, kNone, {2}},
        {"on a selected object keeps the selection", {1, 2}, {200, 50}, kNone, {1, 2}},
        {"Shift adds", {1}, {200, 50}, kShift, {1, 2}},
        {"Ctrl on a selected one takes it out", {1, 2}, {200, 50}, kCtrl, {1}},
        {"empty canvas clears", {1, 2}, {150, 300}, kNone, {}},
        {"empty canvas with Shift keeps", {1, 2}, {150, 300}, kShift, {1, 2}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_with(objects, row.before);
        User{state}.press(row.press, row.keys);
        EXPECT_EQ(state.selection, row.after);
    }
}

TEST(SelectGesture, ShiftClickOnASelectedObjectStillMovesTheRest) {
    EditorState state =
        editor_with({rectangle(1, {0, 0, 100, 100}), rectangle(2, {200, 0, 300, 100})}, {1, 2});
    User{state}.drag({200, 50}, {210, 70}, kShift);
    EXPECT_EQ(state.selection, std::vector<ObjectId>{1});
    EXPECT_EQ(rect_of(state.objects[0]), (Box{10, 20, 110, 120}));
    EXPECT_EQ(rect_of(state.objects[1]), (Box{200, 0, 300, 100}));
}

TEST(SelectGesture, MarqueeReplacesTheSelectionOrAddsWithShift) {
    EditorState state = editor_with({rectangle(1, {0, 0, 10, 10}), rectangle(2, {20, 0, 30, 10}),
                                              rectangle(3, {100, 100, 110, 110})}, {3});
    User user{state};
    user.press({-5, -5});
    user.move({15, 15});
    EXPECT_EQ(marquee_rect(state), (Box{-5, -5, 15, 15}));
    user.release();
    EXPECT_EQ(state.selection, std::vector<ObjectId>{1});

    state.selection = {3};
    user.drag({35, 20}, {15, -1}, kShift);
    EXPECT_EQ(state.selection, (std::vector<ObjectId>{3, 2}));
}

TEST(MoveGesture, EachMoveStartsAgainFromThePress) {
    EditorState state = editor_with({rectangle(1, {100, 100, 200, 200})}, {1});
    User user{state};
    user.press({100, 150});
    user.move({130, 150});
    user.move({150, 170});
    user.release();
    EXPECT_EQ(rect_of(state.objects[0]), (Box{150, 120, 250, 220}));
}

TEST(ResizeGesture, AdjacentRectanglesStayAdjacentWhenTheirFrameDoubles) {
    EditorState state = editor_with({rectangle(1, {0, 0, 50, 50}), rectangle(2, {50, 0, 100, 50})}, {1, 2});
    User{state}.drag({100, 50}, {200, 100});
    EXPECT_EQ(rect_of(state.objects[0]), (Box{0, 0, 100, 100}));
    EXPECT_EQ(rect_of(state.objects[1]), (Box{100, 0, 200, 100}));
}

TEST(ResizeGesture, ATurnedSelectionScalesEvenlyAndNoSmallerThanOnePercent) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100}, kPi / 4)}, {1});
    const auto frame = selection_frame(state);
    const auto corners = rotated_rect_corners(frame->box, frame->rotation);
    // Drag the bottom-right corner through and past the anchor.
    User{state}.drag(corners[2], corners[0] + (corners[0] - corners[2]));
    const Box after = rect_of(state.objects[0]);
    EXPECT_NEAR(after.right - after.left, 1.0, 1e-9);
    EXPECT_NEAR(after.bottom - after.top, 1.0, 1e-9);
    EXPECT_EQ(state.objects[0].rotation, kPi / 4);
}

TEST(RotateGesture, TurnsAboutTheFrameCentreAndKeepsAnglesInOneTurn) {
    EditorState state = editor_with(
        {rectangle(1, {0, 0, 100, 40}), blur(2, {200, 0, 300, 40}), stroke(3, {{0, 100}, {100, 100}})}, {1, 2, 3});
    // The frame is (0, 0) to (300, 100), centre (150, 50).
    begin_rotate_selection(state, {150, -50});
    User{state}.move({50, 50});  // a quarter turn anticlockwise
    User{state}.release();
    EXPECT_NEAR(state.objects[0].rotation, 1.5 * kPi, 1e-9);
    expect_near(rect_of(state.objects[0]), {70, 130, 170, 170});
    EXPECT_EQ(state.objects[1].rotation, 0.0) << "a blur object only moves";
    expect_near(rect_of(state.objects[1]), {70, -70, 170, -30});
    expect_near(stroke_of(state.objects[2]).points[0], {200, 200});

    SceneObject back = rectangle(4, {0, 0, 10, 10});
    rotate_object(back, {5, 5}, -0.5);
    EXPECT_NEAR(back.rotation, 2 * kPi - 0.5, 1e-9);
}

TEST(LineGestures, EndsAreDraggedAndFastenedAndTheBendSnapsStraight) {
    EditorState state = editor_with({rectangle(1, {300, 0, 400, 100}), line(2, {0, 50}, {100, 50})}, {2});
    User user{state};
    user.drag({100, 50}, {350, 40}, kCtrl);
    EXPECT_EQ(line_of(state.objects[1]).end, (ObjectAttachment{1, {0, -10}}));
    EXPECT_EQ(line_of(state.objects[1]).to, (Point{350, 40}));

    // The line now runs from (0, 50) to the middle of the box's top side,
    // the way its end was fastened; its bend handle sits halfway.
    const auto handle = selected_arrow_ends(state);
    ASSERT_TRUE(handle);
    user.drag(handle->bend_handle, handle->bend_handle + Point{0, 30});
    const auto bent = selected_arrow_ends(state);
    EXPECT_NEAR(bent->bend_handle.y, handle->bend_handle.y + 30, 1e-9);
    user.drag(bent->bend_handle, handle->bend_handle + Point{0, 7});
    EXPECT_EQ(line_of(state.objects[1]).bend, (Point{0, 0}));
}

TEST(LineGestures, TheLineDrawnLastKeepsItsBendHandleForTheLineTools) {
    EditorState state = editor_with({}, {}, Tool::Arrow);
    User user{state};
    user.drag({0, 0}, {100, 0});
    ASSERT_EQ(state.last_drawn_arrow, 1u);
    user.drag({50, 2}, {50, 40});  // on the handle: bends, draws nothing new
    ASSERT_EQ(state.objects.size(), 1u);
    EXPECT_NEAR(line_of(state.objects[0]).bend.y, 0.4, 1e-9);
    EXPECT_EQ(state.last_drawn_arrow, 1u);
    user.drag({0, 300}, {100, 300});  // elsewhere: a new arrow
    EXPECT_EQ(state.objects.size(), 2u);
    EXPECT_EQ(state.last_drawn_arrow, 2u);
}

TEST(LineGestures, ALabelsConnectorPointStartsAnElbowCalloutThatSnapsToOutlines) {
    EditorState state =
        editor_with({rectangle(1, {300, 0, 400, 100}), text(2, "note", {100, 100}, LabelMode::fit())}, {2});
    // Label bounds (92, 95) to (158, 125): the right connector is at (170, 110).
    User user{state};
    user.press({170, 110});
    user.move({305, 50});  // near the rectangle's left side
    ASSERT_EQ(state.objects.size(), 3u);
    const LinePayload& callout = line_of(state.objects[2]);
    EXPECT_TRUE(callout.elbow && callout.head);
    EXPECT_EQ(callout.start, (ObjectAttachment{2, {1, 0}}));
    ASSERT_TRUE(callout.end);
    EXPECT_EQ(callout.end->id, 1u);
    EXPECT_EQ(state.objects[2].color, state.objects[1].color);
    user.move({305, 50}, kAlt);
    EXPECT_FALSE(line_of(state.objects[2]).end);
    user.release();
    EXPECT_TRUE(state.selection.empty());
}

TEST(EraseGesture, CutsStrokesAtOnceAndRemovesWhatItTouchedAtTheRelease) {
    EditorState state =
        editor_with({rectangle(1, {100, 0, 200, 100}), stroke(2, {{300, 0}, {300, 100}})}, {1}, Tool::Eraser);
    User user{state};
    user.press({100, 50});  // a click on the rectangle's edge lists it
    EXPECT_EQ(std::get<EraseGesture>(state.gesture.payload).erased, std::vector<ObjectId>{1});
    user.move({250, 50});
    user.move({350, 50});  // across the stroke
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{1, 2, 3}));
    user.release();
    EXPECT_EQ(ids_of(state.objects), (std::vector<ObjectId>{2, 3}));
    EXPECT_TRUE(state.selection.empty());
}

TEST(Gestures, APressDuringAGesturePutsItsObjectsBackFirst) {
    EditorState state = editor_with({}, {}, Tool::Rectangle);
    User user{state};
    user.press({0, 0});
    user.move({50, 50});
    user.press({100, 100});  // the release was lost
    user.move({120, 130});
    user.release();
    ASSERT_EQ(state.objects.size(), 1u);
    EXPECT_EQ(rect_of(state.objects[0]), (Box{100, 100, 120, 130}));
    EXPECT_EQ(state.undo_stack.size(), 1u);
}

TEST(Gestures, NonFinitePositionsAreIgnored) {
    EditorState state = editor_with({}, {}, Tool::Rectangle);
    User user{state};
    user.press({kNaN, 0});
    EXPECT_FALSE(state.saved_objects);
    user.press({0, 0});
    user.move({40, 40});
    user.move({kNaN, 5});
    EXPECT_EQ(state.gesture.current, (Point{40, 40}));
    user.release();
    EXPECT_EQ(rect_of(state.objects[0]), (Box{0, 0, 40, 40}));
}

}  // namespace
}  // namespace glimmerly
