// The capture window's WM_PAINT for part of the window: after a change that
// lies inside the invalid rectangle, the window shows exactly what a whole
// repaint of the same state shows, in the single path and through a zoomed
// monitor's view.

#include <gtest/gtest.h>

#include <functional>

#include "app/app/editor_session.h"
#include "app/win/owners.h"
#include "core/editor/capture_start.h"
#include "core/editor/toolbar.h"
#include "tests/app/render/render_support.h"
#include "tests/app/support/app_window.h"
#include "tests/core/support/objects.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr std::uint32_t kWidth = 400, kHeight = 300;

// Sharp 8-pixel blocks: a picture drawn one pixel off shows.
BgraImage block_picture() {
    BgraImage image = testing::plain_picture(kWidth, kHeight);
    for (std::uint32_t y = 0; y < kHeight; ++y)
        for (std::uint32_t x = 0; x < kWidth; ++x) {
            std::uint8_t* p = &image.pixels[(std::size_t{y} * kWidth + x) * 4];
            p[0] = static_cast<std::uint8_t>((x / 8 + y / 8) % 2 ? 200 : 30);
            p[1] = static_cast<std::uint8_t>(x / 2);
            p[2] = static_cast<std::uint8_t>(y / 2);
        }
    return image;
}

class EditorPaint : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        EditorState state = new_capture_state(block_picture(), {MonitorArea{{0, 0, kWidth, kHeight}, 1.0}});
        state.capture_selection = Box{40, 30, 360, 270};
        state.selecting = false;
        state.objects = {testing::rectangle(1, {60, 50, 140, 110}), testing::ellipse(2, {200, 60, 330, 150}, 0.4)};
        state.last_id = 2;
        state.pointer = {5, 5};
        auto resources = create_renderer_resources(false, false);
        ASSERT_TRUE(resources && set_background_image(**resources, state.frozen_frame));
        editor_window_part(state).renderer.resources = std::move(*resources);
        ASSERT_TRUE(install_editor_state(*test_.cell().try_borrow(), window(), std::move(state), {0, 0}));
    }

    HWND window() const { return test_.window(); }
    EditorState& state() { return open_editor_session(*test_.cell().try_borrow())->state(); }

    // The window's WM_PAINT for that rectangle of it (the whole window
    // without one), then every pixel it shows, alpha left out.
    std::vector<std::uint8_t> painted(const RECT* area) {
        RedrawWindow(window(), area, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), LONG{kWidth}, -LONG{kHeight}, 1, 32, BI_RGB};
        void* bits = nullptr;
        win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        win::UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        win::SelectedObject selected(dc.get(), dib.get());
        EXPECT_TRUE(BitBlt(dc.get(), 0, 0, kWidth, kHeight, win::WindowDc::of(window()).get(), 0, 0, SRCCOPY));
        GdiFlush();
        const auto* bytes = static_cast<const std::uint8_t*>(bits);
        std::vector<std::uint8_t> colours(bytes, bytes + std::size_t{kWidth} * kHeight * 4);
        for (std::size_t i = 3; i < colours.size(); i += 4) colours[i] = 0;
        return colours;
    }

    win::ComApartment com_;
    TestAppWindow test_{AppOptions{.in_process_editor = true, .keeps_settings = false}};
};

TEST_F(EditorPaint, APartialRepaintShowsWhatAWholeRepaintShows) {
    // An area over the toolbar's first corner: the toolbar is drawn or left
    // out by whether the area meets it.
    const std::vector<ToolbarButton> buttons = layout_toolbar(state());
    ASSERT_FALSE(buttons.empty());
    const Box panel = toolbar_panel_rects(buttons, 1.0).front();
    const auto near_panel = [&](double dx, double dy) {
        return Box{panel.left + dx, panel.top + dy, panel.left + dx + 6, panel.top + dy + 6};
    };
    const RECT panel_corner{static_cast<LONG>(panel.left) - 12, static_cast<LONG>(panel.top) - 12,
                            static_cast<LONG>(panel.left) + 3, static_cast<LONG>(panel.top) + 3};
    struct Row {
        const char* name;
        std::function<void(EditorState&)> before;  // then a whole repaint
        std::function<void(EditorState&)> change;  // inside `area`
        RECT area;
    };
    const Row rows[] = {
        {"an object added", [](EditorState&) {},
         [](EditorState& s) { s.objects.push_back(testing::rectangle(3, {150, 160, 230, 220})); },
         {140, 150, 240, 230}},
        {"an object moved within the area", [](EditorState&) {},
         [](EditorState& s) { s.objects.edit()[0] = testing::rectangle(1, {70, 60, 150, 120}); }, {50, 40, 160, 130}},
        {"the area running past the window's corner", [](EditorState&) {},
         [](EditorState& s) { s.objects.push_back(testing::ellipse(4, {300, 220, 350, 262})); },
         {290, 210, kWidth + 50, kHeight + 40}},
        {"the area across the shade's edge", [](EditorState&) {},
         [](EditorState& s) { s.objects.push_back(testing::rectangle(5, {20, 100, 90, 160})); },
         {10, 90, 100, 170}},
        {"the area on the toolbar's corner", [](EditorState&) {},
         [&](EditorState& s) { s.objects.push_back(testing::rectangle(7, near_panel(-10, -10))); }, panel_corner},
        {"a zoomed monitor's view",
         [](EditorState& s) { s.monitor_views.front().zoom = 2.0; },
         [](EditorState& s) { s.objects.push_back(testing::rectangle(6, {90, 70, 120, 95})); },
         {150, 110, 260, 210}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        row.before(state());
        const std::vector<std::uint8_t> old = painted(nullptr);
        row.change(state());
        const std::vector<std::uint8_t> partly = painted(&row.area);
        EXPECT_NE(partly, old) << "the change shows";
        EXPECT_TRUE(partly == painted(nullptr));
    }
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

// A partial repaint passes over the objects outside its area; those that
// lie outside but reach into it (an outline's width, a head, a turned
// shape) must still be drawn there. (Text is left out: under Wine a text
// whose start lies outside the bound area comes out a shade different from
// the whole frame's even when drawn.)
TEST_F(EditorPaint, ObjectsReachingIntoTheAreaFromOutsideAreDrawnThere) {
    const RECT area{200, 160, 260, 220};
    const SceneObject marker = testing::rectangle(99, {220, 180, 240, 200});
    struct Row {
        const char* name;
        SceneObject reaching;
    };
    const Row rows[] = {
        {"a thick outline", testing::with_width(testing::rectangle(10, {100, 100, 203, 250}), 14.0)},
        {"a turned ellipse", testing::ellipse(12, {120, 175, 215, 205}, 0.3)},
        {"an arrow's head", testing::line(13, {100, 190}, {203, 190}, true, 8.0)},
        {"a highlighter's width", testing::stroke(14, {{120, 190}, {195, 190}}, true, 16.0)},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        state().objects = {row.reaching};
        state().last_id = 99;
        const std::vector<std::uint8_t> old = painted(nullptr);
        state().objects.push_back(marker);
        const std::vector<std::uint8_t> partly = painted(&area);
        EXPECT_NE(partly, old) << "the change shows";
        EXPECT_TRUE(partly == painted(nullptr));
    }
}

}  // namespace
}  // namespace glimmerly
