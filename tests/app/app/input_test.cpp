// What the message loop hands to the open capture before dispatch.

#include "app/app/input.h"

#include <gtest/gtest.h>

#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// Logs what reached it; takes only 'A'; zooms unless at its limit; resizes or fails.
struct FakeSession : CaptureSession {
    FakeSession(std::string& log, bool zoom_at_limit = false, bool resize_fails = false)
        : log(log), zoom_at_limit(zoom_at_limit), resize_fails(resize_fails) {}
    bool take_key(HWND, std::uint32_t key, bool) override { return note("key", key) && key == 'A'; }
    bool zoom_by_wheel(HWND, int delta) override { return note("zoom", delta) && !zoom_at_limit; }
    Status resize_by_wheel(HWND, int delta) override {
        note("resize", delta);
        return resize_fails ? Status(plain_failure("The size is stuck")) : ok_status();
    }
    bool note(const char* what, int value) {
        log += std::string(what) + " " + std::to_string(value) + ";";
        return true;
    }
    std::string& log;
    bool zoom_at_limit, resize_fails;
};

TEST(CaptureInput, TakesItsKeysAndTheWheelToZoomWithCtrlOrElseResizeFromItsOwnWindowsWhileFree) {
    const WPARAM turn = MAKEWPARAM(0, static_cast<WORD>(-120)), ctrl_turn = turn | MK_CONTROL;
    const struct {
        const char* name;
        UINT message;
        WPARAM wparam;
        bool at_limit, other_window, busy, taken;
        std::string log;
    } rows[] = {
        {"plain wheel", WM_MOUSEWHEEL, turn, false, false, false, true, "resize -120;"},
        {"ctrl zooms", WM_MOUSEWHEEL, ctrl_turn, false, false, false, true, "zoom -120;"},
        {"ctrl at the zoom limit", WM_MOUSEWHEEL, ctrl_turn, true, false, false, true, "zoom -120;resize -120;"},
        {"another window's wheel", WM_MOUSEWHEEL, turn, false, true, false, false, ""},
        {"the App in use", WM_MOUSEWHEEL, turn, false, false, true, false, ""},
        {"a key it takes", WM_KEYDOWN, 'A', false, false, false, true, "key 65;"},
        {"a key it leaves", WM_KEYDOWN, 'B', false, false, false, false, "key 66;"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test;
        std::string log;
        test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(log, row.at_limit);
        win::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, 0));
        auto busy = row.busy ? test.cell().try_borrow() : AppCell::Borrow();
        const MSG message{row.other_window ? other.get() : test.window(), row.message, row.wparam, 0, 0, {}};
        EXPECT_EQ(offer_to_capture(test.cell(), test.window(), message), row.taken);
        EXPECT_EQ(log, row.log);
    }
}

TEST(CaptureInput, AWheelFailureIsShownAndTheLoopGoesOn) {
    Status ended = plain_failure("not run");
    const AnsweredBox box = answer_message_box([&] {
        TestAppWindow test(AppOptions{.in_process_editor = true});  // its close ends the capture and the loop
        std::string log;
        test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(log, false, true);
        PostMessageW(test.window(), WM_MOUSEWHEEL, MAKEWPARAM(0, 120), 0);
        PostMessageW(test.window(), WM_CLOSE, 0, 0);
        ended = run_message_loop_bounded(test.cell(), test.window());
    });
    EXPECT_EQ(box.text, L"The size is stuck");
    EXPECT_TRUE(ended.ok()) << ended.failure().message;
}

}  // namespace
}  // namespace glimmerly
