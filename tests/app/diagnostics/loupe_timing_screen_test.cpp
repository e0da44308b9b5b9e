// The loupe's timing: a series of 26 moves records 25 latencies and 26
// view updates; a move that never shows fails after its limit naming its
// point, and takes its window with it; the idle measure takes the loupe's
// window message itself and gives a share of one core.

#include "app/diagnostics/loupe_timing.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/app/messages.h"
#include "app/presentation/loupe_probe.h"

namespace glimmerly {
namespace {

const PixelRect kScreen{0, 0, 1920, 1080};

// A reference far from the screen: no sample has a known colour to wait for.
ScreenGrab grab_off_the_screen() { return {{std::vector<std::uint8_t>(4, 255), 1, 1}, -100000, -100000}; }

TEST(LoupeTiming, MovesWithNothingToWatchCountAsReachedAndMoveZeroOnlyWarmsUp) {
    auto loupe = create_loupe(nullptr);
    ASSERT_TRUE(loupe) << loupe.failure().message;
    const ScreenGrab reference = grab_off_the_screen();
    auto series = measure_loupe_latency(**loupe, reference, kScreen);
    ASSERT_TRUE(series) << series.failure().message;
    EXPECT_EQ(series->latencies.size(), 25u);
    EXPECT_EQ(series->updates.size(), 26u);
    // The loupe went back and forth between the two points.
    RECT placed{};
    GetWindowRect((*loupe)->window, &placed);
    EXPECT_EQ(placed.left + 120, latency_move_point(kScreen, 25).x);

    std::vector<double> updates = {1.0};
    auto taskbar = measure_taskbar_latency({960, 1060}, {1080, 1060}, **loupe, updates, kScreen,
                                           {0, 1040, 1920, 1080}, reference);
    ASSERT_TRUE(taskbar) << taskbar.failure().message;
    EXPECT_EQ(taskbar->size(), 25u);
    EXPECT_EQ(updates.size(), 27u);
    destroy_loupe(std::move(*loupe));
}

TEST(LoupeTiming, APlainWindowThatDoesNotShowInTimeFailsAtItsFirstMoveAndIsGone) {
    // Under Wine a moved window reaches the screen only when its thread
    // takes its messages, which the tight poll never does.
    auto latencies = measure_plain_window_latency(kScreen);
    if (latencies) {
        EXPECT_EQ(latencies->size(), 25u);
    } else {
        EXPECT_EQ(latencies.failure().message, never_reached_text(latency_move_point(kScreen, 0)));
        EXPECT_EQ(latencies.failure().code, E_FAIL_CODE);
    }
    EXPECT_FALSE(FindWindowW(LOUPE_PROBE_CLASS, nullptr));
}

TEST(LoupeTiming, TheStillLoupeTakesItsWindowMessageAndCostsAShareOfOneCore) {
    auto receiver = create_green_probe({10, 10, 20, 20});
    ASSERT_TRUE(receiver);
    auto loupe = create_loupe(receiver->window.get());
    ASSERT_TRUE(loupe);
    ASSERT_TRUE(update_loupe_view(**loupe, 400, 300, 240, 2, std::nullopt, {}));
    ASSERT_TRUE((*loupe)->candidates.has_value());
    ASSERT_TRUE(PostMessageW(receiver->window.get(), WM_APP_LOUPE_WINDOW_EVENT, 0, 0));
    auto share = measure_loupe_frame_cost(**loupe, 400, 300);
    ASSERT_TRUE(share) << share.failure().message;
    ASSERT_TRUE(share->has_value()) << "the process's own times were readable";
    EXPECT_TRUE(std::isfinite(**share));
    EXPECT_GE(**share, 0.0);
    EXPECT_FALSE((*loupe)->candidates.has_value());
    MSG left{};
    EXPECT_FALSE(PeekMessageW(&left, nullptr, WM_APP_LOUPE_WINDOW_EVENT, WM_APP_LOUPE_WINDOW_EVENT, PM_NOREMOVE));
    destroy_loupe(std::move(*loupe));
}

}  // namespace
}  // namespace glimmerly
