#include "app/app/instant.h"

#include <gtest/gtest.h>

#include "app/image/image_decoder.h"
#include "app/win/com.h"
#include "tests/app/support/files.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::pump_until;

constexpr COLORREF kMarker = RGB(20, 180, 60);

// A window of one colour on the screen, and a message-only window that
// counts the worker's messages, as the application window would get them.
class InstantScene {
public:
    InstantScene() {
        WNDCLASSW marker{};
        marker.lpfnWndProc = DefWindowProcW;
        marker.hInstance = GetModuleHandleW(nullptr);
        marker.hbrBackground = brush_.get();
        marker.lpszClassName = L"Glimmerly.Tests.InstantMarker";
        RegisterClassW(&marker);
        marker_.reset(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, marker.lpszClassName, L"", WS_POPUP, 300, 200,
                                      400, 300, nullptr, nullptr, marker.hInstance, nullptr));
        ShowWindow(marker_.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(marker_.get());

        WNDCLASSW counter{};
        counter.lpfnWndProc = count_done;
        counter.hInstance = GetModuleHandleW(nullptr);
        counter.lpszClassName = L"Glimmerly.Tests.InstantDone";
        RegisterClassW(&counter);
        app_window_.reset(CreateWindowExW(0, counter.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                          counter.hInstance, nullptr));
        SetWindowLongPtrW(app_window_.get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(&done_));
    }
    HWND app_window() const { return app_window_.get(); }
    int done() const { return done_; }

private:
    static LRESULT CALLBACK count_done(HWND window, UINT message, WPARAM w, LPARAM l) noexcept {
        if (message == WM_APP_INSTANT_SCREENSHOT_DONE)
            if (auto* done = reinterpret_cast<int*>(GetWindowLongPtrW(window, GWLP_USERDATA))) ++*done;
        return DefWindowProcW(window, message, w, l);
    }

    win::UniqueBrush brush_{CreateSolidBrush(kMarker)};
    win::UniqueWindow marker_;
    win::UniqueWindow app_window_;
    int done_ = 0;
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
        const int done_before = scene.done();
        start_instant_screenshot(instant, notice, scene.app_window(), {});
        ASSERT_TRUE(instant.receiver.has_value());
        // A second press while it runs starts nothing.
        start_instant_screenshot(instant, notice, scene.app_window(), {});
        ASSERT_TRUE(pump_until([&] { return scene.done() > done_before; }));
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
