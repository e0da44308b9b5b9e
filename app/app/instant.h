#pragma once
// The instant screenshot: the whole monitor of the foreground window saved
// as a PNG file on the Desktop without the editor. The grab and the save run
// on the "instant-screenshot" worker; the application window gets
// WM_APP_INSTANT_SCREENSHOT_DONE and finishes on its own thread with a
// notice, the capture pulse round the monitor and the shutter sound.
//
// The App keeps one InstantScreenshot and its notice slot, and calls:
//   the shortcut or the tray command:  start_instant_screenshot
//   WM_APP_INSTANT_SCREENSHOT_DONE (or TIMER_INSTANT_RETRY when the message
//   came while the App was in use):    finish_instant_screenshot

#include <windows.h>

#include <optional>
#include <string>

#include "app/app/capture_pulse.h"
#include "app/app/notice.h"
#include "app/app/shutter.h"
#include "app/win/owners.h"
#include "core/base/channel.h"
#include "core/base/pixel_rect.h"
#include "core/image/bgra_image.h"
#include "core/instant/instant_screenshot.h"

namespace glimmerly {

// The worker's one result: the file written, or the display text of the
// failure that stopped it.
struct InstantCaptureResult {
    std::optional<std::wstring> saved_path;
    std::string failure;
};

// What the App keeps for the instant screenshot. Members in creation order.
struct InstantScreenshot {
    InstantScreenshot() = default;
    InstantScreenshot(const InstantScreenshot&) = delete;
    InstantScreenshot& operator=(const InstantScreenshot&) = delete;
    // Waits for a worker still running: it holds nothing of the App's, but
    // the process must not end under its half-written file.
    ~InstantScreenshot();

    // Where pictures go; empty means the Desktop (tests give their own).
    std::wstring folder;
    // Present from the worker's start until its result is taken: while it
    // is, a screenshot runs and no other starts.
    std::optional<ChannelReceiver<InstantCaptureResult>> receiver;
    win::UniqueHandle worker;
    PixelRect monitor{};  // the grabbed monitor, as GetMonitorInfoW gave it
    PulseWindow pulse;
    ShutterPlayer shutter;
};

struct App;

// The App's shortcut and menu command: refused while a capture or the setup
// could be caught in the picture.
Status start_instant_screenshot(App& app, HWND window);
// WM_APP_INSTANT_SCREENSHOT_DONE, or its retry timer.
Status finish_instant_screenshot(App& app, HWND window);

// Starts a screenshot of the foreground window's monitor (the primary one
// when there is no foreground window), unless `busy` refuses it. The old
// pulse and notice go first, also when a screenshot already runs (then
// nothing else happens). A failure to start shows "Screenshot failed:
// {detail}" in `notice`.
void start_instant_screenshot(InstantScreenshot& instant, NoticeWindow& notice, HWND app_window,
                              const InstantScreenshotBusy& busy);

// Takes the worker's result when there is one (harmless to call at any
// time): the notice over the monitor naming the file, or telling of the
// failure; on success the pulse, and, when `keeps_settings` (not a probe or
// diagnostic run, which also keeps the feedback hidden), the shutter sound.
// A failure's text also goes to standard error.
void finish_instant_screenshot(InstantScreenshot& instant, NoticeWindow& notice, bool keeps_settings);

// The monitor's picture: by desktop duplication, or, where the platform has
// none (E_NOTIMPL, DXGI_ERROR_UNSUPPORTED, DXGI_ERROR_NOT_CURRENTLY_AVAILABLE),
// by a GDI grab of the monitor's rectangle.
Result<BgraImage> grab_monitor(HMONITOR monitor, const PixelRect& area);

}  // namespace glimmerly
