#include "tests/app/support/app_window.h"

#include "app/app/events.h"
#include "app/lib/run_app.h"

namespace glimmerly::testing_support {

TestAppWindow::TestAppWindow(AppOptions options) : cell_(std::make_unique<AppCell>(std::move(options))) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    if (!register_app_window_class(instance)) return;
    auto window = create_app_window(cell_.get(), WS_EX_TOOLWINDOW);
    auto icon = load_small_app_icon(instance);
    if (!window || !icon) return;
    window_.reset(*window);
    attach_app_window(*cell_->try_borrow(), *window, *icon);
}

TestAppWindow::~TestAppWindow() {
    window_.reset();
    cell_.reset();
    // A quit the window asked for must not end the next test's loop.
    MSG message;
    while (PeekMessageW(&message, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

namespace {
thread_local bool t_loop_timed_out = false;
}  // namespace

bool tray_icon_shown(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    return Shell_NotifyIconW(NIM_MODIFY, &data);
}

Status run_message_loop_bounded(AppCell& cell, HWND window, unsigned timeout_ms, bool wake_ends_loop) {
    t_loop_timed_out = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, timeout_ms, [](HWND, UINT, UINT_PTR, DWORD) {
        t_loop_timed_out = true;
        PostQuitMessage(98);
    });
    Status ended = run_message_loop(cell, window, wake_ends_loop);
    KillTimer(nullptr, timer);
    return t_loop_timed_out ? plain_failure("The loop did not end") : std::move(ended);
}

}  // namespace glimmerly::testing_support
