#include "core/editor/fill.h"

#include "core/editor/gestures.h"
#include "core/editor/hit_test.h"
#include "core/editor/selection_edits.h"
#include "tests/core/support/editor.h"
#include "tests/core/support/editor_builders.h"

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
    apply_fill_at(state, {25, 25}, false);
    EXPECT_TRUE(filled(state, 0, {25, 25}));
    EXPECT_TRUE(filled(state, 0, {90, 20}));
    EXPECT_FALSE(filled(state, 0, {75, 75})) << "the overlap belongs to the upper rectangle";

    // Outside both: the background, cut by both.
    apply_fill_at(state, {200, 10}, false);
    EXPECT_TRUE(filled(state, std::nullopt, {200, 10}));
    EXPECT_TRUE(filled(state, std::nullopt, {120, 20}));
    EXPECT_FALSE(filled(state, std::nullopt, {25, 25}));
    EXPECT_FALSE(filled(state, std::nullopt, {125, 125}));

    // The overlap: the upper rectangle owns it, with nothing above to cut.
    EXPECT_EQ(fill_target_at(state, {75, 75}, false), (FillTarget{NewObjectRegion{1, {}, kBlue}}));
}

TEST(FillTool, TheSameColourAgainTakesTheRegionAwayAndAnotherReplacesIt) {
    EditorState state = two_overlapping_rectangles();
    apply_fill_at(state, {25, 25}, false);
    state.color = kGreen;
    apply_fill_at(state, {25, 25}, false);
    ASSERT_EQ(state.objects[0].fill.size(), 1u) << "a region with the same ids is replaced";
    EXPECT_EQ(state.objects[0].fill[0].color, kGreen);
    apply_fill_at(state, {25, 25}, false);
    EXPECT_TRUE(state.objects[0].fill.empty());
}

TEST(FillTool, AClickOnAnEmptyCaptureColoursTheWholeBackground) {
    EditorState state = state_with({});
    apply_fill_at(state, {5, 5}, false);
    EXPECT_EQ(state.background, (std::vector<FillRegion>{{{}, kBlue}}));
}

TEST(FillTool, AThickOutlineIsHitAcrossItsWholeDrawnWidth) {
    // Width 10 at tolerance 3: the outline reaches 8 either side of its line.
    EditorState state = state_with({with_width(rectangle(1, {0, 0, 100, 100}), 10)});
    struct Row { const char* name; Point p; std::optional<FillTarget> expected; };
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
    apply_fill_at(state, {20, 40}, false);
    EXPECT_EQ(state.objects[1], blur(2, {20, 20, 60, 60}));
    EXPECT_TRUE(filled(state, 0, {20, 40}));
}

TEST(FillTool, AFilledShapeHidesTheOutlinesBelowIt) {
    // The small rectangle's outline lies under the big one's inside.
    EditorState state = state_with({rectangle(1, {40, 40, 60, 60}), rectangle(2, {0, 0, 100, 100})});
    EXPECT_EQ(fill_target_at(state, {40, 50}, false), (FillTarget{Outline{0, kBlue}}));
    state.objects.edit()[1].fill = {FillRegion{{}, kGreen}};
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

TEST(FillTool, ClearingRemovesTheTopmostRegion) {
    EditorState state = two_overlapping_rectangles();
    state.objects.edit()[0].fill = {FillRegion{{2}, kGreen}, FillRegion{{}, kGreen}};
    EXPECT_EQ(fill_target_at(state, {25, 25}, true), (FillTarget{ExistingRegion{0, 1}}));
    EXPECT_EQ(fill_target_at(state, {125, 125}, true), std::nullopt);
}

TEST(FillTool, APointThatIsNotFiniteLeavesAGestureRunning) {
    EditorState state = editor_with({rectangle(1, {0, 0, 100, 100})}, {1});
    User{state}.press({0, 50});
    User{state}.move({5, 55});
    const auto live = state.objects;
    apply_fill_at(state, {std::numeric_limits<double>::quiet_NaN(), 5}, false);
    apply_fill_at(state, {5, std::numeric_limits<double>::infinity()}, true);
    EXPECT_TRUE(state.saved_objects);
    EXPECT_EQ(state.objects, live);
}

}  // namespace
}  // namespace glimmerly
