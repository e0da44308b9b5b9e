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
    struct Row { const char* name; SceneObject object; std::optional<Point> near; Point far; };  // at tolerance 2
    const Row rows[] = {
        // A rectangle's own width is not added: that is the fill tool's business.
        {"rectangle edge", rectangle(1, {0, 0, 100, 50}), Point{50, -1.9}, {50, -2.1}},
        {"ellipse adds half its width", ellipse(1, {0, 0, 100, 50}), Point{50, -3.4}, {50, -3.6}},
        {"pen stroke adds half its width", stroke(1, {{0, 0}, {100, 0}}, false, 4.0), Point{50, 3.9}, {50, 4.1}},
        {"highlighter adds five times that", stroke(1, {{0, 0}, {100, 0}}, true, 4.0), Point{50, 11.9}, {50, 12.1}},
        {"line adds half its width", line(1, {0, 0}, {100, 0}, false, 4.0), Point{50, 3.9}, {50, 4.1}},
        {"blur is hit inside, grown by the tolerance", blur(1, {0, 0, 100, 50}), Point{50, 25}, {50, 52.1}},
        {"text is hit in its box, tolerance unused", text(1, "a", {0, 0}), Point{50, 20}, {50, 20.1}},
        // A 100 x 20 bar turned a quarter stands upright about (50, 10).
        {"a turned rectangle on its turned edges", rectangle(1, {0, 0, 100, 20}, kPi / 2), Point{50, -40}, {50, 0}},
        {"a line too short to draw", line(1, {5, 5}, {5.0005, 5}, false), std::nullopt, {5, 5}},
        {"a one-point stroke", stroke(1, {{5, 5}}), std::nullopt, {5, 5}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(!row.near || hit_object_outline(row.object, *row.near, 2.0, {}));
        EXPECT_FALSE(hit_object_outline(row.object, row.far, 2.0, {}));
        EXPECT_FALSE(hit_object_outline(row.object, {kNaN, 5}, 1e9, {}));
    }
}

TEST(HitObjectOutline, AnArrowHeadIsHitAllOverItsInside) {
    // The head is 15.36 long and 6.9 to each side: a point deep inside it, off
    // the reach of the shaft and of the head's edges, is hit with no tolerance.
    EXPECT_TRUE(hit_object_outline(line(1, {0, 0}, {100, 0}, true, 4.0), {89, 2.2}, 0.0, {}));
    EXPECT_FALSE(hit_object_outline(line(1, {0, 0}, {100, 0}, false, 4.0), {89, 2.2}, 0.0, {}));
    // A line of width 0 has a head of no area, which is no inside at all:
    // it is hit on the line, not anywhere near it.
    EXPECT_TRUE(hit_object_outline(line(1, {0, 0}, {100, 100}, true, 0.0), {50, 51}, 2.0, {}));
    EXPECT_FALSE(hit_object_outline(line(1, {0, 0}, {100, 100}, true, 0.0), {90, 10}, 2.0, {}));
}

TEST(HitObjectOutline, AttachedLineIsHitWhereItIsDrawnNotWhereItWasStored) {
    const SceneObject box = rectangle(1, {100, 0, 200, 100});
    const SceneObject arrow = fastened(line(2, {0, 50}, {20, 50}, false), std::nullopt, ObjectAttachment{1, {-50, 0}});
    EXPECT_TRUE(hit_object_outline(arrow, {80, 50}, 1.0, std::vector<SceneObject>{box, arrow}));
    EXPECT_FALSE(hit_object_outline(arrow, {80, 50}, 1.0, {}));
}

TEST(HitObjectInterior, ReachesTheOuterEdgeOfTheOutlineOfRectanglesAndEllipsesOnly) {
    // A 20 x 10 ellipse of width 4 has inner half sizes 12 and 7.
    const SceneObject e = with_width(ellipse(1, {0, 0, 20, 10}), 4.0);
    EXPECT_TRUE(hit_object_interior(e, {10 + 11.9, 5}));
    EXPECT_FALSE(hit_object_interior(e, {10 + 12.1, 5}));
    EXPECT_TRUE(hit_object_interior(e, {10, 5 + 6.9}));
    EXPECT_FALSE(hit_object_interior(e, {10, 5 + 7.1}));
    // A 100 x 20 bar turned a quarter stands upright about (50, 10).
    const SceneObject bar = rectangle(1, {0, 0, 100, 20}, kPi / 2);
    EXPECT_TRUE(hit_object_interior(bar, {50, -38}));
    EXPECT_FALSE(hit_object_interior(bar, {90, 10}));

    // Thinner than 0.001: no inside at all, however thick the outline; no text has one.
    for (const SceneObject& none : {rectangle(1, {0, 0, 100, 0.0005}), ellipse(1, {0, 0, 0.0005, 100}),
                                    text(1, "a", {0, 0})})
        EXPECT_FALSE(hit_object_interior(none, {0, 0}));
    EXPECT_FALSE(hit_object_interior(bar, {50, kNaN}));
}

TEST(FillRegionAt, ShapesNamedAboveTheOwnerCutHolesAndLaterRegionsWin) {
    // A big rectangle filled red, then a smaller one on top that the red
    // region names: inside the small one the red fill is cut away.
    SceneObject big = with_fill(rectangle(1, {0, 0, 100, 100}), {FillRegion{{2}, {255, 0, 0}}});
    const std::vector<SceneObject> scene{big, rectangle(2, {40, 40, 60, 60}), rectangle(3, {0, 0, 20, 20})};

    EXPECT_EQ(fill_region_at(big.fill, {80, 80}, scene, 1), 0u);
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 1), std::nullopt);
    EXPECT_EQ(fill_region_at(big.fill, {10, 10}, scene, 1), 0u) << "id 3 is not named";
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 2), 0u) << "shapes below the owner do not cut";

    // A second region without holes lies over the first.
    big.fill.push_back(FillRegion{{}, {0, 0, 255}});
    EXPECT_EQ(fill_region_at(big.fill, {50, 50}, scene, 1), 1u);
    EXPECT_EQ(fill_region_at({}, {50, 50}, scene, 0), std::nullopt);
}

TEST(IdsInRect, TakesWhatLiesWhollyInsideAsDrawnAndNotYetSelected) {
    const SceneObject arrow = fastened(line(5, {700, 0}, {710, 0}, false), std::nullopt, ObjectAttachment{4, {-50, 0}});
    EditorState state = editor_with({rectangle(1, {10, 10, 20, 20}), rectangle(2, {30, 10, 40, 20}),
                                     ellipse(3, {50, 10, 60, 20}), rectangle(4, {500, 0, 600, 100}), arrow});
    struct Row { const char* name; Box marquee; std::vector<ObjectId> selection, taken; };
    const Row rows[] = {
        {"equal to an object's bounds takes it", {10, 10, 20, 20}, {}, {1}},
        {"cutting through bounds does not", {11, 10, 20, 20}, {}, {}},
        {"drawing order is kept", {0, 0, 70, 30}, {}, {1, 2, 3}},
        {"selected ones are left out", {0, 0, 70, 30}, {2}, {1, 3}},
        {"an attached line where it is drawn", {490, -1, 701, 60}, {}, {5}},
        {"not where it is stored", {699, -1, 711, 1}, {}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.selection = row.selection;
        EXPECT_EQ(ids_in_rect(state, row.marquee), row.taken);
    }
}

TEST(HitTextWidthHandle, TheSingleSelectedLabelAnswersAnywhereElseTheTopmostLabelNear) {
    // Two labels over each other with bounds (92, 95) to (158, 125); a plain
    // text on top never counts.
    EditorState state = editor_with({text(1, "low", {100, 100}, LabelMode::fit()),
                                     text(2, "high", {100, 100}, LabelMode::fit()), text(3, "plain", {100, 100})},
                                    {1}, Tool::Pen);
    EXPECT_EQ(hit_text_width_handle(state, {-5000, 9000}), ObjectId{1});
    EXPECT_EQ(hit_text_width_handle(state, {kNaN, 0}), std::nullopt);
    state.saved_objects = state.objects;  // a gesture runs
    EXPECT_EQ(hit_text_width_handle(state, {100, 100}), std::nullopt);
    state.saved_objects.reset();

    state.selection.clear();
    struct Row { const char* name; Tool tool; Point at; double scale; std::optional<ObjectId> label; };
    const Row rows[] = {
        {"inside, the topmost label", Tool::Select, {120, 110}, 1, 2},
        {"beside it with the arrow tool", Tool::Arrow, {170, 110}, 1, 2},
        {"too far beside it", Tool::Select, {190, 110}, 1, std::nullopt},
        {"as far at twice the scale", Tool::Select, {190, 110}, 2, 2},
        {"other tools never look", Tool::Rectangle, {120, 110}, 1, std::nullopt},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.tool = row.tool;
        state.interface_scale = row.scale;
        EXPECT_EQ(hit_text_width_handle(state, row.at), row.label);
    }
    // The reach follows the label's turn; where the turned one no longer
    // reaches, the one below answers.
    state.tool = Tool::Select;
    state.interface_scale = 1.0;
    state.objects.edit()[1].rotation = kPi / 2;  // now upright about (125, 110)
    EXPECT_EQ(hit_text_width_handle(state, {125, 160}), ObjectId{2});
    EXPECT_EQ(hit_text_width_handle(state, {175, 110}), ObjectId{1});
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
        bool gesture, offered;
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
