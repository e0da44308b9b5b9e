#pragma once
// An App and its application window on the calling thread, made as start-up
// makes them, for tests of the window's answers.

#include <windows.h>

#include <functional>
#include <memory>
#include <optional>

#include "app/app/app.h"
#include "core/base/result.h"

namespace glimmerly::testing_support {

class TestAppWindow {
public:
    explicit TestAppWindow(AppOptions options = {});
    TestAppWindow(const TestAppWindow&) = delete;
    TestAppWindow& operator=(const TestAppWindow&) = delete;
    ~TestAppWindow();

    HWND window() const { return window_.get(); }
    AppCell& cell() { return *cell_; }

private:
    std::unique_ptr<AppCell> cell_;
    OwnedWindow window_;
};

// The application's message loop, ended by a WM_QUIT of its own after
// `timeout_ms` when nothing else ends it; `timed_out` tells which.
Status run_message_loop_bounded(AppCell& cell, HWND window, bool& timed_out, unsigned timeout_ms = 15000);

// Dispatches this thread's messages until `done` answers true; false when
// `timeout_ms` passed first. A WM_QUIT met on the way is kept in `quit_code`.
bool pump_until(const std::function<bool()>& done, unsigned timeout_ms = 5000,
                std::optional<WPARAM>* quit_code = nullptr);

}  // namespace glimmerly::testing_support
