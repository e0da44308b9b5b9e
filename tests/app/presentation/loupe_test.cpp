// The magnifier's loupe under Wine, which has no thumbnails and an old build
// number: it is drawn in bands (its dark background only), centred on the
// point, placed once for an unchanged view, and gone when dropped.

#include "app/presentation/loupe.h"

#include <gtest/gtest.h>

#include <cmath>

#include "app/app/messages.h"
#include "app/presentation/capture_interfaces.h"
#include "app/presentation/presentation.h"
#include "app/win/owners.h"
#include "tests/app/support/app_window.h"

namespace glimmerly {
namespace {

RECT window_rect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

TEST(Loupe, BandedUnderWineCentredOnThePointAndPlacedOnceWhenNothingChanged) {
    auto loupe = create_loupe(nullptr);
    ASSERT_TRUE(loupe) << loupe.failure().message;
    const HWND window = (*loupe)->window;
    wchar_t name[64]{};
    GetClassNameW(window, name, 64);
    EXPECT_STREQ(name, L"Glimmerly.Loupe");
    GetWindowTextW(window, name, 64);
    EXPECT_STREQ(name, L"Glimmerly loupe");
    EXPECT_FALSE(IsWindowVisible(window));
    const auto reason = band_fallback_reason();
    ASSERT_TRUE(reason);
    EXPECT_EQ(reason->rfind("Windows build ", 0), 0u) << *reason;
    EXPECT_NE(reason->find(", before 22000"), std::string::npos) << *reason;

    ASSERT_TRUE(update_loupe_view(**loupe, 500, 400, 240, 2, std::nullopt, {}));
    EXPECT_TRUE(IsWindowVisible(window));
    const RECT placed = window_rect(window);
    EXPECT_EQ(placed.left, 380);
    EXPECT_EQ(placed.top, 280);
    EXPECT_EQ(placed.right - placed.left, 240);
    EXPECT_EQ(placed.bottom - placed.top, 240);
    EXPECT_EQ((*loupe)->placements_drawn, 1u);
    EXPECT_EQ(GetWindowLongW(window, GWL_EXSTYLE) & 0x080800A8, 0x080800A8);

    ASSERT_TRUE(update_loupe_view(**loupe, 500, 400, 240, 2, std::nullopt, {}));
    EXPECT_EQ((*loupe)->placements_drawn, 1u);

    // Zoom 7 loses a pixel each side.
    ASSERT_TRUE(update_loupe_view(**loupe, 500, 400, 240, 7, std::nullopt, {}));
    EXPECT_EQ((*loupe)->placements_drawn, 2u);
    const RECT zoomed = window_rect(window);
    EXPECT_EQ(zoomed.left, 381);
    EXPECT_EQ(zoomed.right - zoomed.left, 238);

    destroy_loupe(std::move(*loupe));
    EXPECT_FALSE(IsWindow(window));
}

TEST(Loupe, WindowsLeftOutAndThoseAwayFromTheSquareAreNotBeneath) {
    const std::vector<LoupeCandidate> candidates = {
        {reinterpret_cast<LoupeWindowId>(GetDesktopWindow()), {0, 0, 4000, 4000}},
        {1234, {5000, 5000, 5100, 5100}},
    };
    const PixelRect square{100, 100, 220, 220};
    EXPECT_TRUE(next_window_beneath(candidates, square, {GetDesktopWindow()}).empty());
}

// What the loupe shows at each zoom: every piece of its bands, cut by the
// window's round region, covers the disc within r - 3 and nothing beyond
// r + 3 (the region trims the one-row strips that reach further at zoom 5
// and above).
TEST(Loupe, BandsCutByTheWindowRegionFillTheCircleWithinThreePixels) {
    auto loupe = create_loupe(nullptr);
    ASSERT_TRUE(loupe);
    const std::vector<LoupeCandidate> beneath = {{1, {-5000, -5000, 5000, 5000}}};
    for (std::uint32_t zoom = 2; zoom <= 8; ++zoom) {
        SCOPED_TRACE(zoom);
        ASSERT_TRUE(update_loupe_view(**loupe, 600, 500, 240, zoom, std::nullopt, {}));
        win::UniqueRegion region(CreateRectRgn(0, 0, 0, 0));
        ASSERT_NE(GetWindowRgn((*loupe)->window, region.get()), ERROR);
        const LoupeSquares sq = loupe_squares(600, 500, 240, zoom);
        const auto pieces = loupe_placements(sq.source, sq.zoom, loupe_strips(sq.source, sq.destination, sq.zoom),
                                             beneath);
        const std::int32_t side = sq.destination.width();
        std::vector<bool> painted(std::size_t(side) * side, false);
        for (const LoupePlacement& p : pieces)
            for (std::int32_t y = std::max(p.destination.top, 0); y < std::min(p.destination.bottom, side); ++y)
                for (std::int32_t x = std::max(p.destination.left, 0); x < std::min(p.destination.right, side); ++x)
                    painted[std::size_t(y) * side + x] = PtInRegion(region.get(), x, y);
        const double r = side * 0.5;
        int uncovered = 0, beyond = 0;
        for (std::int32_t y = 0; y < side; ++y)
            for (std::int32_t x = 0; x < side; ++x) {
                const double d = std::hypot(x + 0.5 - r, y + 0.5 - r);
                if (d <= r - 3 && !painted[std::size_t(y) * side + x]) ++uncovered;
                if (d > r + 3 && painted[std::size_t(y) * side + x]) ++beyond;
            }
        EXPECT_EQ(uncovered, 0);
        EXPECT_EQ(beyond, 0);
    }
}

// However many window events come before the first is handled, one message
// waits; a post that fails leaves none waiting, so the next event is posted.
TEST(LoupeWindowEvents, OneMessageWaitsAtATimeAndAFailedPostLeavesNoneWaiting) {
    WNDCLASSW window_class{.lpfnWndProc = DefWindowProcW, .lpszClassName = L"Glimmerly.Tests.LoupeEvents"};
    RegisterClassW(&window_class);
    const auto make_owner = [&] {
        return win::UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW, window_class.lpszClassName, L"", WS_POPUP, 0, 0,
                                                 10, 10, nullptr, nullptr, nullptr, nullptr));
    };
    const HWND moved = GetDesktopWindow();
    const auto announce = [&] {
        loupe_window_event(nullptr, EVENT_OBJECT_LOCATIONCHANGE, moved, OBJID_WINDOW, CHILDID_SELF, 0, 0);
    };
    {
        win::UniqueWindow owner = make_owner();
        auto loupe = create_loupe(owner.get());
        ASSERT_TRUE(loupe);
        for (int i = 0; i < 3; ++i) announce();
        EXPECT_TRUE(loupe_window_event_pending());
        int posted = 0;
        for (MSG message; PeekMessageW(&message, owner.get(), WM_APP_LOUPE_WINDOW_EVENT, WM_APP_LOUPE_WINDOW_EVENT,
                                       PM_REMOVE);)
            ++posted;
        EXPECT_EQ(posted, 1);
    }
    win::UniqueWindow owner = make_owner();
    auto loupe = create_loupe(owner.get());
    ASSERT_TRUE(loupe);
    EXPECT_FALSE(loupe_window_event_pending());  // a new loupe starts with none
    owner.reset();
    announce();
    EXPECT_FALSE(loupe_window_event_pending());
}

// While the presentation is in use (a box shown under one of its handlers),
// the application window cannot hand it the message: the next event posts.
TEST(LoupeWindowEvents, AnEventThatFindsThePresentationBusyLeavesNoneWaiting) {
    testing_support::TestAppWindow app;
    auto attached = attach_presentation_state(app.window(), Settings{});
    ASSERT_TRUE(attached);
    std::unique_ptr<PresentationCell> cell = std::move(*attached);
    auto loupe = create_loupe(app.window());
    ASSERT_TRUE(loupe);
    const auto announce = [] {
        loupe_window_event(nullptr, EVENT_OBJECT_REORDER, GetDesktopWindow(), OBJID_WINDOW, CHILDID_SELF, 0, 0);
    };
    announce();
    {
        auto busy = cell->try_borrow();
        ASSERT_TRUE(busy);
        MSG message;
        ASSERT_TRUE(PeekMessageW(&message, app.window(), WM_APP_LOUPE_WINDOW_EVENT, WM_APP_LOUPE_WINDOW_EVENT,
                                 PM_REMOVE));
        DispatchMessageW(&message);
    }
    EXPECT_FALSE(loupe_window_event_pending());
    announce();
    MSG message;
    EXPECT_TRUE(PeekMessageW(&message, app.window(), WM_APP_LOUPE_WINDOW_EVENT, WM_APP_LOUPE_WINDOW_EVENT, PM_REMOVE));
    destroy_loupe(std::move(*loupe));
    destroy_presentation_state(std::move(cell));
}

TEST(CaptureInterfaces, IdentitiesComeFromTheCheckedTable) {
    const GUID& handler = __uuidof(wgc::IFrameArrivedHandler);
    EXPECT_EQ(handler.Data1, 0x51A947F7u);
    EXPECT_EQ(__uuidof(wgc::IDCompositionVisual3).Data1, 0x2775F462u);
    EXPECT_EQ(__uuidof(wgc::IGraphicsCaptureSession3).Data4[7], 0xBE);
}

}  // namespace
}  // namespace glimmerly
