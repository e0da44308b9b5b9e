// Whole editor frames drawn through the DC render target into a DIB section,
// as the editor window's memory surface receives them. Fonts differ under
// Wine: the checks look at colours and places, never at letters.

#include "ui/view/frame_renderer.h"

#include <gtest/gtest.h>

#include "app/render/capture_region.h"
#include "app/win/owners.h"
#include "core/document/geometry.h"
#include "core/editor/toolbar.h"
#include "tests/app/render/render_support.h"
#include "tests/core/support/monitors.h"
#include "tests/core/support/objects.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

using testing::has_colour;

constexpr Rgb kGround{200, 100, 50};
const ChromeClock::time_point kNow = ChromeClock::time_point{} + std::chrono::hours(1);

// What the 0.48 black shade leaves of a colour.
Rgb shaded(Rgb c) {
    const auto k = [](std::uint8_t v) { return static_cast<std::uint8_t>(v * 0.52 + 0.5); };
    return {k(c.r), k(c.g), k(c.b)};
}

// Blocks of 10 x 10 pixels, alternating sharply across and darkening
// downwards, so that a pixel tells where in the picture it came from even
// through a smoothed enlargement, and a blur shows.
Rgb block_colour(std::uint32_t x, std::uint32_t y) {
    return {static_cast<std::uint8_t>(x / 10 % 2 ? 190 : 40), static_cast<std::uint8_t>(60 + y / 10 * 9), 120};
}
BgraImage block_picture(std::uint32_t width, std::uint32_t height) {
    BgraImage image = testing::plain_picture(width, height);
    for (std::uint32_t y = 0; y < height; ++y)
        for (std::uint32_t x = 0; x < width; ++x) {
            const Rgb c = block_colour(x, y);
            std::uint8_t* p = &image.pixels[(std::size_t{y} * width + x) * 4];
            p[0] = c.b, p[1] = c.g, p[2] = c.r;
        }
    return image;
}

class EditorFrame : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(com_.initialized()); }

    // One monitor of scale 1 over the picture, the selection committed when given.
    static EditorState editor_over(BgraImage picture, std::optional<Box> selection,
                                   std::vector<testing::DesktopMonitor> monitors = {}) {
        if (monitors.empty()) monitors.push_back({box_at(0, 0, picture.width, picture.height), 1.0});
        EditorState state = testing::capture_over(monitors, selection);
        state.frozen_frame = std::move(picture);
        return state;
    }

    void give_resources(EditorState& state) {
        auto made = create_renderer_resources(false, false);
        ASSERT_TRUE(made) << made.failure().message;
        ASSERT_TRUE(set_background_image(**made, state.frozen_frame));
        editor_window_part(state).renderer.resources = std::move(*made);
    }

    // The frame as the window's memory surface holds it; without `result`
    // the frame must succeed.
    BgraImage render(EditorState& state, FrameOptions options = {}, Status* result = nullptr) {
        if (!editor_window_part(state).renderer.resources) give_resources(state);
        options.now = kNow;
        const std::uint32_t w = state.frame_width, h = state.frame_height;
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), static_cast<LONG>(w), -static_cast<LONG>(h), 1, 32, BI_RGB};
        void* bits = nullptr;
        win::UniqueMemoryDc dc(CreateCompatibleDC(nullptr));
        win::UniqueBitmap dib(CreateDIBSection(dc.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
        win::SelectedObject selected(dc.get(), dib.get());
        const Status rendered = render_frame(state, dc.get(), options);
        if (result) *result = rendered;
        else EXPECT_TRUE(rendered) << rendered.failure().message;
        GdiFlush();
        const auto* bytes = static_cast<const std::uint8_t*>(bits);
        return {{bytes, bytes + std::size_t{w} * h * 4}, w, h};
    }

    win::ComApartment com_;
};

struct Expected {
    const char* name;
    Point at;
    Rgb colour;
};
void expect_all(const BgraImage& frame, std::span<const Expected> rows) {
    for (const Expected& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_TRUE(has_colour(frame, row.at, row.colour));
    }
}

TEST_F(EditorFrame, WithoutASelectionOnlyTheBlurAndTheShadeShow) {
    EditorState state = editor_over(block_picture(320, 240), std::nullopt);
    state.objects = {testing::rectangle(1, {20, 150, 100, 220}), testing::blur(2, {130, 150, 190, 220})};
    state.pointer = {300, 10};  // the prompt stays up there
    const BgraImage frame = render(state);
    const Expected rows[] = {
        {"on the rectangle's outline", {60, 150}, shaded(block_colour(60, 150))},
        {"inside the rectangle", {65, 185}, shaded(block_colour(65, 185))},
        {"beside the blur", {195, 185}, shaded(block_colour(195, 185))},
    };
    expect_all(frame, rows);
    // Blurred, a pixel at a block's edge takes in its neighbours.
    EXPECT_FALSE(has_colour(frame, {160, 185}, shaded(block_colour(160, 185)), 10));
}

TEST_F(EditorFrame, ShadeBandsHandlesAndBorderSurroundTheSelection) {
    // Half-pixel edges, so that the one-pixel border fills whole pixels.
    constexpr Box sel{120.5, 80.5, 280.5, 200.5};
    EditorState state = editor_over(testing::plain_picture(400, 300, kGround), sel);
    state.toolbar_shown = false;
    const BgraImage frame = render(state);
    constexpr Rgb kWhite{250, 250, 250};
    const Expected rows[] = {
        {"top band", {60, 30}, shaded(kGround)},
        {"left band", {40, 140}, shaded(kGround)},
        {"right band", {340, 140}, shaded(kGround)},
        {"bottom band", {200, 260}, shaded(kGround)},
        {"inside, unshaded", {200, 140}, kGround},
        {"border between handles", {160, 80}, kAccent},
        {"just off a handle", {112, 72}, shaded(kGround)},
        {"top-left handle", {120, 80}, kWhite},
        {"top handle", {200, 80}, kWhite},
        {"top-right handle", {280, 80}, kWhite},
        {"right handle", {280, 140}, kWhite},
        {"bottom-right handle", {280, 200}, kWhite},
        {"bottom handle", {200, 200}, kWhite},
        {"bottom-left handle", {120, 200}, kWhite},
        {"left handle", {120, 140}, kWhite},
    };
    expect_all(frame, rows);
}

TEST_F(EditorFrame, TheCurrentToolsButtonIsLitInTheAccent) {
    EditorState state = editor_over(testing::plain_picture(640, 480, kGround), Box{100, 100, 400, 300});
    const auto buttons = layout_toolbar(state);
    const auto edge_of = [&](Tool tool) {
        const auto found = std::find_if(buttons.begin(), buttons.end(),
                                        [&](const ToolbarButton& b) { return b.action == tool_action(tool); });
        // Beside the picture, inside the background even while a press shrinks
        // it; a missing button gives the frame's corner, no button's colour.
        return found == buttons.end() ? Point{} : Point{found->rect.left + 4.5, box_centre(found->rect).y};
    };
    state.tool = Tool::Rectangle;
    const Expected rows[] = {{"current tool", edge_of(Tool::Rectangle), kAccent},
                             {"other tool", edge_of(Tool::Ellipse), {32, 32, 32}}};
    expect_all(render(state), rows);
}

// The toolbar and the size panel are kept between frames: each change of
// their look shows in the next frame drawn with the same resources.
TEST_F(EditorFrame, TheToolbarShowsEachChangeInTheNextFrame) {
    EditorState state = editor_over(testing::plain_picture(640, 480, kGround), Box{100, 100, 400, 300});
    const auto edge_of = [&](Tool tool) {
        const auto buttons = layout_toolbar(state);
        const auto found = std::find_if(buttons.begin(), buttons.end(),
                                        [&](const ToolbarButton& b) { return b.action == tool_action(tool); });
        return found == buttons.end() ? Point{} : Point{found->rect.left + 4.5, box_centre(found->rect).y};
    };
    constexpr Rgb kRest{32, 32, 32}, kHovered{55, 55, 55};
    const struct {
        const char* name;
        std::function<void(EditorState&)> change;
        Rgb rectangle, ellipse;
    } rows[] = {
        {"the rectangle tool", [](EditorState& s) { s.tool = Tool::Rectangle; }, kAccent, kRest},
        {"the ellipse tool", [](EditorState& s) { s.tool = Tool::Ellipse; }, kRest, kAccent},
        {"the pointer on the rectangle's button",
         [&](EditorState& s) { s.pointer = edge_of(Tool::Rectangle); },
         kHovered, kAccent},
        {"the selection moved, the toolbar with it",
         [](EditorState& s) {
             s.capture_selection = Box{150, 60, 450, 260};
             s.pointer = {5, 5};
         },
         kRest, kAccent},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        row.change(state);
        const BgraImage frame = render(state);
        EXPECT_TRUE(has_colour(frame, edge_of(Tool::Rectangle), row.rectangle));
        EXPECT_TRUE(has_colour(frame, edge_of(Tool::Ellipse), row.ellipse));
        // The size panel, kept the same way, follows the selection too.
        const auto panel = place_size_panel(state);
        ASSERT_TRUE(panel);
        EXPECT_TRUE(has_colour(frame, {panel->panel.left + 3.5, box_centre(panel->panel).y}, {25, 25, 25}));
    }
}

TEST_F(EditorFrame, BlurredPiecesAreKeptUntilTheirBlurMovesOrGoes) {
    EditorState state = editor_over(block_picture(200, 160), std::nullopt);
    const auto kept_after = [&](std::vector<SceneObject> objects) -> ID2D1Bitmap* {
        state.objects = std::move(objects);
        render(state);
        auto cache = editor_window_part(state).renderer.resources->blur_bitmaps.borrow();
        return cache->empty() ? nullptr : cache->front().bitmap.get();
    };
    ID2D1Bitmap* first = kept_after({testing::blur(2, {40, 40, 120, 100})});
    EXPECT_EQ(kept_after({testing::blur(2, {40, 40, 120, 100})}), first);
    ID2D1Bitmap* moved = kept_after({testing::blur(2, {41, 40, 121, 100})});
    EXPECT_TRUE(moved && moved != first);
    EXPECT_EQ(kept_after({}), nullptr);
}

TEST_F(EditorFrame, AZoomedMonitorShowsItsPartEnlargedBesideAnUnzoomedOne) {
    EditorState state = editor_over(block_picture(400, 150), std::nullopt,
                                     {{{0, 0, 200, 150}, 1.0}, {{200, 0, 400, 150}, 1.0}});
    state.monitor_views[1].zoom = 2.0;
    state.monitor_views[1].origin = {220, 10};
    state.pointer = {10, 140};
    const BgraImage frame = render(state);
    const Expected rows[] = {
        {"unzoomed, one to one", {180, 20}, shaded(block_colour(180, 20))},
        {"zoomed, half the distance from its origin", {250, 70}, shaded(block_colour(245, 45))},
        {"zoomed, far corner", {395, 145}, shaded(block_colour(317, 82))},
    };
    expect_all(frame, rows);
}

TEST_F(EditorFrame, ALostDeviceIsRebuiltOnceAndTheFrameDrawnWithTheNewResources) {
    const auto lost = static_cast<HRESULT>(D2DERR_RECREATE_TARGET);
    const struct {
        const char* name;
        std::vector<HRESULT> ends;  // what EndDraw reports, attempt by attempt
        std::optional<HRESULT> failure;
        bool rebuilt;
    } rows[] = {
        {"lost, then drawn", {lost, S_OK}, std::nullopt, true},
        {"lost twice", {lost, lost}, lost, true},
        {"another failure", {E_OUTOFMEMORY}, E_OUTOFMEMORY, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EditorState state = editor_over(testing::plain_picture(200, 160, kGround), std::nullopt);
        give_resources(state);
        const RendererResources* before = editor_window_part(state).renderer.resources.get();
        std::size_t attempt = 0;
        FrameOptions options;
        options.end_draw = [&](HRESULT real) { return attempt < row.ends.size() ? row.ends[attempt++] : real; };
        Status result = ok_status();
        const BgraImage frame = render(state, options, &result);
        EXPECT_EQ(attempt, row.ends.size());
        const RendererResources* after = editor_window_part(state).renderer.resources.get();
        EXPECT_EQ(after != before, row.rebuilt);
        if (row.failure) {
            ASSERT_FALSE(result);
            EXPECT_EQ(result.failure().code, static_cast<std::int32_t>(*row.failure));
            continue;
        }
        ASSERT_TRUE(result) << result.failure().message;
        ASSERT_TRUE(after->background);
        EXPECT_TRUE(has_colour(frame, {150, 150}, shaded(kGround)));
    }
}

}  // namespace
}  // namespace glimmerly
