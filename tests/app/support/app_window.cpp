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

Status run_message_loop_bounded(AppCell& cell, HWND window, bool& timed_out, unsigned timeout_ms) {
    t_loop_timed_out = false;
    const UINT_PTR timer = SetTimer(nullptr, 0, timeout_ms, [](HWND, UINT, UINT_PTR, DWORD) {
        t_loop_timed_out = true;
        PostQuitMessage(98);
    });
    Status ended = run_message_loop(cell, window);
    KillTimer(nullptr, timer);
    timed_out = t_loop_timed_out;
    return ended;
}

bool pump_until(const std::function<bool()>& done, unsigned timeout_ms, std::optional<WPARAM>* quit_code) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    for (;;) {
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_QUIT) {
                if (quit_code) *quit_code = message.wParam;
                continue;
            }
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        if (done()) return true;
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_ALLINPUT);
    }
}

}  // namespace glimmerly::testing_support
