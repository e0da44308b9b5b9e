#include "core/editor/handles.h"

#include "tests/core/support/editor.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kPi = std::numbers::pi;

TEST(SelectionHandles, NothingSelectedMeansNoFrameNoHandles) {
    const EditorState state = editor_with({rectangle(1, {0, 0, 100, 100})});
    EXPECT_EQ(selection_frame(state), std::nullopt);
    EXPECT_EQ(rotation_handle_position(state), std::nullopt);
    EXPECT_EQ(hit_selection_handles(state, {0, 0}).kind(), kNoHandle);
    // A selection naming only vanished objects is no selection either.
    EXPECT_EQ(selection_frame(editor_with({rectangle(1, {0, 0, 1, 1})}, {9, 8})), std::nullopt);
}

TEST(SelectionHandles, ASingleTurnedObjectKeepsItsTurnedFrameSeveralGetAnAxisAlignedOne) {
    // A 100 x 20 bar turned a quarter stands upright about (50, 10).
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 20}, kPi / 2), rectangle(2, {200, 0, 210, 10})}, {1});
    const auto frame = selection_frame(state);
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->box, (Box{0, 0, 100, 20}));
    EXPECT_EQ(frame->rotation, kPi / 2);
    // The rotation handle turns with it: 28 above the top edge, now to the right.
    expect_near(*rotation_handle_position(state), {50 + 10 + 28, 10});

    // The corner handles sit on the turned outline: the unturned top-left
    // corner (0, 0) becomes (60, -40); grabbing it anchors the opposite one.
    const HandleHit hit = hit_selection_handles(state, {60, -40});
    ASSERT_EQ(hit.kind(), static_cast<std::uint8_t>(GestureKind::Resize));
    const auto& resize = std::get<ResizeGesture>(*hit.gesture);
    expect_near(resize.handle, {60, -40});
    expect_near(resize.anchor, {40, 60});
    EXPECT_EQ(hit_selection_handles(state, {0, 0}).kind(), kNoHandle);

    state.selection = {1, 2};
    const auto both = selection_frame(state);
    ASSERT_TRUE(both);
    EXPECT_EQ(both->rotation, 0.0);
    expect_near(both->box, {40, -40, 210, 60});
}

TEST(SelectionHandles, EachCornerAnchorsTheOppositeOneAndTheRadiusIsStrict) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 50})}, {1});
    struct Row {
        const char* name;
        Point press;
        Point anchor;
    };
    const Row rows[] = {
        {"top-left", {1, 1}, {100, 50}},
        {"top-right", {99, -1}, {0, 50}},
        {"bottom-right", {101, 51}, {0, 0}},
        {"bottom-left", {-1, 49}, {100, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HandleHit hit = hit_selection_handles(state, row.press);
        ASSERT_EQ(hit.kind(), static_cast<std::uint8_t>(GestureKind::Resize));
        EXPECT_EQ(std::get<ResizeGesture>(*hit.gesture).anchor, row.anchor);
        EXPECT_EQ(std::get<ResizeGesture>(*hit.gesture).frame, (Box{0, 0, 100, 50}));
    }
    EXPECT_EQ(hit_selection_handles(state, {109, 50}).kind(), kNoHandle);  // exactly at 9: off
    state.interface_scale = 2.0;
    EXPECT_EQ(hit_selection_handles(state, {117, 50}).kind(), static_cast<std::uint8_t>(GestureKind::Resize));
}

TEST(SelectionHandles, RotationHandleComesFirstAndBlurAloneHasNone) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100}), blur(2, {200, 0, 300, 100})}, {1});
    // The handle stands at (50, -28); press it.
    const HandleHit hit = hit_selection_handles(state, {50, -30});
    ASSERT_EQ(hit.kind(), static_cast<std::uint8_t>(GestureKind::Rotate));
    EXPECT_EQ(std::get<RotateGesture>(*hit.gesture).centre, (Point{50, 50}));

    state.selection = {2};
    EXPECT_EQ(rotation_handle_position(state), std::nullopt);
    EXPECT_EQ(hit_selection_handles(state, {250, -28}).kind(), kNoHandle);
    EXPECT_EQ(hit_selection_handles(state, {200, 0}).kind(), static_cast<std::uint8_t>(GestureKind::Resize));
    // With something turnable beside the blur, the handle is back.
    state.selection = {2, 1};
    EXPECT_TRUE(rotation_handle_position(state));
}

TEST(SelectionHandles, ASingleLineOffersItsEndsBeforeTheCornersAndItsBendHandle) {
    EditorState state = editor_with({rectangle(1, {500, 500, 510, 510}), line(5, {0, 0}, {100, 100})}, {5});
    // The from point is also the frame's top-left corner: the end wins.
    HandleHit hit = hit_selection_handles(state, {0, 0});
    ASSERT_EQ(hit.kind(), static_cast<std::uint8_t>(GestureKind::ArrowEnd));
    EXPECT_EQ(std::get<ArrowEndGesture>(*hit.gesture), (ArrowEndGesture{true, 1}));
    hit = hit_selection_handles(state, {100, 100});
    EXPECT_EQ(std::get<ArrowEndGesture>(*hit.gesture), (ArrowEndGesture{false, 1}));
    hit = hit_selection_handles(state, {51, 50});
    ASSERT_EQ(hit.kind(), static_cast<std::uint8_t>(GestureKind::ArrowBend));
    EXPECT_EQ(std::get<ArrowBendGesture>(*hit.gesture).index, 1u);
    // The other corners of its frame still resize it.
    EXPECT_EQ(hit_selection_handles(state, {100, 0}).kind(), static_cast<std::uint8_t>(GestureKind::Resize));

    // An elbow line is routed, not bent: no bend handle.
    state = editor_with({rectangle(1, {500, 500, 510, 510}), elbow(5, {0, 0}, {100, 100}, {}, {})}, {5});
    EXPECT_NE(hit_selection_handles(state, {50, 50}).kind(), static_cast<std::uint8_t>(GestureKind::ArrowBend));
}

TEST(ObjectAtPoint, TheTopmostOutlineOrFilledInsideWins) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100}), rectangle(2, {50, 0, 150, 100}),
                                     with_fill(rectangle(3, {300, 0, 400, 100}), {FillRegion{{}, {1, 2, 3}}})});
    struct Row {
        const char* name;
        Point at;
        double scale;
        std::optional<ObjectId> found;
    };
    const Row rows[] = {
        {"the later of two at one spot", {100, 0}, 1.0, 2},
        {"only the earlier one there", {0, 50}, 1.0, 1},
        {"empty inside is not the object", {25, 50}, 1.0, std::nullopt},
        {"filled inside is", {350, 50}, 1.0, 3},
        {"within 7 units of an outline", {-6.9, 50}, 1.0, 1},
        {"beyond them", {-7.1, 50}, 1.0, std::nullopt},
        {"the units follow the scale", {-13.9, 50}, 2.0, 1},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.interface_scale = row.scale;
        EXPECT_EQ(object_at_point(state, row.at), row.found);
    }
}

TEST(HoverTarget, ConnectorPointsOfALabelStartCalloutsUnlessAHandleIsThere) {
    // Label bounds (92, 95) to (158, 125); connector points 12 outside the
    // middle of each side: (125, 83), (170, 110), (125, 137), (80, 110).
    EditorState state = editor_with({text(1, "note", {100, 100}, LabelMode::fit())}, {1});
    const auto points = object_handle_frame(state, 1);
    ASSERT_TRUE(points);
    expect_near((*points)[1], {170, 110});
    EXPECT_EQ(hover_target_at(state, {171, 111}), ObjectId{1});
    EXPECT_EQ(hover_target_at(state, {125, 110}), std::nullopt);  // inside is not a connector

    // At scale 2 the rotation handle (125, 39) and the top connector point
    // (125, 71) lie closer than two radii of 18; where both reach, the
    // handle wins.
    state.interface_scale = 2.0;
    EXPECT_EQ(hit_selection_handles(state, {125, 55}).kind(), static_cast<std::uint8_t>(GestureKind::Rotate));
    EXPECT_EQ(hover_target_at(state, {125, 55}), std::nullopt);
    // With another tool the handles do not count.
    state.tool = Tool::Pen;
    EXPECT_EQ(hover_target_at(state, {125, 55}), ObjectId{1});
}

}  // namespace
}  // namespace glimmerly
