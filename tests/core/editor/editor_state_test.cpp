#include "core/editor/editor_state.h"

#include "core/document/point_math.h"
#include "tests/core/support/near.h"
#include "tests/core/support/objects.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <numbers>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

TEST(EditorAction, ToolsAndColoursComeBackFromTheirWords) {
    for (std::uint8_t code = 0; code < kToolCount; ++code) {
        const Tool tool = *tool_from_code(code);
        EXPECT_EQ(editor_action_tool(tool_action(tool)), tool);
        EXPECT_EQ(editor_action_colour(tool_action(tool)), std::nullopt);
    }
    EXPECT_EQ(editor_action_colour(colour_action({237, 79, 92})), (Rgb{237, 79, 92}));
    EXPECT_EQ(editor_action_tool(pack_editor_action(EditorActionCode::ChooseTool, kToolCount)), std::nullopt);
    EXPECT_EQ(editor_action_code(pack_editor_action(EditorActionCode::Redo)), EditorActionCode::Redo);
    EXPECT_EQ(editor_action_code(kEditorActionCodeCount), std::nullopt);
}

// A frame that shows the first monitor and part of the second; a third lies
// left of the frame.
EditorState three_monitors() {
    EditorState state;
    state.frame_width = 2500;
    state.frame_height = 1080;
    state.monitor_areas = {MonitorArea{{0, 0, 1920, 1080}, 1.0}, MonitorArea{{1920, 0, 3840, 1080}, 2.0},
                           MonitorArea{{-1920, 0, 0, 1080}, 3.0}};
    return state;
}

TEST(MonitorAtPoint, TheFramesPartOfTheMonitorHoldingThePointElseTheNearest) {
    const Box first{0, 0, 1920, 1080}, second_shown{1920, 0, 2500, 1080};
    struct Row { const char* name; Point at; Box rect; };
    const Row rows[] = {
        {"inside the first", {100, 100}, first},
        {"inside the second", {2200, 500}, second_shown},
        {"on the shared edge: the right-hand monitor's", {1920, 500}, second_shown},
        {"on the far bottom edge: nearest, the first", {10, 1080}, first},
        {"in the monitor outside the frame, which takes no part", {-500, 500}, first},
        {"right of everything", {5000, -20}, second_shown},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto monitor = monitor_at_point(three_monitors(), row.at);
        ASSERT_TRUE(monitor);
        EXPECT_EQ(monitor->rect, row.rect);
    }
    EXPECT_EQ(monitor_at_point(EditorState{}, {0, 0}), std::nullopt);

    // Equal distances keep the earlier monitor.
    EditorState gap;
    gap.frame_width = 300;
    gap.frame_height = 100;
    gap.monitor_areas = {MonitorArea{{0, 0, 100, 100}, 1.5}, MonitorArea{{200, 0, 300, 100}, 3.0}};
    EXPECT_EQ(monitor_at_point(gap, {150, 50})->scale, 1.5);
    EXPECT_EQ(monitor_at_point(gap, {151, 50})->scale, 3.0);
}

TEST(AnchorMonitorScale, ClampedScaleUnderTheSelectionCentreOrThePointer) {
    EditorState state = three_monitors();
    state.pointer = {100, 100};
    EXPECT_EQ(anchor_monitor_scale(state), 1.0);
    state.capture_selection = Box{1800, 0, 2400, 100};  // centre 2100 lies on the second monitor
    EXPECT_EQ(anchor_monitor_scale(state), 2.0);

    struct Row { const char* name; double scale, expected; };
    const Row rows[] = {{"below 1", 0.75, 1.0}, {"above 5", 6.0, 5.0}, {"NaN", kNaN, 1.0}, {"1.25", 1.25, 1.25}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state.monitor_areas[1].scale = row.scale;
        EXPECT_EQ(anchor_monitor_scale(state), row.expected);
    }
    EXPECT_EQ(anchor_monitor_scale(EditorState{}), 1.0);
}

std::vector<Dash> dashes_of(std::vector<Point> points, double unit = 1.0) { return dash_polyline(points, unit); }

TEST(DashPolyline, ThePatternRunsOnAcrossCornersAndDrawsFourSevenths) {
    // Two legs of 5: the second dash starts 2 into the second leg (walked 7).
    EXPECT_EQ(dashes_of({{0, 0}, {5, 0}, {5, 5}}), (std::vector<Dash>{{0, 0, 4, 0}, {5, 2, 5, 5}}));
    // A dash that reaches a corner is cut there and goes on after it.
    EXPECT_EQ(dashes_of({{0, 0}, {2, 0}, {2, 10}}), (std::vector<Dash>{{0, 0, 2, 0}, {2, 0, 2, 2}, {2, 5, 2, 9}}));
    // Zero-length segments are skipped without disturbing the pattern.
    EXPECT_EQ(dashes_of({{0, 0}, {0, 0}, {20, 0}}), dashes_of({{0, 0}, {20, 0}}));

    double drawn = 0;
    for (const Dash& d : dashes_of({{0, 0}, {700, 0}, {700, 350}, {0, 350}, {0, 0}}, 2.0))
        drawn += distance(d.from, d.to);
    EXPECT_NEAR(drawn, 2100.0 * 4 / 7, 1e-6);
}

TEST(DashPolyline, BadInputGivesNothingOrStaysBounded) {
    for (const double unit : {0.0, -1.0, kNaN}) EXPECT_TRUE(dashes_of({{0, 0}, {10, 0}}, unit).empty());
    EXPECT_TRUE(dashes_of({{0, 0}}).empty());
    EXPECT_TRUE(dashes_of({{0, 0}, {kNaN, 0}}).empty());
    // A unit far too small for the path ends instead of hanging the paint.
    EXPECT_LE(dashes_of({{0, 0}, {1e9, 0}}, 1e-9).size(), std::size_t{1} << 20);
    EXPECT_LE(dashes_of({{1e20, 0}, {2e20, 0}}, 1.0).size(), std::size_t{1} << 20);
}

TEST(ObjectOutlineFrame, GrowsTheBoundsAndTurnsThemWithTheObjectAndFramesLinesWhereDrawn) {
    EditorState state;
    const SceneObject square = rectangle(1, {0, 0, 100, 100});
    const auto still = object_outline_frame(state, square, 2.0);
    EXPECT_EQ(still, (Polyline{{-6, -6}, {106, -6}, {106, 106}, {-6, 106}, {-6, -6}}));

    SceneObject turned = square;
    turned.rotation = std::numbers::pi / 4;
    const auto diamond = object_outline_frame(state, turned, 2.0);
    ASSERT_EQ(diamond.size(), 5u);
    expect_near(diamond[0], {50, 50 - 56 * std::sqrt(2.0)});  // the top-left corner turns to the top

    const SceneObject arrow = fastened(line(2, {0, 0}, {500, 500}), std::nullopt, ObjectAttachment{1, {-50, 0}});
    state.objects = {rectangle(1, {100, 100, 200, 200}), arrow};
    const auto frame = object_outline_frame(state, arrow, 1.0);
    ASSERT_EQ(frame.size(), 5u);
    EXPECT_EQ(frame[2], (Point{101.5, 153})) << "the attached end, not the stored (500, 500)";
}

}  // namespace
}  // namespace glimmerly
