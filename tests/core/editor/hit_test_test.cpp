#include "core/editor/hit_test.h"

#include "tests/core/support/editor.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <limits>
#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kPi = std::numbers::pi;

TEST(HitObjectOutline, EachKindIsHitWithinItsReachAndMissedJustBeyond) {
    SceneObject highlighter = stroke(1, {{0, 0}, {100, 0}}, true, 4.0);
    struct Row {
        const char* name;
        SceneObject object;
        Point near;  // hit with tolerance 2
        Point far;   // missed with tolerance 2
    };
    const Row rows[] = {
        // A rectangle's own width is not added: that is the fill tool's business.
        {"rectangle edge", rectangle(1, {0, 0, 100, 50}), {50, -1.9}, {50, -2.1}},
        {"ellipse adds half its width", ellipse(1, {0, 0, 100, 50}), {50, -3.4}, {50, -3.6}},
        {"pen stroke adds half its width", stroke(1, {{0, 0}, {100, 0}}, false, 4.0), {50, 3.9}, {50, 4.1}},
        {"highlighter adds five times that", highlighter, {50, 11.9}, {50, 12.1}},
        {"line adds half its width", line(1, {0, 0}, {100, 0}, false, 4.0), {50, 3.9}, {50, 4.1}},
        {"blur is hit inside, grown by the tolerance", blur(1, {0, 0, 100, 50}), {50, 25}, {50, 52.1}},
        {"text is hit in its box, tolerance unused", text(1, "a", {0, 0}), {50, 20}, {50, 20.1}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(hit_object_outline(row.object, row.near, 2.0, {}));
        EXPECT_FALSE(hit_object_outline(row.object, row.far, 2.0, {}));
    }
}

TEST(HitObjectOutline, RotatedRectangleIsHitOnItsTurnedEdgesOnly) {
    // A 100 x 20 bar turned a quarter stands upright about (50, 10).
    const SceneObject bar = rectangle(1, {0, 0, 100, 20}, kPi / 2);
    EXPECT_TRUE(hit_object_outline(bar, {60, 10}, 1.0, {}));  // turned right edge
    EXPECT_TRUE(hit_object_outline(bar, {50, -40}, 1.0, {}));  // turned top end
    EXPECT_FALSE(hit_object_outline(bar, {50, 0}, 1.0, {}));   // unturned top edge
    EXPECT_FALSE(hit_object_outline(bar, {50, 10}, 1.0, {}));  // centre: not the outline...
    EXPECT_TRUE(hit_object_interior(bar, {50, 10}));           // ...but the inside
    EXPECT_TRUE(hit_object_interior(bar, {50, -38}));
    EXPECT_FALSE(hit_object_interior(bar, {90, 10}));
}

TEST(HitObjectOutline, ArrowHeadIsFilledAndAShortLineHasNoOutline) {
    const SceneObject arrow = line(1, {0, 0}, {100, 0}, true, 4.0);
    // The head is 15.36 long and 6.9 to each side: a point inside it, off the
    // shaft's reach, is hit even with no tolerance.
    EXPECT_TRUE(hit_object_outline(arrow, {95, 2.2}, 0.0, {}));
    const SceneObject headless = line(1, {0, 0}, {100, 0}, false, 4.0);
    EXPECT_FALSE(hit_object_outline(headless, {95, 2.2}, 0.0, {}));

    EXPECT_FALSE(hit_object_outline(line(1, {5, 5}, {5.0005, 5}, false), {5, 5}, 10.0, {}));
    EXPECT_FALSE(hit_object_outline(stroke(1, {{5, 5}}), {5, 5}, 10.0, {}));
}

TEST(HitObjectOutline, AttachedLineIsHitWhereItIsDrawnNotWhereItWasStored) {
    const SceneObject box = rectangle(1, {100, 0, 200, 100});
    const SceneObject arrow = fastened(line(2, {0, 50}, {20, 50}, false), std::nullopt, ObjectAttachment{1, {-50, 0}});
    const std::vector<SceneObject> scene{box, arrow};
    EXPECT_TRUE(hit_object_outline(arrow, {80, 50}, 1.0, scene));
    EXPECT_FALSE(hit_object_outline(arrow, {80, 50}, 1.0, {}));
}

TEST(HitObjectOutline, NonFinitePointsHitNothing) {
    for (const SceneObject& object : {rectangle(1, {0, 0, 10, 10}), text(1, "a", {0, 0}), blur(1, {0, 0, 10, 10})}) {
        EXPECT_FALSE(hit_object_outline(object, {kNaN, 5}, 1e9, {}));
        EXPECT_FALSE(hit_object_interior(object, {5, kNaN}));
    }
}

TEST(HitObjectInterior, ReachesTheOuterEdgeOfTheOutline) {
    // A 20 x 10 ellipse of width 4 has inner half sizes 12 and 7.
    const SceneObject e = with_width(ellipse(1, {0, 0, 20, 10}), 4.0);
    EXPECT_TRUE(hit_object_interior(e, {10 + 11.9, 5}));
    EXPECT_FALSE(hit_object_interior(e, {10 + 12.1, 5}));
    EXPECT_TRUE(hit_object_interior(e, {10, 5 + 6.9}));
    EXPECT_FALSE(hit_object_interior(e, {10, 5 + 7.1}));

    // Thinner than 0.001: no inside at all, however thick the outline.
    for (const SceneObject& thin : {rectangle(1, {0, 0, 100, 0.0005}), ellipse(1, {0, 0, 0.0005, 100})})
        EXPECT_FALSE(hit_object_interior(thin, {0, 0}));
    EXPECT_FALSE(hit_object_interior(text(1, "a", {0, 0}), {5, 5}));
}

TEST(FillRegionAt, ShapesNamedAboveTheOwnerCutHolesAndLaterRegionsWin) {
    // A big rectangle filled red, then a smaller one on top that the red
    // region names: inside the small one the red fill is cut away.
    SceneObject big = with_fill(rectangle(1, {0, 0, 100, 100}), {FillRegion{{2}, {255, 0, 0}}});
    const SceneObject small = rectangle(2, {40, 40, 60, 60});
    const SceneObject unnamed = rectangle(3, {0, 0, 20, 20});
    const std::vector<SceneObject> scene{big, small, unnamed};

    EXPECT_EQ(fill_region_at(big.fill, {80, 80}, scene, 1), 0u);
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 1), std::nullopt);
    EXPECT_EQ(fill_region_at(big.fill, {10, 10}, scene, 1), 0u);  // id 3 is not named
    // Shapes below the owner do not cut: only candidates from `first` on.
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 2), 0u);

    // A second region without holes lies over the first.
    big.fill.push_back(FillRegion{{}, {0, 0, 255}});
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 1), 1u);
    EXPECT_EQ(fill_region_at(big.fill, {80, 80}, scene, 1), 1u);

    // No candidates left: the latest region; no regions: none.
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 3), 1u);
    EXPECT_EQ(fill_region_at({}, {50, 50}, scene, 0), std::nullopt);
}

TEST(IdsInRect, TakesWhatLiesWhollyInsideAndNotYetSelected) {
    EditorState state = editor_with({rectangle(1, {10, 10, 20, 20}), rectangle(2, {30, 10, 40, 20}),
                                     ellipse(3, {50, 10, 60, 20}), rectangle(4, {0, 0, 200, 200})});
    struct Row {
        const char* name;
        Box marquee;
        std::vector<ObjectId> selection;
        std::vector<ObjectId> taken;
    };
    const Row rows[] = {
        {"equal to an object's bounds takes it", {10, 10, 20, 20}, {}, {1}},
        {"cutting through bounds does not", {11, 10, 20, 20}, {}, {}},
        {"drawing order is kept", {0, 0, 70, 30}, {}, {1, 2, 3}},
        {"selected ones are left out", {0, 0, 70, 30}, {2}, {1, 3}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.selection = row.selection;
        EXPECT_EQ(ids_in_rect(state, row.marquee), row.taken);
    }
}

TEST(IdsInRect, AttachedLinesAreMeasuredWhereTheyAreDrawn) {
    const SceneObject arrow = fastened(line(2, {0, 0}, {10, 0}, false), std::nullopt, ObjectAttachment{1, {-50, 0}});
    const EditorState state = editor_with({rectangle(1, {500, 0, 600, 100}), arrow});
    EXPECT_EQ(ids_in_rect(state, {-1, -1, 20, 20}), std::vector<ObjectId>{});
    EXPECT_EQ(ids_in_rect(state, {-1, -1, 499, 60}), std::vector<ObjectId>{2});
}

TEST(HitTextWidthHandle, TheSingleSelectedLabelAnswersAnywhere) {
    EditorState state = editor_with({text(1, "note", {100, 100}, LabelMode::fit())}, {1}, Tool::Pen);
    EXPECT_EQ(hit_text_width_handle(state, {-5000, 9000}), ObjectId{1});
    EXPECT_EQ(hit_text_width_handle(state, {kNaN, 0}), std::nullopt);
    state.saved_objects = state.objects;  // a gesture runs
    EXPECT_EQ(hit_text_width_handle(state, {100, 100}), std::nullopt);
}

TEST(HitTextWidthHandle, OtherwiseTheTopmostLabelNearThePointerWithSelectOrArrow) {
    // Two labels over each other; one plain text on top that never counts.
    EditorState state = editor_with({text(1, "low", {100, 100}, LabelMode::fit()),
                                     text(2, "high", {100, 100}, LabelMode::fit()), text(3, "plain", {100, 100})});
    struct Row {
        const char* name;
        Tool tool;
        Point at;
        std::optional<ObjectId> label;
    };
    // Label bounds are (92, 95) to (158, 125); the reach adds 22.
    const Row rows[] = {
        {"inside, topmost label", Tool::Select, {120, 110}, 2},
        {"just within the reach", Tool::Arrow, {179.9, 110}, 2},
        {"beyond the reach", Tool::Select, {180.1, 110}, std::nullopt},
        {"other tools never look", Tool::Rectangle, {120, 110}, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.tool = row.tool;
        EXPECT_EQ(hit_text_width_handle(state, row.at), row.label);
    }
    // The reach is in interface units and follows the label's turn.
    state.tool = Tool::Select;
    state.interface_scale = 2.0;
    EXPECT_EQ(hit_text_width_handle(state, {200, 110}), ObjectId{2});
    state.interface_scale = 1.0;
    state.objects[1].rotation = kPi / 2;  // now upright about (125, 110)
    EXPECT_EQ(hit_text_width_handle(state, {125, 160}), ObjectId{2});
    // Where the turned label no longer reaches, the one below answers.
    EXPECT_EQ(hit_text_width_handle(state, {179.9, 110}), ObjectId{1});
}

TEST(SelectedArrowEnds, BendHandleSitsWhereTheCurvePassesItsMiddle) {
    EditorState state = editor_with({rectangle(1, {0, 0, 5, 5}), bent(line(7, {0, 0}, {100, 0}), {0.1, 0.25}),
                                     elbow(8, {0, 0}, {100, 50}, std::nullopt, std::nullopt)},
                                    {7});
    const auto handle = selected_arrow_ends(state);
    ASSERT_TRUE(handle);
    EXPECT_EQ(handle->index, 1u);
    expect_near(handle->bend_handle, {60, 25});

    struct Row {
        const char* name;
        Tool tool;
        std::vector<ObjectId> selection;
        std::optional<ObjectId> last_drawn;
        bool gesture;
        bool offered;
    };
    const Row rows[] = {
        {"select tool, one line selected", Tool::Select, {7}, std::nullopt, false, true},
        {"select tool, two selected", Tool::Select, {7, 1}, std::nullopt, false, false},
        {"select tool, a rectangle", Tool::Select, {1}, std::nullopt, false, false},
        {"select tool, an elbow line", Tool::Select, {8}, std::nullopt, false, false},
        {"arrow tool, the line drawn last", Tool::Arrow, {}, 7, false, true},
        {"line tool ignores the selection", Tool::Line, {7}, std::nullopt, false, false},
        {"arrow tool during a gesture", Tool::Arrow, {}, 7, true, false},
        {"pen tool never", Tool::Pen, {7}, 7, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.tool = row.tool;
        state.selection = row.selection;
        state.last_drawn_arrow = row.last_drawn;
        if (row.gesture) state.saved_objects = state.objects;
        else state.saved_objects.reset();
        EXPECT_EQ(selected_arrow_ends(state).has_value(), row.offered);
    }
}

}  // namespace
}  // namespace glimmerly
