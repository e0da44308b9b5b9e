#include "core/editor/fill.h"

#include "core/editor/history.h"
#include "core/editor/hit_test.h"
#include "core/editor/selection_edits.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr Rgb kBlue{0, 0, 255};
constexpr Rgb kGreen{0, 255, 0};

// The fill colour is blue.
EditorState state_with(std::vector<SceneObject> objects) {
    EditorState state = editor_with(std::move(objects));
    state.color = kBlue;
    return state;
}

// Rectangle 1 at (0, 0, 100, 100) overlapped by rectangle 2 at (50, 50, 150, 150).
EditorState two_overlapping_rectangles() {
    return state_with({rectangle(1, {0, 0, 100, 100}), rectangle(2, {50, 50, 150, 150})});
}

// Whether the object's (or with none, the background's) fills colour the point.
bool filled(const EditorState& state, std::optional<std::size_t> owner, Point p) {
    if (owner)
        return hit_object_interior(state.objects[*owner], p) &&
               fill_region_at(state.objects[*owner].fill, p, state.objects, *owner + 1).has_value();
    return fill_region_at(state.background, p, state.objects, 0).has_value();
}

TEST(FillTool, FillsAnAreaBoundedByTwoOverlappingRectangles) {
    EditorState state = two_overlapping_rectangles();

    // Inside the lower rectangle only: its region is cut by the upper one.
    EXPECT_EQ(fill_target_at(state, {25, 25}, false), (FillTarget{NewObjectRegion{0, {2}, kBlue}}));
    apply_fill_at(state, {25, 25}, false);
    EXPECT_TRUE(filled(state, 0, {25, 25}));
    EXPECT_TRUE(filled(state, 0, {90, 20}));
    EXPECT_FALSE(filled(state, 0, {75, 75})) << "the overlap belongs to the upper rectangle";

    // Outside both: the background, cut by both.
    EXPECT_EQ(fill_target_at(state, {200, 10}, false), (FillTarget{NewBackgroundRegion{{1, 2}, kBlue}}));
    apply_fill_at(state, {200, 10}, false);
    EXPECT_TRUE(filled(state, std::nullopt, {200, 10}));
    EXPECT_TRUE(filled(state, std::nullopt, {120, 20}));
    EXPECT_FALSE(filled(state, std::nullopt, {25, 25}));
    EXPECT_FALSE(filled(state, std::nullopt, {125, 125}));

    // The overlap: the upper rectangle owns it, with nothing above to cut.
    EXPECT_EQ(fill_target_at(state, {75, 75}, false), (FillTarget{NewObjectRegion{1, {}, kBlue}}));
}

TEST(FillTool, FillAndClearAreUndoStepsThatRestoreExactly) {
    EditorState state = two_overlapping_rectangles();
    const auto objects = state.objects;

    apply_fill_at(state, {25, 25}, false);   // object region
    apply_fill_at(state, {200, 10}, false);  // background region
    const auto filled_objects = state.objects;
    const auto filled_background = state.background;
    apply_fill_at(state, {200, 10}, true);  // clear the background region
    apply_fill_at(state, {25, 25}, true);   // clear the object region
    ASSERT_EQ(state.undo_stack.size(), 4u);
    EXPECT_EQ(state.objects, objects);
    EXPECT_TRUE(state.background.empty());

    undo(state);
    undo(state);
    EXPECT_EQ(state.objects, filled_objects);
    EXPECT_EQ(state.background, filled_background);
    undo(state);
    EXPECT_TRUE(state.background.empty());
    EXPECT_EQ(state.objects, filled_objects) << "a background step leaves the objects alone";
    undo(state);
    EXPECT_EQ(state.objects, objects);
    redo(state);
    redo(state);
    EXPECT_EQ(state.objects, filled_objects);
    EXPECT_EQ(state.background, filled_background);
}

TEST(FillTool, TheSameColourAgainTakesTheRegionAwayAndAnotherAddsOneOnTop) {
    EditorState state = two_overlapping_rectangles();
    apply_fill_at(state, {25, 25}, false);
    EXPECT_EQ(fill_target_at(state, {25, 25}, false), (FillTarget{ExistingRegion{0, 0}}));

    state.color = kGreen;
    apply_fill_at(state, {25, 25}, false);
    ASSERT_EQ(state.objects[0].fill.size(), 1u) << "a region with the same ids is replaced";
    EXPECT_EQ(state.objects[0].fill[0].color, kGreen);

    apply_fill_at(state, {25, 25}, false);
    EXPECT_TRUE(state.objects[0].fill.empty());
    EXPECT_EQ(state.undo_stack.size(), 3u);
}

TEST(FillTool, AClickOnAnEmptyCaptureColoursTheWholeBackground) {
    EditorState state = state_with({});
    apply_fill_at(state, {5, 5}, false);
    EXPECT_EQ(state.background, (std::vector<FillRegion>{{{}, kBlue}}));
    EXPECT_TRUE(filled(state, std::nullopt, {-1e6, 1e6}));
}

TEST(FillTool, AThickOutlineIsHitAcrossItsWholeDrawnWidth) {
    // Width 10 at tolerance 3: the outline reaches 8 either side of its line.
    EditorState state = state_with({with_width(rectangle(1, {0, 0, 100, 100}), 10)});
    struct Row {
        const char* name;
        Point p;
        std::optional<FillTarget> expected;
    };
    const Row rows[] = {
        {"7.9 outside", {50, -7.9}, Outline{0, kBlue}},
        {"8.1 outside", {50, -8.1}, NewBackgroundRegion{{1}, kBlue}},
        {"7.9 inside", {50, 7.9}, Outline{0, kBlue}},
        {"8.1 inside", {50, 8.1}, NewObjectRegion{0, {}, kBlue}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(fill_target_at(state, row.p, false), row.expected);
    }
    state.interface_scale = 2;
    EXPECT_EQ(fill_target_at(state, {50, -10.9}, false), (FillTarget{Outline{0, kBlue}}));
}

TEST(FillTool, LooksThroughBlurAndNeverRecoloursIt) {
    EditorState state = state_with({rectangle(1, {0, 0, 100, 100}), blur(2, {20, 20, 60, 60})});
    // On the blur's edge, inside the rectangle: the rectangle's inside.
    EXPECT_EQ(fill_target_at(state, {20, 40}, false), (FillTarget{NewObjectRegion{0, {}, kBlue}}));
    apply_fill_at(state, {20, 40}, false);
    EXPECT_EQ(state.objects[1], blur(2, {20, 20, 60, 60}));
}

TEST(FillTool, AFilledShapeHidesTheOutlinesBelowIt) {
    // The small rectangle's outline lies under the big one's filled inside.
    EditorState state = state_with({rectangle(1, {40, 40, 60, 60}), rectangle(2, {0, 0, 100, 100})});
    EXPECT_EQ(fill_target_at(state, {40, 50}, false), (FillTarget{Outline{0, kBlue}}));
    state.objects[1].fill = {FillRegion{{}, kGreen}};
    EXPECT_EQ(fill_target_at(state, {40, 50}, false), (FillTarget{NewObjectRegion{1, {}, kBlue}}));
}

TEST(FillTool, AnEllipseAboveARectangleLeavesAHoleThatMovesWithIt) {
    EditorState state = state_with({rectangle(1, {0, 0, 200, 100}), ellipse(2, {20, 20, 60, 60}),
                                    ellipse(3, {500, 500, 510, 510})});
    apply_fill_at(state, {150, 50}, false);
    ASSERT_EQ(state.objects[0].fill, (std::vector<FillRegion>{{{2}, kBlue}})) << "only overlapping shapes";
    EXPECT_FALSE(filled(state, 0, {40, 40}));

    state.selection = {2};
    nudge_selection(state, {100, 0});
    EXPECT_TRUE(filled(state, 0, {40, 40}));
    EXPECT_FALSE(filled(state, 0, {140, 40}));
}

TEST(FillTool, ClearingRemovesTheTopmostRegionOrNothing) {
    EditorState state = two_overlapping_rectangles();
    apply_fill_at(state, {25, 25}, true);
    EXPECT_TRUE(state.undo_stack.empty()) << "no region there";

    apply_fill_at(state, {25, 25}, false);
    state.objects[0].fill.push_back(FillRegion{{}, kGreen});  // a later region over the whole inside
    EXPECT_EQ(fill_target_at(state, {25, 25}, true), (FillTarget{ExistingRegion{0, 1}}));
    EXPECT_EQ(fill_target_at(state, {125, 125}, true), std::nullopt);
}

TEST(FillTool, APointThatIsNotFiniteChangesNothingAndLeavesTheGestureRunning) {
    EditorState state = two_overlapping_rectangles();
    state.saved_objects = state.objects;
    state.gesture = Gesture{MoveGesture{}, {0, 0}, {5, 5}};
    move_object_by(state.objects[0], {5, 5});
    const auto live = state.objects;

    const double nan = std::numeric_limits<double>::quiet_NaN();
    apply_fill_at(state, {nan, 5}, false);
    apply_fill_at(state, {5, std::numeric_limits<double>::infinity()}, true);
    EXPECT_TRUE(state.saved_objects);
    EXPECT_EQ(state.objects, live);
    EXPECT_EQ(fill_target_at(state, {nan, nan}, false), std::nullopt);

    // A real click ends the gesture first and fills the objects as pressed.
    apply_fill_at(state, {25, 25}, false);
    EXPECT_FALSE(state.saved_objects);
    EXPECT_EQ(rect_of(state.objects[0]), (Box{0, 0, 100, 100}));
    EXPECT_EQ(state.objects[0].fill.size(), 1u);
}

}  // namespace
}  // namespace glimmerly
