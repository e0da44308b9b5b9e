#include "app/app/instant.h"

#include <gtest/gtest.h>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/support/files.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

TEST(InstantScreenshot, SavesTheMonitorUnderTheNextFreeNumbersWithItsNoticeAndPulse) {
    const win::ComApartment com;
    // A window of one colour on the screen, to be found in the pictures.
    const COLORREF marker = RGB(20, 180, 60);
    const win::UniqueBrush brush(CreateSolidBrush(marker));
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"Glimmerly.Tests.InstantMarker";
    RegisterClassW(&wc);
    const win::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP,
                                                   300, 200, 400, 300, nullptr, nullptr, wc.hInstance, nullptr));
    SetClassLongPtrW(window.get(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush.get()));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint({500, 350}, MONITOR_DEFAULTTOPRIMARY), &monitor);

    const testing_support::MessageLog app_window{WM_APP_INSTANT_SCREENSHOT_DONE};
    testing_support::TempFolder desktop;
    InstantScreenshot instant;
    instant.folder = desktop.path();
    NoticeWindow notice;
    start_instant_screenshot(instant, notice, app_window.window(), {.setup_open = true});
    EXPECT_FALSE(instant.receiver.has_value()) << "refused while the setup is open";
    for (const std::wstring name : {L"001.png", L"002.png"}) {
        SCOPED_TRACE(win::to_utf8(name));
        const int done = app_window.count(WM_APP_INSTANT_SCREENSHOT_DONE);
        start_instant_screenshot(instant, notice, app_window.window(), {});
        ASSERT_TRUE(instant.receiver.has_value());
        start_instant_screenshot(instant, notice, app_window.window(), {});  // a second press starts nothing
        ASSERT_TRUE(app_window.wait_past(WM_APP_INSTANT_SCREENSHOT_DONE, done));
        finish_instant_screenshot(instant, notice, true);
        EXPECT_FALSE(instant.receiver.has_value());

        auto picture = load_image_file(desktop.path() + L"\\" + name);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_EQ(picture->width, static_cast<std::uint32_t>(monitor.rcMonitor.right - monitor.rcMonitor.left));
        EXPECT_EQ(picture->height, static_cast<std::uint32_t>(monitor.rcMonitor.bottom - monitor.rcMonitor.top));
        const std::uint8_t* centre = picture->pixels.data() + (std::size_t{350} * picture->width + 500) * 4;
        EXPECT_EQ(RGB(centre[2], centre[1], centre[0]), marker);
        wchar_t title[256] = {};
        ASSERT_TRUE(notice && GetWindowTextW(notice.get(), title, 256));
        EXPECT_EQ(title, L"Screenshot saved to the Desktop: " + name);
        EXPECT_TRUE(IsWindowVisible(notice.get()));
        EXPECT_TRUE(instant.pulse);
    }
    EXPECT_EQ(testing_support::folder_names(desktop.path()), (std::set<std::wstring>{L"001.png", L"002.png"}));
}

}  // namespace
}  // namespace glimmerly
