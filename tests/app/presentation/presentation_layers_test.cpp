// The spotlight, the temporary shapes and the keys-and-mouse display on a
// window of the test's own: what each leaves in its window's own picture
// (never the screen), the styles that decide whether a layer takes the
// mouse, and the messages the windows send the application window.

#include <gtest/gtest.h>

#include <cmath>

#include "app/app/messages.h"
#include "app/presentation/devices.h"
#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/presentation.h"
#include "app/presentation/shapes.h"
#include "app/presentation/spotlight.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "core/presentation/keyboard_caps.h"
#include "tests/app/support/test_pictures.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

struct Pixel {
    std::uint8_t b, g, r, a;
};

Pixel pixel_of(const std::uint8_t* bits, std::int32_t width, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = bits + (std::size_t(y) * width + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}
Pixel pixel_at(const PresentationLayer& layer, std::int32_t x, std::int32_t y) {
    return pixel_of(layer.surface.bits, layer.width, x, y);
}

BgraImage picture_of(const PresentationLayer& layer) {
    const std::size_t bytes = std::size_t(layer.width) * layer.height * 4;
    return {{layer.surface.bits, layer.surface.bits + bytes}, std::uint32_t(layer.width), std::uint32_t(layer.height)};
}

bool takes_the_mouse(HWND window) { return !(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TRANSPARENT); }

class PresentationLayersTest : public testing_support::PresentationFixture {
protected:
    void SetUp() override {
        PresentationFixture::SetUp();
        settings_.presentation_color_2 = {255, 0, 0};
        settings_.presentation_stroke_width = 5;
    }

    // The pointer effects switched on with a spotlight shown all the time,
    // and nothing else that animates: no frame comes unless something asks.
    PresentationCell::Borrow attach_with_lone_spotlight() {
        settings_.pointer.spotlight_shape = 1;
        settings_.pointer.spotlight_shortcut = std::nullopt;
        settings_.pointer.halo_movement = 0;
        auto state = attach();
        EXPECT_TRUE(toggle_presentation_feature(*state, 101));
        return state;
    }
    // Whether the application window was asked to store the settings (and forgets the asks).
    bool save_asked() {
        MSG message{};
        bool asked = false;
        while (PeekMessageW(&message, owner_.get(), WM_APP_SAVE_SETTINGS, WM_APP_SAVE_SETTINGS, PM_REMOVE)) asked = true;
        return asked;
    }
};

TEST(SpotlightWindowTest, DarkensAroundTheCursorInItsOwnPictureAndHidesAgain) {
    auto made = create_spotlight_window();
    ASSERT_TRUE(made);
    SpotlightWindow& spotlight = **made;
    const HWND window = spotlight.window.get();
    EXPECT_EQ(GetWindowLongPtrW(window, GWL_EXSTYLE) & 0x080800A8, 0x080800A8);
    PointerSettings settings;
    settings.spotlight_shape = 1;
    settings.spotlight_darkness = 20;
    ASSERT_TRUE(draw_spotlight(spotlight, true, spotlight.rect.left + 500, spotlight.rect.top + 300, settings, 1.0));
    EXPECT_TRUE(IsWindowVisible(window));
    const std::int32_t width = spotlight.rect.width();
    EXPECT_EQ(pixel_of(spotlight.surface->bits, width, 0, 0).a, 51);
    EXPECT_EQ(pixel_of(spotlight.surface->bits, width, 500, 300).a, 0);
    settings.spotlight_darkness = 90;
    ASSERT_TRUE(draw_spotlight(spotlight, true, spotlight.rect.left + 10, spotlight.rect.top + 10, settings, 1.0));
    EXPECT_EQ(pixel_of(spotlight.surface->bits, width, width - 1, 0).a, 229);
    EXPECT_EQ(pixel_of(spotlight.surface->bits, width, 500, 300).a, 229);
    ASSERT_TRUE(draw_spotlight(spotlight, false, 0, 0, settings, 1.0));
    EXPECT_FALSE(IsWindowVisible(window));
}

TEST_F(PresentationLayersTest, AnArmedShapeTakesEveryPixelAndAFinishedArrowStaysAfterTheDisarm) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 91));
    ASSERT_TRUE(state->shapes_layer);
    EXPECT_TRUE(temporary_shape_armed(*state));
    const HWND window = state->shapes_layer->window.get();
    EXPECT_TRUE(IsWindowVisible(window));
    EXPECT_TRUE(takes_the_mouse(window));
    const PresentationLayer& layer = *state->shapes_layer;
    int other = 0;
    for (std::int32_t y = 0; y < layer.height; ++y)
        for (std::int32_t x = 0; x < layer.width; ++x) {
            const Pixel p = pixel_at(layer, x, y);
            other += p.r != 0 || p.g != 0 || p.b != 0 || p.a != 1;
        }
    EXPECT_EQ(other, 0);

    const PixelPoint origin = state->shapes_origin;
    state.release();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(200 - origin.x, 200 - origin.y));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(400 - origin.x, 200 - origin.y));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(400 - origin.x, 200 - origin.y));
    state = cell_->try_borrow();
    ASSERT_EQ(state->shapes.shapes.size(), 1u);
    EXPECT_FALSE(temporary_shape_armed(*state));
    ASSERT_TRUE(state->shapes_layer);
    EXPECT_FALSE(takes_the_mouse(state->shapes_layer->window.get()));
    ASSERT_TRUE(render_presentation_layer(*state, state->shapes_layer->window.get()));
    testing_support::keep_test_picture(picture_of(*state->shapes_layer), "presentation-temporary-arrow");
    const Pixel shaft = pixel_at(*state->shapes_layer, 300 - origin.x, 200 - origin.y);
    EXPECT_GT(shaft.a, 200);
    EXPECT_GT(shaft.r, 200);
    EXPECT_EQ(pixel_at(*state->shapes_layer, 300 - origin.x, 260 - origin.y).a, 0);
    EXPECT_TRUE(state->timer.set);  // the shape's fade needs frames
}

TEST_F(PresentationLayersTest, AClickAloneDisarmsAndTakesTheEmptyLayerAway) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 92));
    const HWND window = state->shapes_layer->window.get();
    state.release();
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(50, 50));
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(50, 50));
    state = cell_->try_borrow();
    EXPECT_FALSE(state->shapes_layer);
    EXPECT_FALSE(IsWindow(window));
    EXPECT_EQ(state->features, PresentationFeatures{.temporary_shapes = true});
}

TEST_F(PresentationLayersTest, AClosedLayerWindowDisarmsInsteadOfDisappearingUnderItsRecord) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 93));
    const HWND window = state->shapes_layer->window.get();
    // While the state is held, the close is refused.
    EXPECT_EQ(SendMessageW(window, WM_CLOSE, 0, 0), 0);
    EXPECT_TRUE(IsWindow(window));
    state.release();
    SendMessageW(window, WM_CLOSE, 0, 0);
    state = cell_->try_borrow();
    EXPECT_FALSE(temporary_shape_armed(*state));
    EXPECT_FALSE(state->shapes_layer);
}

TEST_F(PresentationLayersTest, TheWheelWhileArmedStepsTheStoredWidthAndAsksForASave) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 91));
    const HWND window = state->shapes_layer->window.get();
    (void)save_asked();
    state.release();
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(600, 400));
    SendMessageW(window, WM_MOUSEWHEEL, MAKEWPARAM(0, 60), MAKELPARAM(600, 400));
    state = cell_->try_borrow();
    EXPECT_EQ(state->shape_width, 6u);
    EXPECT_TRUE(save_asked());
}

TEST_F(PresentationLayersTest, FadingRectanglesAndEllipsesLoseTheirAlphaInTheirOwnPicture) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 92));
    ASSERT_TRUE(disarm_temporary_shape(*state));  // keeps nothing: the layer goes
    ASSERT_TRUE(handle_presentation_hotkey(*state, 92));
    // Far enough on the clock that 750 ms before it is no time before it began.
    const std::uint64_t now = presentation_now(*state) + 1000;
    SceneObject rectangle{.payload = RectanglePayload{{100, 100, 300, 200}}, .color = {0, 0, 255}, .width = 6};
    SceneObject ellipse{.payload = EllipsePayload{{400, 100, 600, 300}}, .color = {0, 0, 255}, .width = 6};
    // Both 250 ms into the last 500 ms of a 1000 ms life: half faded.
    state->shapes.shapes = {{rectangle, now - 750, 10, 1000}, {ellipse, now - 750, 10, 1000}};
    state->shapes.armed = TemporaryShapeKind::None;
    ASSERT_TRUE(render_shapes_layer(*state, now));
    const PresentationLayer& layer = *state->shapes_layer;
    const Pixel edge = pixel_at(layer, 200, 100);
    const Pixel round = pixel_at(layer, 400, 200);
    EXPECT_NEAR(edge.a, 128, 12);
    EXPECT_NEAR(edge.b, 128, 12);
    EXPECT_NEAR(round.a, 128, 12);
}

// Wine draws a pushed layer at full opacity: the arrow's one-piece fade is
// checked only where the platform honours the layer's opacity.
TEST_F(PresentationLayersTest, AFadingArrowShowsNoDarkerOverlapOfShaftAndHead) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(handle_presentation_hotkey(*state, 91));
    PresentationLayer& layer = *state->shapes_layer;
    SceneObject arrow{.payload = LinePayload{.from = {100, 300}, .to = {400, 300}, .head = true}, .color = {0, 0, 255},
                      .width = 10};
    ASSERT_TRUE(begin_layer_draw(layer));
    draw_temporary_shape(layer, arrow, 0.5f, 50);
    ASSERT_TRUE(present_layer(layer));
    const Pixel shaft = pixel_at(layer, 200, 300);
    if (shaft.a > 200) GTEST_SKIP() << "the platform ignores a layer's opacity (alpha " << int(shaft.a) << ")";
    EXPECT_NEAR(shaft.a, 128, 10);
    // Where the shaft runs into the head both are drawn: still one coat.
    const Pixel joint = pixel_at(layer, 400 - 34 + 2, 300);
    EXPECT_NEAR(joint.a, shaft.a, 4);
}

TEST_F(PresentationLayersTest, ThePlacementViewDrawsEveryCapAndAPressedKeyLights) {
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 106));  // the keyboard comes on with the move
    ASSERT_TRUE(state->device_layer);
    EXPECT_TRUE(state->move_armed);
    EXPECT_TRUE(takes_the_mouse(state->device_layer->window.get()));
    ASSERT_TRUE(toggle_presentation_feature(*state, 104));  // and the mouse beside it
    record_key_event(state->keys, 0x1E, false, true, presentation_now(*state));  // A
    ASSERT_TRUE(render_presentation_layer(*state, state->device_layer->window.get()));
    const PresentationLayer& layer = *state->device_layer;
    testing_support::keep_test_picture(picture_of(layer), "presentation-keyboard-placement");
    EXPECT_EQ(layer.width, 520);
    const double s = layer.drawing.design_scale;
    for (const KeyCapPlace& cap : keyboard_caps(state->us_layout)) {
        SCOPED_TRACE(cap.scan);
        // Just inside the cap's corner: its fill, clear of any label.
        const Pixel p = pixel_at(layer, std::int32_t((cap.x + 2.5) * s), std::int32_t((cap.y + 2.5) * s));
        EXPECT_GT(p.a, 150);
        if (cap.scan == 0x1E && !cap.extended) {
            EXPECT_NEAR(p.r, 113 * 0.96, 6);
            EXPECT_NEAR(p.g, 195 * 0.96, 6);
            EXPECT_NEAR(p.b, 255 * 0.96, 6);
        } else {
            EXPECT_LT(p.b, 60);
        }
    }
    ASSERT_TRUE(toggle_presentation_feature(*state, 106));
    EXPECT_FALSE(state->move_armed);
    EXPECT_FALSE(takes_the_mouse(state->device_layer->window.get()));
}

TEST_F(PresentationLayersTest, TheSpotlightShapeSetToOffTakesTheDarkeningAwayAtOnce) {
    auto state = attach_with_lone_spotlight();
    ASSERT_TRUE(state->spotlight);
    const HWND darkening = state->spotlight->window.get();
    EXPECT_TRUE(IsWindowVisible(darkening));
    settings_.pointer.spotlight_shape = 0;
    ASSERT_TRUE(apply_presentation_settings(*state, settings_));
    // Nothing else animates, so no frame would come to take it down.
    EXPECT_FALSE(state->spotlight);
    EXPECT_FALSE(IsWindow(darkening));
    EXPECT_TRUE(state->features.pointer_effects);
}

// The rebuild after a change of the screen: on Windows no pointer event need
// follow it, so no frame would bring the layers back; they are shown by the
// rebuild itself.
TEST_F(PresentationLayersTest, ARebuildForANewScreenShowsTheSpotlightAndThePointerLayerAtOnce) {
    auto state = attach_with_lone_spotlight();
    ASSERT_TRUE(state->spotlight);
    const HWND old_darkening = state->spotlight->window.get();
    ASSERT_TRUE(rebuild_presentation_windows(*state));
    EXPECT_FALSE(IsWindow(old_darkening));
    ASSERT_TRUE(state->spotlight);
    EXPECT_TRUE(IsWindowVisible(state->spotlight->window.get()));
    ASSERT_TRUE(state->pointer_layer);
    EXPECT_TRUE(IsWindowVisible(state->pointer_layer->window.get()));
}

// A label is drawn in the cap it belongs to: pixels of the label colour
// inside the cap's rectangle, away from its outline.
struct CapPixels {
    int dark_label = 0;   // the pressed key's label, (20, 37, 50)
    int light_label = 0;  // a fading key's label, (235, 241, 250) at the fade's alpha
    int drawn = 0;        // any pixel at all
};

CapPixels cap_pixels(const PresentationLayer& layer, const KeyCapPlace& cap) {
    const double s = layer.drawing.design_scale;
    CapPixels seen;
    for (int y = int((cap.y + 2) * s); y < int((cap.y + kKeyPitch * cap.height - kKeyGap - 2) * s); ++y)
        for (int x = int((cap.x + 2) * s); x < int((cap.x + kKeyPitch * cap.width - kKeyGap - 2) * s); ++x) {
            const Pixel p = pixel_at(layer, x, y);
            seen.drawn += p.a > 0;
            seen.dark_label += p.a > 200 && p.r < 60 && p.g < 80 && p.b < 100;
            seen.light_label += p.r > 60 && p.r >= p.a / 3;  // premultiplied: bright for its alpha
        }
    return seen;
}

TEST_F(PresentationLayersTest, APressedKeyShowsItsLabelWhichFadesWithItAndTheRightButtonLights) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.keyboard = true, .mouse = true}));
    ASSERT_TRUE(state->device_layer);
    const KeyCapPlace* j = nullptr;
    for (const KeyCapPlace& cap : keyboard_caps(state->us_layout))
        if (cap.scan == 0x24 && !cap.extended) j = &cap;
    ASSERT_TRUE(j);
    const std::uint64_t t = presentation_now(*state);
    record_key_event(state->keys, 0x24, false, true, t);
    set_key_display_label(state->keys, 0x24, false, std::u16string_view(u"J"));
    ASSERT_TRUE(handle_raw_mouse(*state, RI_MOUSE_RIGHT_BUTTON_DOWN));
    const PresentationLayer& layer = *state->device_layer;
    testing_support::keep_test_picture(picture_of(layer), "presentation-keys-pressed");
    const CapPixels pressed = cap_pixels(layer, *j);
    EXPECT_GT(pressed.dark_label, 4);
    // The right button, lit in the pressed colour (premultiplied at 0.96).
    const double s = layer.drawing.design_scale;
    const Pixel right = pixel_at(layer, std::int32_t(491 * s), std::int32_t(50 * s));
    EXPECT_NEAR(right.b, 255 * 0.96, 8);
    EXPECT_NEAR(right.r, 113 * 0.96, 8);

    struct Row {
        const char* name;
        std::uint64_t after_release;
        bool label;
    };
    record_key_event(state->keys, 0x24, false, false, t);
    for (const Row& row : {Row{"half faded", 300, true}, Row{"faded out", 600, false}}) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(begin_layer_draw(*state->device_layer));
        draw_input_devices(*state->device_layer, state->keys, state->shown_input, state->us_layout,
                           t + row.after_release, false);
        ASSERT_TRUE(present_layer(*state->device_layer));
        const CapPixels fading = cap_pixels(layer, *j);
        EXPECT_EQ(fading.light_label > 4, row.label);
        EXPECT_EQ(fading.dark_label, 0);
        if (!row.label) {
            EXPECT_EQ(fading.drawn, 0);
        }
    }
}

TEST_F(PresentationLayersTest, DraggingTheDisplayStoresItsFractionsAndAsksForASave) {
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 106));
    const HWND window = state->device_layer->window.get();
    RECT before{};
    GetWindowRect(window, &before);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(window, MONITOR_DEFAULTTONEAREST), &monitor);
    (void)save_asked();
    state.release();
    // Each message says where the pointer was when it was sent, as Windows
    // does; where the pointer is by the time it is handled does not count.
    SetCursorPos(before.left + 500, before.top + 500);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
    const auto client = [&](int x, int y) { return MAKELPARAM(x - before.left, y - before.top); };
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, client(before.left - 100, before.top + 10));
    SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON, client(-5000, -5000));  // past the top-left corner
    SendMessageW(window, WM_LBUTTONUP, 0, client(-5000, -5000));
    state = cell_->try_borrow();
    EXPECT_FALSE(state->moving);
    ASSERT_TRUE(state->input_display_offset);
    EXPECT_EQ(*state->input_display_offset, (InputDisplayOffset{0, 0}));
    RECT after{};
    GetWindowRect(window, &after);
    EXPECT_EQ(after.left, monitor.rcWork.left);
    EXPECT_EQ(after.top, monitor.rcWork.top);
    EXPECT_TRUE(save_asked());
}

}  // namespace
}  // namespace glimmerly
