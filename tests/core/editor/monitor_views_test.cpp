#include "core/editor/monitor_views.h"

#include "tests/core/support/monitors.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

#include <array>

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

// 100 % on the left at a negative origin, 200 % on the right, of different heights.
EditorState two_dpis() { return capture_over({{{-1920, 0, 0, 1080}, 1.0}, {{0, 0, 3840, 2160}, 2.0}}); }

TEST(MonitorViews, ZoomingInAndOutAgainGivesBackTheSameView) {
    const Point pointers[] = {{960, 540}, {5, 5}, {1915, 1075}, {3000, 1000}, {5755, 2155}};
    for (const Point pointer : pointers) {
        SCOPED_TRACE(::testing::Message() << pointer.x << "," << pointer.y);
        EditorState state = two_dpis();
        state.pointer = pointer;
        const auto before = state.monitor_views;
        const Point frame_before = map_pointer_to_monitor(state);
        for (int i = 0; i < 3; ++i) ASSERT_TRUE(zoom_view_by_steps(state, 120));
        EXPECT_NE(state.monitor_views, before);
        ASSERT_TRUE(zoom_view_by_steps(state, -360));
        EXPECT_EQ(state.monitor_views, before) << "exactly one-to-one again";
        EXPECT_EQ(map_pointer_to_monitor(state), frame_before);
    }
}

TEST(MonitorViews, ZoomKeepsTheFramePixelUnderThePointerAwayFromTheEdges) {
    EditorState state = two_dpis();
    state.pointer = {3000, 1000};
    const Point under = map_pointer_to_monitor(state);
    ASSERT_TRUE(zoom_view_by_steps(state, 240));
    EXPECT_DOUBLE_EQ(state.monitor_views[1].zoom, 1.5625);
    expect_near(map_pointer_to_monitor(state), under);
    EXPECT_EQ(state.monitor_views[0].zoom, 1.0) << "the other monitor keeps its view";
    for (int i = 0; i < 20; ++i) ASSERT_TRUE(zoom_view_by_steps(state, 120));
    EXPECT_EQ(state.monitor_views[1].zoom, kMaxViewZoom);
    ASSERT_TRUE(reset_view_zoom(state));
    EXPECT_EQ(state.monitor_views, two_dpis().monitor_views);
}

TEST(MonitorViews, APressOnAZoomedMonitorStaysOnItsVisiblePart) {
    EditorState state = two_dpis();
    state.pointer = {1000, 500};
    ASSERT_TRUE(zoom_view_by_steps(state, 240));
    const MonitorView& v = state.monitor_views[0];
    state.press_view = 0;
    // Dragged onto the other monitor: stops at the corner of what the view shows.
    expect_near(map_point_for_press(state, {2500, 1500}), {v.origin.x + 1920 / v.zoom, v.origin.y + 1080 / v.zoom});
    state.press_view.reset();
    EXPECT_EQ(map_point_for_press(state, {2500, 1500}), (Point{2500, 1500}));
}

TEST(MonitorViews, PanningStopsAtTheMonitorsEdge) {
    EditorState state = two_dpis();
    state.pointer = {2500, 1000};
    ASSERT_TRUE(zoom_view_by_steps(state, 360));
    state.pan = ViewPan{1, {5700, 1000}};
    ASSERT_TRUE(pan_view_to(state, {-50000, 1000}));  // far left: the pointer stops at the frame's edge
    EXPECT_EQ(state.monitor_views[1].origin.x, 3840 + 1920 - 3840 / state.monitor_views[1].zoom);
}

TEST(MonitorViews, ToolSizesFollowTheDpiOfTheSelectionsMonitor) {
    EditorState state = two_dpis();
    state.eraser_size = 100;
    state.capture_selection = Box{2500, 100, 2900, 500};  // onto the 200 % monitor
    refresh_ui_scale(state);
    EXPECT_EQ((std::array{state.stroke_width, state.eraser_size, double{state.text_size}, state.interface_scale}),
              (std::array{6.0, 128.0, 48.0, 2.0}))
        << "doubled, the eraser clamped";
    state.pointer = {2500, 100};
    ASSERT_TRUE(zoom_view_by_steps(state, 240));
    refresh_ui_scale(state);
    EXPECT_DOUBLE_EQ(state.interface_scale, 2.0 / 1.5625) << "frame distances shrink with the zoom";
}

TEST(MonitorViews, AMonitorTheFrameShowsInPartMapsThroughItsOwnView) {
    EditorState state = two_dpis();
    state.frame_width = 3000;  // a scene frame narrower than the screen
    state.monitor_views[1].zoom = 2.0;
    EXPECT_EQ(view_at_point(state, {2500, 500}), 1u);
    EXPECT_EQ(map_point_to_monitor(state, {2920, 500}), (Point{2420, 250}));
}

}  // namespace
}  // namespace glimmerly
