#pragma once
// An App and its application window on the calling thread, made as start-up
// makes them, for tests of the window's answers.

#include <windows.h>

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

// Whether the shell has the window's icon: it changes only an icon it has.
bool tray_icon_shown(HWND window);

// The application's message loop, ended after `timeout_ms` with the failure
// "The loop did not end" when nothing else ends it.
Status run_message_loop_bounded(AppCell& cell, HWND window, unsigned timeout_ms = 15000, bool wake_ends_loop = false);

}  // namespace glimmerly::testing_support
