#include "core/render/scene_view.h"

#include "core/document/point_math.h"

#include "tests/core/support/monitors.h"
#include "tests/core/support/near.h"

#include <gtest/gtest.h>

#include <tuple>

namespace glimmerly {
namespace {

using testing::capture_over;

double area(const Box& b) { return (b.right - b.left) * (b.bottom - b.top); }

TEST(ShadeBands, TileTheFrameAroundTheSelection) {
    for (const Box selection : {Box{100, 50, 300, 250}, Box{0, 0, 300, 250}}) {
        const auto bands = shade_bands(selection, 800, 600);
        double shaded = 0.0;
        for (std::size_t i = 0; i < bands.size(); ++i) {
            EXPECT_GE(area(bands[i]), 0.0) << "a band is empty where the selection touches the edge";
            EXPECT_FALSE(boxes_overlap(bands[i], selection));
            for (std::size_t k = i + 1; k < bands.size(); ++k) EXPECT_FALSE(boxes_overlap(bands[i], bands[k]));
            shaded += area(bands[i]);
        }
        EXPECT_DOUBLE_EQ(shaded + area(selection), 800.0 * 600.0);
    }
    EXPECT_EQ(shade_bands(std::nullopt, 800, 600), (std::vector<Box>{{0, 0, 800, 600}}));
}

TEST(RegionHandles, EightSquaresClockwiseSizedByTheUnit) {
    const Box sel{100, 50, 300, 250};
    const auto at_zoom_1 = region_handle_squares(sel, 1.0);
    const auto at_zoom_2 = region_handle_squares(sel, 0.5);
    const Point centres[] = {{100, 50},  {200, 50},  {300, 50},  {300, 150},
                             {300, 250}, {200, 250}, {100, 250}, {100, 150}};
    for (std::size_t i = 0; i < 8; ++i) {
        SCOPED_TRACE(i);
        testing::expect_near(at_zoom_1[i], {centres[i].x - 4, centres[i].y - 4, centres[i].x + 4, centres[i].y + 4});
        EXPECT_DOUBLE_EQ(at_zoom_2[i].right - at_zoom_2[i].left, 4.0) << "half as large in frame pixels";
    }
}

TEST(FillPreviewHalo, DarkUnderLightColoursLightUnderDarkOnes) {
    EXPECT_EQ(fill_preview_halo({255, 255, 255}), kHandleDark);
    EXPECT_EQ(fill_preview_halo({0, 0, 0}), kHandleWhite);
    EXPECT_EQ(fill_preview_halo({128, 128, 128}), kHandleWhite) << "exactly 128 counts as dark";
}

TEST(FramePlan, UnzoomedViewsShareOnePassAtTheClampedScale) {
    for (const auto& [monitor, pass] : {std::pair{0.75, 1.0}, {1.5, 1.5}, {6.0, 5.0}}) {
        const FramePlan plan = plan_frame(capture_over({{{0, 0, 1920, 1080}, monitor}}, Box{10, 10, 50, 50}));
        EXPECT_TRUE(plan.single_path);
        EXPECT_EQ(plan.passes, (std::vector<ScenePass>{ScenePass{.scale = pass}})) << monitor;
    }
    EXPECT_TRUE(plan_frame(EditorState{}).single_path) << "no views";
}

TEST(FramePlan, ZoomedMonitorBesideAnUnzoomedOneGetsAPassEach) {
    EditorState state = capture_over({{{0, 0, 1000, 800}, 1.0}, {{1000, 0, 2000, 800}, 1.0}}, Box{10, 10, 50, 50});
    state.monitor_views[1].zoom = 2.0;
    state.monitor_views[1].origin = {1200, 100};
    const FramePlan plan = plan_frame(state);
    ASSERT_EQ(std::pair(plan.single_path, plan.passes.size()), std::pair(false, std::size_t{2}));
    EXPECT_EQ(plan.passes[0], (ScenePass{Box{0, 0, 1000, 800}, 1.0, {0, 0}, 1.0, false, true, false}));
    const ScenePass& zoomed = plan.passes[1];
    EXPECT_EQ(std::tuple(zoomed.scale, zoomed.zoomed, zoomed.smooth_background), std::tuple(0.5, true, true));
    const Point p{1300, 150};  // lands at the view's corner plus (p - origin) x zoom
    testing::expect_near(zoomed.offset + p * zoomed.zoom, Point{1000, 0} + (p - Point{1200, 100}) * 2.0);
}

}  // namespace
}  // namespace glimmerly
