// The loupe self-check's instruments on the screen: the probe windows show
// their picture where they stand, the framed one the pattern of its own
// client area; the pump takes the loupe's window message and makes it list
// the windows again; the search finds a loupe window only while it exists.

#include "app/presentation/loupe_probe.h"

#include <gtest/gtest.h>

#include "app/app/messages.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using testing_support::eventually;

COLORREF screen_pixel(std::int32_t x, std::int32_t y) { return GetPixel(win::WindowDc::of(nullptr).get(), x, y); }
COLORREF colorref(Rgb c) { return RGB(c.r, c.g, c.b); }

bool shows_pattern_at(std::initializer_list<PixelPoint> points) {
    for (const PixelPoint& p : points)
        if (screen_pixel(p.x, p.y) != colorref(pattern_colour(p.x, p.y))) return false;
    return true;
}

TEST(LoupeProbe, APatternWindowShowsEachPositionsOwnColourAndGoesWhenDestroyed) {
    const PixelRect rect{200, 150, 520, 390};
    auto probe = create_probe_window(rect, kTopmostProbeStyle, pattern_colour);
    ASSERT_TRUE(probe) << probe.failure().message;
    const HWND window = probe->window.get();
    wchar_t text[64]{};
    GetClassNameW(window, text, 64);
    EXPECT_STREQ(text, L"Glimmerly.LoupeProbe");
    GetWindowTextW(window, text, 64);
    EXPECT_STREQ(text, L"Glimmerly loupe probe");
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(window, GWL_EXSTYLE)), 0x080800A8u);
    EXPECT_TRUE(eventually([] { return shows_pattern_at({{200, 150}, {201, 150}, {519, 389}, {360, 270}}); }));

    // A one-colour probe beside it.
    auto green = create_green_probe({600, 150, 640, 190});
    ASSERT_TRUE(green) << green.failure().message;
    EXPECT_TRUE(eventually([] { return screen_pixel(620, 170) == RGB(0, 255, 0); }));

    destroy_probe_window(std::move(*probe));
    destroy_probe_window(std::move(*green));
    EXPECT_FALSE(IsWindow(window));
}

TEST(LoupeProbe, AnEmptyRectangleMakesNoWindow) {
    auto probe = create_magenta_probe({50, 50, 50, 90});
    ASSERT_FALSE(probe);
    EXPECT_EQ(probe.failure().message, "Invalid surface dimensions");
    EXPECT_FALSE(FindWindowW(LOUPE_PROBE_CLASS, nullptr));
}

TEST(LoupeProbe, AWindowKeptFromCapturesSaysSoOrIsLeftAsItWas) {
    // Wine refuses the affinity (error 8); Windows 10 2004 and later take it.
    auto green = create_green_probe({600, 150, 640, 190});
    ASSERT_TRUE(green);
    const bool kept = exclude_from_capture(green->window.get());
    DWORD affinity = 0xFFFF;
    ASSERT_TRUE(GetWindowDisplayAffinity(green->window.get(), &affinity));
    EXPECT_EQ(affinity, kept ? 0x11u : static_cast<DWORD>(WDA_NONE));
}

TEST(LoupeProbe, TheFramedWindowShowsThePatternOfItsOwnClientArea) {
    auto framed = create_framed_probe({300, 200, 700, 500});
    ASSERT_TRUE(framed) << framed.failure().message;
    EXPECT_EQ(static_cast<DWORD>(GetWindowLongW(framed->get(), GWL_STYLE)) & WS_OVERLAPPEDWINDOW,
              static_cast<DWORD>(WS_OVERLAPPEDWINDOW));
    POINT origin{0, 0};
    ASSERT_TRUE(ClientToScreen(framed->get(), &origin));
    RECT client{};
    ASSERT_TRUE(GetClientRect(framed->get(), &client));
    ASSERT_GT(client.right, 100);
    ASSERT_GT(client.bottom, 100);
    EXPECT_TRUE(eventually([&] {
        return shows_pattern_at({{origin.x, origin.y}, {origin.x + 1, origin.y}, {origin.x + 99, origin.y + 77}});
    }));
}

TEST(LoupeProbe, ThePumpTakesTheWindowMessageAndTheLoupeListsTheWindowsAgain) {
    MSG stale{};
    while (PeekMessageW(&stale, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&stale);
    auto probe = create_green_probe({10, 10, 20, 20});
    ASSERT_TRUE(probe);
    auto loupe = create_loupe(probe->window.get());
    ASSERT_TRUE(loupe) << loupe.failure().message;
    ASSERT_TRUE(update_loupe_view(**loupe, 400, 300, 240, 2, std::nullopt, {}));
    EXPECT_TRUE((*loupe)->candidates.has_value());
    ASSERT_TRUE(PostMessageW(probe->window.get(), WM_APP_LOUPE_WINDOW_EVENT, 0, 0));
    pump_probe_messages(**loupe);
    EXPECT_FALSE((*loupe)->candidates.has_value());
    EXPECT_FALSE(loupe_window_event_pending());
    MSG left{};
    EXPECT_FALSE(PeekMessageW(&left, nullptr, 0, 0, PM_NOREMOVE));
    destroy_loupe(std::move(*loupe));
}

TEST(LoupeProbe, TheSearchFindsTheLoupeWindowOnlyWhileItExists) {
    auto loupe = create_loupe(nullptr);
    ASSERT_TRUE(loupe) << loupe.failure().message;
    const HWND window = (*loupe)->window;
    auto found = find_loupe_window(nullptr);
    ASSERT_TRUE(found);
    EXPECT_EQ(*found, window);
    EXPECT_FALSE(find_loupe_window(window));
    destroy_loupe(std::move(*loupe));
    EXPECT_FALSE(find_loupe_window(nullptr));
}

TEST(LoupeProbe, TheProbeMonitorIsTheOnlyScreenHere) {
    const PixelRect chosen = choose_probe_monitor();
    EXPECT_EQ(chosen, (PixelRect{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)}));
}

}  // namespace
}  // namespace glimmerly
