#include "app/app/instant.h"

#include "app/app/app.h"

#include "app/lib/folder_tree.h"
#include "app/session/desktop_duplication.h"
#include "app/session/image_save.h"
#include "app/session/save_dialog.h"
#include "app/image/screen_grab.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "app/win/threads.h"
#include "text/app_error.h"

namespace glimmerly {
namespace {

using InstantSender = ChannelSender<InstantCaptureResult>;

std::string display_text(const Failure& failure) {
    return error_to_text(failure, current_language(), &win::code_text);
}

Result<std::wstring> grab_and_save(HMONITOR monitor, const PixelRect& area, const std::wstring& chosen_folder) {
    auto picture = grab_monitor(monitor, area);
    if (!picture) return std::move(picture).failure();
    auto folder = chosen_folder.empty() ? save_folder_or_desktop(L"") : Result<std::wstring>(chosen_folder);
    if (!folder) return std::move(folder).failure();
    auto path = next_free_file_name(*folder, ImageFormat::Png);
    if (!path) return std::move(path).failure();
    return save_image_without_replacing(*picture, *path, ImageFormat::Png);
}

void instant_screenshot_worker(InstantSender sender, HMONITOR monitor, PixelRect area, HWND app_window,
                               const std::wstring& folder) noexcept {
    InstantCaptureResult result;
    try {
        win::keep_multithreaded_apartment();
        const win::ComApartment apartment;
        auto saved = apartment.initialized() ? grab_and_save(monitor, area, folder)
                                             : Result<std::wstring>(apartment.status().failure());
        if (saved)
            result.saved_path = std::move(*saved);
        else
            result.failure = display_text(saved.failure());
    } catch (...) {
        result = InstantCaptureResult{};  // read as interrupted
    }
    {
        // Gone before the post: a result that could not be queued then reads
        // as interrupted, never as still running.
        InstantSender owned = std::move(sender);
        try {
            (void)owned.send(result);
        } catch (...) {
        }
    }
    PostMessageW(app_window, WM_APP_INSTANT_SCREENSHOT_DONE, 0, 0);
}

void show_start_failure(NoticeWindow& notice, const Failure& failure) {
    const std::string detail = display_text(failure);
    const std::string text =
        localized_text(current_language(), TextId::notice_screenshot_error, {{"detail", detail}});
    auto made = create_notice_window(win::to_wide(text), true, std::nullopt);
    notice = made ? std::move(*made) : NoticeWindow();
}

// A GUI program's standard error is often not connected; then this is lost.
void write_standard_error(const std::string& line) {
    const HANDLE error = GetStdHandle(STD_ERROR_HANDLE);
    if (!error || error == INVALID_HANDLE_VALUE) return;
    DWORD written = 0;
    WriteFile(error, line.data(), static_cast<DWORD>(line.size()), &written, nullptr);
}

}  // namespace

InstantScreenshot::~InstantScreenshot() { win::join_thread(worker); }

Result<BgraImage> grab_monitor(HMONITOR monitor, const PixelRect& area) {
    auto duplicated = grab_monitor_by_duplication(monitor);
    if (duplicated || !duplication_unavailable(duplicated.failure().code)) return duplicated;
    return grab_screen_rect(area);
}

void start_instant_screenshot(InstantScreenshot& instant, NoticeWindow& notice, HWND app_window,
                              const InstantScreenshotBusy& busy) {
    if (instant_screenshot_refused(busy)) return;
    instant.pulse.reset();
    notice.reset();
    if (instant.receiver) return;  // a second press only clears the feedback

    const HMONITOR monitor = MonitorFromWindow(GetForegroundWindow(), MONITOR_DEFAULTTOPRIMARY);
    MONITORINFO info{sizeof info};
    if (!GetMonitorInfoW(monitor, &info)) return show_start_failure(notice, win::win32_failure("GetMonitorInfoW"));
    const PixelRect area{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};

    auto [sender, receiver] = make_channel<InstantCaptureResult>();
    auto worker = win::start_named_thread(L"instant-screenshot", [sender = std::move(sender), monitor, area,
                                                                  app_window, folder = instant.folder]() mutable {
        instant_screenshot_worker(std::move(sender), monitor, area, app_window, folder);
    });
    if (!worker) return show_start_failure(notice, worker.failure());
    instant.worker = std::move(*worker);
    instant.receiver.emplace(std::move(receiver));
    instant.monitor = area;
}

void finish_instant_screenshot(InstantScreenshot& instant, NoticeWindow& notice, bool keeps_settings) {
    if (!instant.receiver) return;
    ChannelPoll<InstantCaptureResult> poll = instant.receiver->try_receive();
    if (std::holds_alternative<ChannelEmpty>(poll)) return;  // the worker is not done yet
    InstantCaptureResult result;
    if (auto* value = std::get_if<InstantCaptureResult>(&poll)) result = std::move(*value);
    if (!result.saved_path && result.failure.empty()) result.failure = "Screenshot interrupted";
    instant.receiver.reset();
    win::join_thread(instant.worker);  // it has sent: only its post and return are left
    const PixelRect monitor = instant.monitor;

    const Language language = current_language();
    const std::string text =
        result.saved_path
            ? localized_text(language, TextId::notice_instant_saved,
                             {{"name", win::to_utf8(win::from_u16(file_name_of(win::to_u16(*result.saved_path))))}})
            : localized_text(language, TextId::notice_screenshot_failed);
    auto made = create_notice_window(win::to_wide(text), keeps_settings, monitor);
    notice = made ? std::move(*made) : NoticeWindow();

    if (!result.saved_path) {
        instant.pulse.reset();
        write_standard_error("Instant screenshot: " + result.failure + "\n");
        return;
    }
    instant.pulse = create_capture_pulse(monitor, keeps_settings);
    if (keeps_settings) instant.shutter.play();
}

Status start_instant_screenshot(App& app, HWND window) {
    const bool linked = app.editor.has_value();
    const InstantScreenshotBusy busy{app.setup_open, app.capture_session != nullptr,
                                     linked && app.editor->link.state == EditorLinkState::Capturing,
                                     linked && app.editor->link.capture_requested};
    start_instant_screenshot(app.instant, app.notice, window, busy);
    return ok_status();
}

Status finish_instant_screenshot(App& app, HWND) {
    finish_instant_screenshot(app.instant, app.notice, app.keeps_settings);
    return ok_status();
}

}  // namespace glimmerly
