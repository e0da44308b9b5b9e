// What the message loop hands to the open capture before dispatch.

#include "app/app/input.h"

#include <gtest/gtest.h>

#include "tests/app/support/app_window.h"
#include "tests/app/support/dialogs.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// Records what reached it; zooms unless at its limit; resizes or fails.
class FakeSession : public CaptureSession {
public:
    FakeSession(bool zoom_at_limit, bool resize_fails, std::string* log)
        : zoom_at_limit_(zoom_at_limit), resize_fails_(resize_fails), log_(log) {}
    bool take_key(HWND, std::uint32_t key, bool) override {
        *log_ += "key " + std::to_string(key) + ";";
        return key == 'A';
    }
    bool zoom_by_wheel(HWND, int delta) override {
        *log_ += "zoom " + std::to_string(delta) + ";";
        return !zoom_at_limit_;
    }
    Status resize_by_wheel(HWND, int delta) override {
        *log_ += "resize " + std::to_string(delta) + ";";
        if (resize_fails_) return plain_failure("The size is stuck");
        return ok_status();
    }

private:
    bool zoom_at_limit_;
    bool resize_fails_;
    std::string* log_;
};

MSG wheel(HWND window, bool ctrl, short delta) {
    return MSG{window, WM_MOUSEWHEEL, MAKEWPARAM(ctrl ? MK_CONTROL : 0, static_cast<WORD>(delta)), 0, 0, {}};
}

TEST(CaptureInput, CtrlWheelZoomsAndAPlainOrFruitlessOneResizes) {
    struct Row {
        const char* name;
        bool ctrl;
        bool at_limit;
        std::string log;
    };
    const Row rows[] = {
        {"plain", false, false, "resize -120;"},
        {"ctrl zooms", true, false, "zoom -120;"},
        {"ctrl at the zoom limit", true, true, "zoom -120;resize -120;"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test;
        std::string log;
        test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(row.at_limit, false, &log);
        EXPECT_TRUE(offer_to_capture(test.cell(), test.window(), wheel(test.window(), row.ctrl, -120)));
        EXPECT_EQ(log, row.log);
    }
}

TEST(CaptureInput, OnlyTheFreeAppsOwnWindowsAreOfferedAndOnlyTakenKeysAreKept) {
    TestAppWindow test;
    std::string log;
    test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(false, false, &log);
    win::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr));
    EXPECT_FALSE(offer_to_capture(test.cell(), test.window(), wheel(other.get(), false, 120)));
    {
        auto busy = test.cell().try_borrow();
        EXPECT_FALSE(offer_to_capture(test.cell(), test.window(), wheel(test.window(), false, 120)));
    }
    EXPECT_EQ(log, "");
    EXPECT_TRUE(offer_to_capture(test.cell(), test.window(), MSG{test.window(), WM_KEYDOWN, 'A', 0, 0, {}}));
    EXPECT_FALSE(offer_to_capture(test.cell(), test.window(), MSG{test.window(), WM_KEYDOWN, 'B', 0, 0, {}}));
    EXPECT_EQ(log, "key 65;key 66;");
}

TEST(CaptureInput, AWheelFailureIsShownAndTheLoopGoesOn) {
    Status ended = plain_failure("not run");
    bool timed_out = true;
    const AnsweredBox box = answer_message_box([&] {
        TestAppWindow test;
        std::string log;
        test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(false, true, &log);
        const MSG turn = wheel(test.window(), false, 120);
        PostMessageW(turn.hwnd, turn.message, turn.wParam, turn.lParam);
        PostMessageW(test.window(), WM_CLOSE, 0, 0);
        ended = run_message_loop_bounded(test.cell(), test.window(), timed_out);
    });
    EXPECT_EQ(box.text, L"The size is stuck");
    EXPECT_TRUE(ended.ok()) << ended.failure().message;
    EXPECT_FALSE(timed_out);
}

}  // namespace
}  // namespace glimmerly
