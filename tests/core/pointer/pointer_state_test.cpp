#include "core/pointer/pointer_state.h"

#include <gtest/gtest.h>

#include <cmath>

#include "core/pointer/frame_timer.h"

namespace glimmerly {
namespace {

PointerSettings trail_settings(std::uint32_t style = 1, std::uint32_t length = 2) {
    PointerSettings settings;
    settings.trail_style = style;
    settings.trail_length = length;
    return settings;
}

TEST(PointerTrail, KeepsTheNewestNinetySixPointsInOrder) {
    PointerState state;
    const PointerSettings settings = trail_settings();
    for (int i = 0; i < 97; ++i) track_pointer_trail(state, 10.0 * i, 0.0, 100 + i, 1.0, settings);
    ASSERT_EQ(state.trail.count, kTrailCapacity);
    EXPECT_EQ(state.trail.at(0).x, 10.0);  // the first point made room
    EXPECT_EQ(state.trail.at(95).x, 960.0);
    EXPECT_EQ(state.trail.at(95).time, 196u);
    EXPECT_EQ(state.cursor, (Point{960.0, 0.0}));
}

TEST(PointerTrail, SkipsPointsCloserThanThreeTimesTheScale) {
    struct Row {
        const char* name;
        double scale;
        double step;
        std::size_t count;
    };
    for (const Row& row : {Row{"2.9 at scale 1", 1.0, 2.9, 1}, Row{"3 at scale 1", 1.0, 3.0, 2},
                           Row{"5 at scale 2", 2.0, 5.0, 1}, Row{"6 at scale 2", 2.0, 6.0, 2}}) {
        SCOPED_TRACE(row.name);
        PointerState state;
        track_pointer_trail(state, 0.0, 0.0, 0, row.scale, trail_settings());
        track_pointer_trail(state, row.step, 0.0, 1, row.scale, trail_settings());
        EXPECT_EQ(state.trail.count, row.count);
        EXPECT_EQ(state.cursor, (Point{row.step, 0.0}));  // the cursor moves either way
    }
}

TEST(PointerTrail, DropsPointsThatReachedTheLifetimeAndIgnoresNonFinitePositions) {
    PointerState state;
    track_pointer_trail(state, 0.0, 0.0, 0, 1.0, trail_settings(1, 0));
    track_pointer_trail(state, 50.0, 0.0, 159, 1.0, trail_settings(1, 0));
    EXPECT_EQ(state.trail.count, 2u);
    track_pointer_trail(state, 100.0, 0.0, 160, 1.0, trail_settings(1, 0));
    EXPECT_EQ(state.trail.count, 2u);
    EXPECT_EQ(state.trail.at(0).x, 50.0);
    track_pointer_trail(state, std::nan(""), 0.0, 170, 1.0, trail_settings(1, 0));
    EXPECT_EQ(state.cursor, (Point{100.0, 0.0}));
}

TEST(HaloEasing, ShrinksTheGapToThirtyPercentPerFiftyMillisecondsAndSnaps) {
    PointerSettings smooth;
    smooth.halo_movement = 1;
    PointerState state;
    track_pointer_trail(state, 0.0, 0.0, 0, 1.0, smooth);
    track_pointer_trail(state, 100.0, 0.0, 0, 1.0, smooth);
    EXPECT_EQ(state.displayed, (Point{0.0, 0.0}));  // a smooth halo waits for the frames
    ease_halo(state, 50, smooth);
    EXPECT_NEAR(state.displayed->x, 70.0, 1e-9);
    ease_halo(state, 200, smooth);  // 30 x 0.3^3 = 0.81: not yet
    EXPECT_NEAR(100.0 - state.displayed->x, 0.81, 1e-9);
    ease_halo(state, 250, smooth);
    EXPECT_EQ(state.displayed, state.cursor);

    PointerState instant;
    track_pointer_trail(instant, 0.0, 0.0, 0, 1.0, PointerSettings{});
    track_pointer_trail(instant, 100.0, 0.0, 0, 1.0, PointerSettings{});
    EXPECT_EQ(instant.displayed, (Point{100.0, 0.0}));
}

TEST(PointerLayerSize, IsTheExtentsDiameterRoundedUpToThirtyTwo) {
    PointerSettings neon;
    neon.halo_shape = 3;
    neon.halo_size = 160;
    neon.halo_softness = 100;
    EXPECT_DOUBLE_EQ(halo_extent(neon), 200.0);
    EXPECT_EQ(pointer_layer_size(neon, 96), 416);
    EXPECT_EQ(pointer_layer_size(neon, 144), 608);
    PointerSettings small;  // default disc of 48: extent 49.6
    EXPECT_EQ(pointer_layer_size(small, 96), 128);
    small.click_animation = 1;  // marks need room around the pointer
    EXPECT_EQ(pointer_layer_size(small, 96), 480);
}

TEST(EffectiveSettings, SwitchSectionsOffByTheFeatures) {
    PointerSettings all = trail_settings();
    all.halo_movement = 1;
    all.click_animation = 2;
    all.spotlight_shape = 1;
    all.click_sound = 1;
    const PointerSettings magnified = effective_pointer_settings(all, true, true);
    EXPECT_EQ(magnified.halo_shape, 0u);
    EXPECT_EQ(magnified.halo_movement, 0u);
    EXPECT_EQ(magnified.trail_style, 1u);
    const PointerSettings off = effective_pointer_settings(all, false, true);
    EXPECT_EQ(off.click_animation + off.click_sound + off.spotlight_shape + off.trail_style, 0u);
    EXPECT_TRUE(pointer_effects_visible(effective_pointer_settings(all, true, false)));
    EXPECT_FALSE(pointer_effects_visible(effective_pointer_settings(PointerSettings{}, true, false)));
}

TEST(PointerDirtyRect, UnitesThisFrameWithTheLastAndClampsToTheLayer) {
    PointerState state;
    PointerSettings settings;  // disc of 48: halo half-side 49.6 + 2
    state.displayed = Point{100.25, 100.0};
    add_click_mark(state, 300.0, 100.0, 0, 0);  // 42 around it while younger than 690 ms
    const auto area = pointer_effect_area(state, settings, 1.0, 689);
    ASSERT_TRUE(area);
    const PointerFrameRects now = pointer_frame_rects(area, {10, 20}, PixelRect{-50, 0, 5, 5}, 1000, 1000);
    EXPECT_EQ(now.own, (PixelRect{38, 28, 332, 132}));  // floor and ceil after the origin
    EXPECT_EQ(now.redraw, (PixelRect{0, 0, 332, 132}));
    const auto later = pointer_effect_area(state, settings, 1.0, 690);
    EXPECT_EQ(pointer_frame_rects(later, {10, 20}, {}, 1000, 1000).own, (PixelRect{38, 28, 142, 132}));
    const PointerFrameRects last = pointer_frame_rects(std::nullopt, {0, 0}, PixelRect{990, 990, 1200, 1200}, 1000, 1000);
    EXPECT_FALSE(last.own);
    EXPECT_EQ(last.redraw, (PixelRect{990, 990, 1000, 1000}));
    EXPECT_FALSE(pointer_frame_rects(std::nullopt, {0, 0}, PixelRect{1100, 0, 1200, 5}, 1000, 1000).redraw);
}

TEST(RawMouseButtons, PressesStampTheTimeAndReleasesOnlyLetGo) {
    MouseButtonState buttons;
    apply_raw_mouse_buttons(buttons, 0x1 | 0x10, 100);
    EXPECT_TRUE(buttons.left && buttons.middle && !buttons.right);
    apply_raw_mouse_buttons(buttons, 0x2 | 0x400, 200);  // a release and a wheel turn
    EXPECT_FALSE(buttons.left);
    EXPECT_TRUE(buttons.middle);
    EXPECT_EQ(buttons.last_press, 100u);
    apply_raw_mouse_buttons(buttons, 0x4, 300);
    EXPECT_TRUE(buttons.right);
    EXPECT_EQ(buttons.last_press, 300u);
}

TEST(FrameInterval, MovesFadesOrStops) {
    PointerState marked;
    add_click_mark(marked, 0.0, 0.0, 1000, 0);
    PointerState trailing;
    track_pointer_trail(trailing, 0.0, 0.0, 1000, 1.0, trail_settings(1, 0));
    PointerState easing;
    easing.cursor = Point{5.0, 0.0};
    easing.displayed = Point{0.0, 0.0};
    PointerSettings smooth;
    smooth.halo_movement = 1;
    const PresentationFeatures pointer{.pointer_effects = true};
    const PointerState none;
    struct Row {
        const char* name;
        FrameNeeds needs;
        const PointerState& state;
        PointerSettings settings;
        std::uint64_t now;
        std::uint32_t interval;
    };
    const Row rows[] = {
        {"mark at 689 ms", {.features = pointer}, marked, {}, 1689, 16},
        {"mark past 690 ms", {.features = pointer}, marked, {}, 1690, 0},
        {"mark past 690 ms, a key cap fading", {.features = pointer, .key_cap_fading = true}, marked, {}, 1690, 33},
        {"marks without a cursor feature", {.features = {.keyboard = true}}, marked, {}, 1000, 0},
        {"living trail", {.features = pointer}, trailing, trail_settings(1, 0), 1159, 16},
        {"dead trail", {.features = pointer}, trailing, trail_settings(1, 0), 1160, 0},
        {"easing halo", {.features = pointer}, easing, smooth, 0, 16},
        {"easing under the magnifier", {.features = {.magnifier = true}}, easing, smooth, 0, 0},
        {"press 299 ms ago", {.features = pointer, .last_press = 701}, none, {}, 1000, 33},
        {"press 300 ms ago", {.features = pointer, .last_press = 700}, none, {}, 1000, 0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(choose_frame_interval(row.needs, row.state, row.settings, row.now), row.interval);
    }
}

class FakeTimerHost : public FrameTimerHost {
public:
    Status set_frame_timer(std::uint32_t interval_ms) override {
        sets.push_back(interval_ms);
        return refuse ? Status(plain_failure("refused")) : ok_status();
    }
    void kill_frame_timer() override { ++kills; }
    std::vector<std::uint32_t> sets;
    int kills = 0;
    bool refuse = false;
};

TEST(FrameInterval, AThreadBehindWaitsAsLongAsItsLastFrameTook) {
    const struct Row {
        const char* name;
        std::uint32_t interval, last_frame, paced;
    } rows[] = {
        {"no timer stays none", 0, 90, 0},
        {"a quick frame keeps the pace", 16, 5, 16},
        {"a frame as long as the interval", 16, 16, 32},
        {"a slow frame, in steps of 8 ms", 16, 61, 128},
        {"a fade's pace", 33, 10, 33},
        {"never slower than the slowest", 16, 5000, kSlowestFrameMs},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(paced_frame_interval(row.interval, row.last_frame), row.paced);
    }
}

TEST(FrameTimerSchedule, AsksThePlatformOnlyForAChange) {
    FakeTimerHost host;
    FrameTimer timer;
    for (const std::uint32_t wanted : {16u, 16u, 33u, 33u, 0u, 0u}) ASSERT_TRUE(schedule_frame_timer(timer, wanted, host));
    EXPECT_EQ(host.sets, (std::vector<std::uint32_t>{16, 33}));
    EXPECT_EQ(host.kills, 1);
    host.refuse = true;
    EXPECT_FALSE(schedule_frame_timer(timer, 16, host));
    EXPECT_FALSE(timer.set);
}

}  // namespace
}  // namespace glimmerly
