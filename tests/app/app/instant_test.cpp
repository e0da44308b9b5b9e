#include "app/app/instant.h"

#include <gtest/gtest.h>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/support/files.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

constexpr COLORREF kMarker = RGB(20, 180, 60);

// A window of one colour on the screen, and a window that counts the
// worker's messages, as the application window would get them.
class InstantScene {
public:
    InstantScene() {
        WNDCLASSW marker{};
        marker.lpfnWndProc = DefWindowProcW;
        marker.hInstance = GetModuleHandleW(nullptr);
        marker.lpszClassName = L"Glimmerly.Tests.InstantMarker";
        RegisterClassW(&marker);
        marker_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, marker.lpszClassName, L"", WS_POPUP, 300, 200,
                                      400, 300, nullptr, nullptr, marker.hInstance, nullptr));
        // The class outlives this scene's brush: each scene gives it its own.
        SetClassLongPtrW(marker_.get(), GCLP_HBRBACKGROUND, reinterpret_cast<LONG_PTR>(brush_.get()));
        ShowWindow(marker_.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(marker_.get());
    }
    HWND app_window() const { return done_.window(); }
    const testing_support::MessageLog& done() const { return done_; }

private:
    win::UniqueBrush brush_{CreateSolidBrush(kMarker)};
    win::UniqueWindow marker_;
    testing_support::MessageLog done_{WM_APP_INSTANT_SCREENSHOT_DONE};
};

std::wstring title_of(HWND window) {
    wchar_t text[256] = {};
    GetWindowTextW(window, text, 256);
    return text;
}

TEST(InstantScreenshot, SavesTheMonitorUnderTheNextFreeNumbersWithItsNoticeAndPulse) {
    const win::ComApartment com;
    const InstantScene scene;
    testing_support::TempFolder desktop;
    InstantScreenshot instant;
    instant.folder = desktop.path();
    NoticeWindow notice;
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint({500, 350}, MONITOR_DEFAULTTOPRIMARY), &monitor);

    for (const std::wstring name : {L"001.png", L"002.png"}) {
        SCOPED_TRACE(win::to_utf8(name));
        const int done_before = scene.done().count(WM_APP_INSTANT_SCREENSHOT_DONE);
        start_instant_screenshot(instant, notice, scene.app_window(), {});
        ASSERT_TRUE(instant.receiver.has_value());
        // A second press while it runs starts nothing.
        start_instant_screenshot(instant, notice, scene.app_window(), {});
        ASSERT_TRUE(scene.done().wait_past(WM_APP_INSTANT_SCREENSHOT_DONE, done_before));
        finish_instant_screenshot(instant, notice, true);
        EXPECT_FALSE(instant.receiver.has_value());

        auto picture = load_image_file(desktop.path() + L"\\" + name);
        ASSERT_TRUE(picture.ok()) << picture.failure().message;
        EXPECT_EQ(picture->width, static_cast<std::uint32_t>(monitor.rcMonitor.right - monitor.rcMonitor.left));
        EXPECT_EQ(picture->height, static_cast<std::uint32_t>(monitor.rcMonitor.bottom - monitor.rcMonitor.top));
        const std::uint8_t* centre = picture->pixels.data() + (std::size_t{350} * picture->width + 500) * 4;
        EXPECT_EQ(RGB(centre[2], centre[1], centre[0]), kMarker);

        ASSERT_TRUE(notice);
        EXPECT_EQ(title_of(notice.get()), L"Screenshot saved to the Desktop: " + name);
        EXPECT_TRUE(IsWindowVisible(notice.get()));
        EXPECT_TRUE(instant.pulse);
    }
    EXPECT_EQ(testing_support::folder_names(desktop.path()), (std::set<std::wstring>{L"001.png", L"002.png"}));
}

TEST(InstantScreenshot, IsRefusedWhileACaptureOrTheSetupIsOpenAndLeavesTheFeedback) {
    const InstantScene scene;
    InstantScreenshot instant;
    NoticeWindow notice;
    replace_notice(notice, NOTICE_COPIED);
    ASSERT_TRUE(notice);
    const InstantScreenshotBusy busy[] = {{true, false, false, false},
                                          {false, true, false, false},
                                          {false, false, true, false},
                                          {false, false, false, true}};
    for (const InstantScreenshotBusy& row : busy) {
        start_instant_screenshot(instant, notice, scene.app_window(), row);
        EXPECT_FALSE(instant.receiver.has_value());
        EXPECT_TRUE(notice);
    }
}

}  // namespace
}  // namespace glimmerly
