// Presentation mode on a window of the test's own: the features switched
// from the tray's command, the pointer layer's window and pixels, raw mouse
// input as the system would hand it over, and the mode falling back to all
// off when a window cannot be made.

#include "app/presentation/presentation.h"

#include <gtest/gtest.h>

#include <vector>

#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "tests/app/support/test_pictures.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

constexpr POINT kPointer{400, 300};
constexpr Rgb kHalo{255, 211, 64};

struct Pixel {
    std::uint8_t b, g, r, a;
};

Pixel pixel_at(const PresentationLayer& layer, std::int32_t x, std::int32_t y) {
    const std::uint8_t* p = layer.surface.bits + (std::size_t(y) * layer.surface.width + std::size_t(x)) * 4;
    return {p[0], p[1], p[2], p[3]};
}

BgraImage picture_of(const PresentationLayer& layer) {
    const std::size_t bytes = std::size_t(layer.surface.width) * layer.surface.height * 4;
    return {{layer.surface.bits, layer.surface.bits + bytes}, layer.surface.width, layer.surface.height};
}

// Premultiplied: a colour at an opacity reads as each channel times it.
::testing::AssertionResult shows(Pixel got, Rgb colour, double opacity, int tolerance = 3) {
    const auto within = [&](int channel, double want) { return std::abs(channel - want) <= tolerance; };
    if (within(got.a, 255 * opacity) && within(got.r, colour.r * opacity) && within(got.g, colour.g * opacity) &&
        within(got.b, colour.b * opacity))
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "pixel " << int(got.r) << "," << int(got.g) << "," << int(got.b) << " alpha "
                                         << int(got.a);
}

std::vector<RAWINPUTDEVICE> registered_raw_input() {
    UINT count = 0;
    GetRegisteredRawInputDevices(nullptr, &count, sizeof(RAWINPUTDEVICE));
    std::vector<RAWINPUTDEVICE> devices(count);
    if (count) GetRegisteredRawInputDevices(devices.data(), &count, sizeof(RAWINPUTDEVICE));
    devices.resize(count);
    return devices;
}

int g_layers_made = 0;
int g_fail_at = 0;

// The platform's layer, except that the g_fail_at-th one is refused.
Result<LayerPointer> counting_layer_maker(std::int32_t x, std::int32_t y, std::int32_t width, std::int32_t height,
                                          void* cell) {
    if (++g_layers_made == g_fail_at) return plain_failure("Layer refused by the test");
    return create_presentation_layer(x, y, width, height, cell);
}

class PresentationTest : public testing_support::PresentationFixture {
protected:
    PresentationTest() : PresentationFixture(kPointer) {}

    void SetUp() override {
        PresentationFixture::SetUp();
        settings_.presentation_color_1 = kHalo;
        g_layers_made = g_fail_at = 0;
    }
};

TEST_F(PresentationTest, PointerEffectsCommandShowsASquareLayerOnThePointerAndTakesItAllBack) {
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    ASSERT_TRUE(state->pointer_layer);
    const HWND layer = state->pointer_layer->window.get();
    RECT shown{};
    GetWindowRect(layer, &shown);
    EXPECT_EQ(shown.right - shown.left, 128);  // a disc of 48: 2 x 49.6 rounded up to 32s
    EXPECT_EQ(shown.bottom - shown.top, 128);
    EXPECT_EQ((shown.left + shown.right) / 2, kPointer.x);
    EXPECT_EQ((shown.top + shown.bottom) / 2, kPointer.y);
    EXPECT_TRUE(IsWindowVisible(layer));
    EXPECT_EQ(GetWindowLongPtrW(layer, GWL_EXSTYLE) & kPresentationLayerStyle, LONG_PTR{kPresentationLayerStyle});
    const auto devices = registered_raw_input();
    ASSERT_EQ(devices.size(), 1u);
    EXPECT_EQ(devices[0].usUsage, 2);
    EXPECT_EQ(devices[0].dwFlags, DWORD{RIDEV_INPUTSINK});
    EXPECT_EQ(devices[0].hwndTarget, owner_.get());

    // The disc: a faint fill inside, a stronger outline at its radius of 24,
    // nothing past it.
    const PresentationLayer& picture = *state->pointer_layer;
    testing_support::keep_test_picture(picture_of(picture), "presentation-disc-halo");
    EXPECT_TRUE(shows(pixel_at(picture, 64, 64), kHalo, 0.14));
    EXPECT_TRUE(shows(pixel_at(picture, 64 + 23, 64), kHalo, 0.55 + 0.14 * 0.45));
    EXPECT_TRUE(shows(pixel_at(picture, 64 + 30, 64), kHalo, 0.0));

    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    EXPECT_FALSE(state->pointer_layer);
    EXPECT_FALSE(IsWindow(layer));
    EXPECT_FALSE(state->timer.set);
    EXPECT_TRUE(registered_raw_input().empty());
    EXPECT_EQ(state->features, PresentationFeatures{});
}

TEST_F(PresentationTest, ATrailCoversTheMonitorAndAClickLeavesARipple) {
    settings_.pointer.halo_shape = 0;  // the ripple alone under the pointer
    settings_.pointer.trail_style = 1;
    settings_.pointer.click_animation = 1;
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    ASSERT_TRUE(state->pointer_layer);
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint(kPointer, MONITOR_DEFAULTTONEAREST), &monitor);
    RECT shown{};
    GetWindowRect(state->pointer_layer->window.get(), &shown);
    EXPECT_TRUE(EqualRect(&shown, &monitor.rcMonitor));

    state->last_effects_update.reset();  // the press draws its frame at once
    ASSERT_TRUE(handle_raw_mouse(*state, RI_MOUSE_LEFT_BUTTON_DOWN));
    EXPECT_EQ(state->pointer.marks[0].button, 0);
    EXPECT_TRUE(state->timer.set);
    const PresentationLayer& layer = *state->pointer_layer;
    testing_support::keep_test_picture(picture_of(layer), "presentation-ripple");
    // A fill of 35 % in the left-click colour, fading from the first frame on.
    const Pixel centre = pixel_at(layer, kPointer.x - monitor.rcMonitor.left, kPointer.y - monitor.rcMonitor.top);
    EXPECT_GE(centre.a, 70);
    EXPECT_LE(centre.a, 92);
    EXPECT_GT(centre.r, centre.b);
    EXPECT_TRUE(shows(pixel_at(layer, kPointer.x + 60, kPointer.y), {}, 0.0));
}

TEST_F(PresentationTest, AWindowThatCannotBeMadeLeavesEveryFeatureOff) {
    settings_.pointer.trail_style = 1;  // a square first, then the monitor-wide layer
    for (const int refused : {1, 2}) {
        SCOPED_TRACE(refused);
        auto state = attach();
        state->make_layer = counting_layer_maker;
        g_layers_made = 0;
        g_fail_at = refused;
        const Status applied = toggle_presentation_feature(*state, 101);
        ASSERT_FALSE(applied);
        EXPECT_EQ(applied.failure().message, "Layer refused by the test");
        EXPECT_EQ(state->features, PresentationFeatures{});
        EXPECT_FALSE(state->pointer_layer);
        EXPECT_FALSE(state->timer.set);
        EXPECT_TRUE(registered_raw_input().empty());
        state.release();
        destroy_presentation_state(std::move(cell_));
    }
}

TEST_F(PresentationTest, ACaptureTakesTheFeaturesAwayAndGivesThemBack) {
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.pointer_effects = true, .temporary_shapes = true}));
    ASSERT_TRUE(suspend_presentation(*state));
    EXPECT_FALSE(state->pointer_layer);
    EXPECT_EQ(state->features, PresentationFeatures{});
    EXPECT_TRUE(registered_raw_input().empty());
    ASSERT_TRUE(resume_presentation(*state));
    EXPECT_TRUE(state->pointer_layer);
    EXPECT_EQ(state->features, (PresentationFeatures{.pointer_effects = true, .temporary_shapes = true}));
    EXPECT_FALSE(state->saved_features);
}

TEST(RawInputRecord, NeedsTheHeaderAndTheWholeBodyOfItsType) {
    struct Row {
        const char* name;
        DWORD type;
        UINT read;
        bool taken;
    };
    const Row rows[] = {
        {"header cut", RIM_TYPEMOUSE, 23, false},   {"mouse header only", RIM_TYPEMOUSE, 24, false},
        {"mouse cut", RIM_TYPEMOUSE, 47, false},    {"mouse whole", RIM_TYPEMOUSE, 48, true},
        {"keyboard cut", RIM_TYPEKEYBOARD, 39, false}, {"keyboard whole", RIM_TYPEKEYBOARD, 40, true},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RAWINPUT record{};
        record.header.dwType = row.type;
        auto checked = checked_raw_input(record, row.read);
        EXPECT_EQ(checked.ok(), row.taken);
        if (!checked) {
            EXPECT_EQ(checked.failure().message, "Truncated input event");
        }
    }
}

}  // namespace
}  // namespace glimmerly
