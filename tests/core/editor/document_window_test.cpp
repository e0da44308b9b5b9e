// A document smaller than its screens opens in a window over them: every
// toolbar button lies in that window at any interface scale, and a save gives
// back the document it opened, margin left out.

#include <gtest/gtest.h>

#include <vector>

#include "core/editor/capture_document.h"
#include "core/editor/capture_start.h"
#include "core/editor/chrome_math.h"
#include "core/editor/document_origin.h"
#include "core/editor/selection_geometry.h"
#include "core/editor/toolbar.h"
#include "tests/core/support/objects.h"
#include "tests/core/support/png.h"

namespace glimmerly {
namespace {

using namespace glimmerly::testing;

constexpr Box kMonitor{0, 0, 1920, 1080};

// The document check's document: a 320 x 200 frame, one rectangle.
Scene small_document() {
    Scene scene;
    scene.frame = {320, 200};
    scene.region = {40, 30, 280, 170};
    scene.objects = {rectangle(1, {60.5, 50.25, 140, 110})};
    scene.last = 1;
    return scene;
}

// The state the document editor builds for the scene at `origin`, with the
// window's corner on the virtual screen.
struct Opened {
    EditorState state;
    Box window;
};
Opened open_at(const Scene& scene, const BgraImage& frame, PixelPoint origin, double scale,
               const Box& monitor = kMonitor) {
    const std::vector<Box> monitors{monitor};
    const Box window = document_window(scene.frame, origin, monitors);
    const PixelPoint corner{static_cast<std::int32_t>(window.left), static_cast<std::int32_t>(window.top)};
    std::vector<MonitorArea> areas{
        {{monitor.left - corner.x, monitor.top - corner.y, monitor.right - corner.x, monitor.bottom - corner.y},
         scale}};
    auto state = new_document_state(
        scene, frame,
        {static_cast<std::uint32_t>(window.right - window.left), static_cast<std::uint32_t>(window.bottom - window.top)},
        {origin.x - corner.x, origin.y - corner.y}, std::move(areas));
    EXPECT_TRUE(state.ok());
    return {std::move(*state), window};
}

TEST(DocumentWindow, TheWindowGrowsToTheMonitorsTheFrameLiesOn) {
    const Box left{-1920, 0, 0, 1080};
    const struct {
        const char* name;
        FrameSize frame;
        PixelPoint origin;
        std::vector<Box> monitors;
        Box window;
    } rows[] = {
        {"a frame that is its monitor", {1920, 1080}, {0, 0}, {left, kMonitor}, kMonitor},
        {"a frame over both monitors", {3840, 1080}, {-1920, 0}, {kMonitor, left}, {-1920, 0, 1920, 1080}},
        {"a small frame centred on its monitor", {320, 200}, {800, 440}, {left, kMonitor}, kMonitor},
        {"a frame across the seam", {1000, 600}, {-500, 240}, {left, kMonitor}, {-1920, 0, 1920, 1080}},
        {"a touching monitor is not overlapped", {320, 200}, {0, 0}, {left, kMonitor}, kMonitor},
        {"no monitors: the frame alone", {320, 200}, {5, 6}, {}, {5, 6, 325, 206}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(document_window(row.frame, row.origin, row.monitors), row.window);
    }
}

TEST(DocumentWindow, EveryToolbarButtonOfASmallDocumentLiesInItsWindowAtAnyScale) {
    const Scene scene = small_document();
    const BgraImage frame = noise_image(320, 200, 7);
    const struct {
        const char* name;
        Box monitor;
        double scale;
    } rows[] = {
        {"1080p at 100 %", kMonitor, 1.0},     {"1080p at 125 %", kMonitor, 1.25},
        {"1080p at 150 %", kMonitor, 1.5},     {"1080p at 200 %", kMonitor, 2.0},
        {"4K at 300 %", {0, 0, 3840, 2160}, 3.0}, {"1366 x 768 at 100 %", {0, 0, 1366, 768}, 1.0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PixelPoint centred{static_cast<std::int32_t>(row.monitor.right - 320) / 2,
                                 static_cast<std::int32_t>(row.monitor.bottom - 200) / 2};
        const Opened opened = open_at(scene, frame, centred, row.scale, row.monitor);
        const Box client{0, 0, static_cast<double>(opened.state.frame_width),
                         static_cast<double>(opened.state.frame_height)};
        const std::vector<ToolbarButton> buttons = layout_toolbar(opened.state);
        std::size_t tools = 0;
        for (const ToolbarButton& b : buttons) {
            EXPECT_TRUE(box_contains(client, b.rect)) << b.rect.left << "," << b.rect.top;
            EXPECT_EQ(toolbar_button_at(buttons, box_centre(b.rect)), &b) << "another button covers it";
            tools += b.panel == ToolbarPanel::Tools;
        }
        EXPECT_EQ(tools, 11u);
    }
}

TEST(DocumentWindow, ASaveGivesBackTheDocumentItOpenedWithoutTheMargin) {
    const Scene scene = small_document();
    const BgraImage frame = noise_image(320, 200, 7);
    const Opened opened = open_at(scene, frame, {800, 440}, 1.0);
    const EditorState& state = opened.state;
    ASSERT_EQ(state.document_area, (Box{800, 440, 1120, 640}));
    EXPECT_EQ(state.capture_selection, (Box{840, 470, 1080, 610}));

    const auto saved = compose_capture_document(state, state.frozen_frame, {0, 0});
    ASSERT_TRUE(saved.ok()) << saved.failure().message;
    EXPECT_EQ(saved->scene.frame, scene.frame);
    EXPECT_EQ(saved->scene.origin, (ScreenOrigin{800, 440}));
    EXPECT_EQ(saved->scene.region, scene.region);
    EXPECT_EQ(saved->scene.objects, scene.objects);
    EXPECT_TRUE(saved->frame.pixels == frame.pixels);
}

TEST(DocumentWindow, AFrameThatIsItsMonitorOpensAsItWasWithoutAMargin) {
    Scene scene = small_document();
    scene.frame = {1920, 1080};
    const BgraImage frame = noise_image(1920, 1080, 3);
    const Opened opened = open_at(scene, frame, {0, 0}, 1.0);
    EXPECT_EQ(opened.window, kMonitor);
    EXPECT_FALSE(opened.state.document_area);
    EXPECT_EQ(opened.state.capture_selection, scene.region);
    EXPECT_EQ(opened.state.objects, scene.objects);
    EXPECT_TRUE(opened.state.frozen_frame.pixels == frame.pixels);
}

TEST(DocumentWindow, FullScreenSelectsTheDocumentAndNotItsMargin) {
    Opened opened = open_at(small_document(), noise_image(320, 200, 7), {800, 440}, 1.0);
    toggle_full_screen_selection(opened.state);
    EXPECT_EQ(opened.state.capture_selection, (Box{800, 440, 1120, 640}));
    toggle_full_screen_selection(opened.state);
    EXPECT_EQ(opened.state.capture_selection, (Box{840, 470, 1080, 610}));
}

}  // namespace
}  // namespace glimmerly
