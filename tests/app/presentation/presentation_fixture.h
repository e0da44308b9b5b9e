#pragma once
// A presentation state attached to a hidden window of the test's own, with
// the pointer at a known place; whatever a test attached goes after it.

#include <gtest/gtest.h>
#include <windows.h>

#include <memory>

#include "app/presentation/presentation.h"
#include "app/win/com.h"
#include "app/win/owners.h"
#include "core/settings/settings.h"

namespace glimmerly::testing_support {

// A hidden popup of the test's own, for a presentation state to report to.
inline win::UniqueWindow hidden_owner_window(const wchar_t* class_name, WNDPROC procedure = DefWindowProcW) {
    WNDCLASSW window_class{.lpfnWndProc = procedure, .lpszClassName = class_name};
    RegisterClassW(&window_class);  // a second test of the process finds it registered
    return win::UniqueWindow(CreateWindowExW(WS_EX_TOOLWINDOW, class_name, L"", WS_POPUP, 0, 0, 10, 10, nullptr,
                                             nullptr, nullptr, nullptr));
}

// A popup over the whole primary screen painted with the brush, shown
// without taking the activation. X reports the pointer's motion to Wine only
// while it is over one of Wine's windows.
inline win::UniqueWindow screen_cover_window(const wchar_t* class_name, HBRUSH brush) {
    WNDCLASSW window_class{.lpfnWndProc = DefWindowProcW, .lpszClassName = class_name};
    window_class.hbrBackground = brush;
    RegisterClassW(&window_class);
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, class_name, L"", WS_POPUP, 0, 0,
                                             GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                             nullptr, nullptr, nullptr));
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

class PresentationFixture : public ::testing::Test {
protected:
    explicit PresentationFixture(POINT pointer = {600, 400}) : pointer_(pointer) {}

    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        owner_ = hidden_owner_window(L"Glimmerly.Tests.PresentationOwner");
        ASSERT_TRUE(owner_);
        SetCursorPos(pointer_.x, pointer_.y);
    }
    void TearDown() override { destroy_presentation_state(std::move(cell_)); }

    PresentationCell::Borrow attach() {
        auto attached = attach_presentation_state(owner_.get(), settings_);
        EXPECT_TRUE(attached);
        cell_ = std::move(*attached);
        return cell_->try_borrow();
    }

    POINT pointer_;
    win::ComApartment com_;
    win::UniqueWindow owner_;
    Settings settings_;
    std::unique_ptr<PresentationCell> cell_;
};

}  // namespace glimmerly::testing_support
