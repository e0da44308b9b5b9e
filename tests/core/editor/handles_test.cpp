#include "core/editor/handles.h"

#include "core/document/point_math.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kPi = std::numbers::pi;
constexpr std::uint8_t kResize = static_cast<std::uint8_t>(GestureKind::Resize);
constexpr std::uint8_t kRotate = static_cast<std::uint8_t>(GestureKind::Rotate);

TEST(SelectionHandles, NothingSelectedMeansNoFrameNoHandles) {
    // A selection naming only vanished objects is no selection either.
    const EditorState state = editor_with({rectangle(1, {0, 0, 100, 100})}, {9, 8});
    EXPECT_EQ(selection_frame(state), std::nullopt);
    EXPECT_EQ(rotation_handle_position(state), std::nullopt);
    EXPECT_EQ(hit_selection_handles(state, {0, 0}).kind(), kNoHandle);
}

TEST(SelectionHandles, ASingleTurnedObjectKeepsItsTurnedFrameSeveralGetAnAxisAlignedOne) {
    // A 100 x 20 bar turned a quarter stands upright about (50, 10).
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 20}, kPi / 2), rectangle(2, {200, 0, 210, 10})}, {1});
    EXPECT_EQ(selection_frame(state), (SelectionFrame{{0, 0, 100, 20}, kPi / 2}));
    // The rotation handle turns with it: above the top edge, now to the right.
    const Point handle = *rotation_handle_position(state);
    EXPECT_NEAR(handle.y, 10, 1e-9);
    EXPECT_GT(handle.x, 60);

    // The corner handles sit on the turned outline: the unturned top-left
    // corner (0, 0) becomes (60, -40); grabbing it anchors the opposite one.
    const HandleHit hit = hit_selection_handles(state, {60, -40});
    ASSERT_EQ(hit.kind(), kResize);
    expect_near(std::get<ResizeGesture>(*hit.gesture).anchor, {40, 60});
    EXPECT_EQ(hit_selection_handles(state, {0, 0}).kind(), kNoHandle);

    state.selection = {1, 2};
    const auto both = selection_frame(state);
    EXPECT_EQ(both->rotation, 0.0);
    expect_near(both->box, {40, -40, 210, 60});
}

TEST(SelectionHandles, EachCornerAnchorsTheOppositeOneWithinARadiusThatFollowsTheScale) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 50})}, {1});
    struct Row { const char* name; Point press, anchor; };
    const Row rows[] = {
        {"top-left", {1, 1}, {100, 50}},
        {"top-right", {99, -1}, {0, 50}},
        {"bottom-right", {101, 51}, {0, 0}},
        {"bottom-left", {-1, 49}, {100, 0}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const HandleHit hit = hit_selection_handles(state, row.press);
        ASSERT_EQ(hit.kind(), kResize);
        EXPECT_EQ(std::get<ResizeGesture>(*hit.gesture).anchor, row.anchor);
        EXPECT_EQ(std::get<ResizeGesture>(*hit.gesture).frame, (Box{0, 0, 100, 50}));
    }
    EXPECT_EQ(hit_selection_handles(state, {100 + kHandleRadius, 50}).kind(), kNoHandle) << "exactly at the radius";
    EXPECT_EQ(hit_selection_handles(state, {114, 50}).kind(), kNoHandle);
    state.interface_scale = 2.0;
    EXPECT_EQ(hit_selection_handles(state, {114, 50}).kind(), kResize);
}

TEST(SelectionHandles, RotationHandleComesFirstAndBlurAloneHasNone) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100}), blur(2, {200, 0, 300, 100})}, {1});
    const Point handle = *rotation_handle_position(state);
    const HandleHit hit = hit_selection_handles(state, handle);
    ASSERT_EQ(hit.kind(), kRotate);
    EXPECT_EQ(std::get<RotateGesture>(*hit.gesture).centre, (Point{50, 50}));

    state.selection = {2};
    EXPECT_EQ(rotation_handle_position(state), std::nullopt);
    EXPECT_EQ(hit_selection_handles(state, handle + Point{200, 0}).kind(), kNoHandle);
    EXPECT_EQ(hit_selection_handles(state, {200, 0}).kind(), kResize);
    state.selection = {2, 1};
    EXPECT_TRUE(rotation_handle_position(state)) << "with something turnable beside the blur";
}

TEST(SelectionHandles, ASingleLineOffersItsEndsBeforeTheCornersAndItsBendHandle) {
    EditorState state = editor_with({rectangle(1, {500, 500, 510, 510}), line(5, {0, 0}, {100, 100})}, {5});
    // The from point is also the frame's top-left corner: the end wins.
    EXPECT_EQ(hit_selection_handles(state, {0, 0}).gesture, (GesturePayload{ArrowEndGesture{true, 1}}));
    EXPECT_EQ(hit_selection_handles(state, {100, 100}).gesture, (GesturePayload{ArrowEndGesture{false, 1}}));
    EXPECT_EQ(hit_selection_handles(state, {51, 50}).gesture, (GesturePayload{ArrowBendGesture{1}}));
    EXPECT_EQ(hit_selection_handles(state, {100, 0}).kind(), kResize) << "the other corners still resize";

    // An elbow line is routed, not bent: no bend handle.
    state = editor_with({rectangle(1, {500, 500, 510, 510}), elbow(5, {0, 0}, {100, 100}, {}, {})}, {5});
    EXPECT_NE(hit_selection_handles(state, {50, 50}).kind(), static_cast<std::uint8_t>(GestureKind::ArrowBend));
}

TEST(ObjectAtPoint, TheTopmostOutlineOrFilledInsideWins) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100}), rectangle(2, {50, 0, 150, 100}),
                                     with_fill(rectangle(3, {300, 0, 400, 100}), {FillRegion{{}, {1, 2, 3}}})});
    struct Row { const char* name; Point at; double scale; std::optional<ObjectId> found; };
    const Row rows[] = {
        {"the later of two at one spot", {100, 0}, 1.0, 2},
        {"only the earlier one there", {0, 50}, 1.0, 1},
        {"empty inside is not the object", {25, 50}, 1.0, std::nullopt},
        {"filled inside is", {350, 50}, 1.0, 3},
        {"too far off an outline", {-10, 50}, 1.0, std::nullopt},
        {"as far at twice the scale", {-10, 50}, 2.0, 1},
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
    expect_near((*object_handle_frame(state, 1))[1], {170, 110});
    EXPECT_EQ(hover_target_at(state, {171, 111}), ObjectId{1});
    EXPECT_EQ(hover_target_at(state, {125, 110}), std::nullopt) << "inside is not a connector";

    // At scale 2 the rotation handle (125, 39) and the top connector point
    // (125, 71) lie closer than two radii of 18; where both reach, the
    // handle wins, unless another tool leaves the handles out.
    state.interface_scale = 2.0;
    EXPECT_EQ(hit_selection_handles(state, {125, 55}).kind(), kRotate);
    EXPECT_EQ(hover_target_at(state, {125, 55}), std::nullopt);
    state.tool = Tool::Pen;
    EXPECT_EQ(hover_target_at(state, {125, 55}), ObjectId{1});
}

}  // namespace
}  // namespace glimmerly
