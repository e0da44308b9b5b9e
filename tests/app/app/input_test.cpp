// What the message loop hands to the open capture before dispatch.

#include "app/app/input.h"

#include <gtest/gtest.h>

#include "tests/app/support/app_window.h"

namespace glimmerly {
namespace {

using namespace testing_support;

// Logs the keys that reached it; takes only 'A'.
struct FakeSession : CaptureSession {
    explicit FakeSession(std::string& log) : log(log) {}
    bool take_key(HWND, std::uint32_t key, bool) override { return note("key", key) && key == 'A'; }
    bool note(const char* what, int value) {
        log += std::string(what) + " " + std::to_string(value) + ";";
        return true;
    }
    std::string& log;
};

TEST(CaptureInput, TakesItsKeysAndTheWheelOverItsChildrenFromItsOwnWindowsWhileFree) {
    const WPARAM turn = MAKEWPARAM(0, static_cast<WORD>(-120));
    const struct {
        const char* name;
        UINT message;
        WPARAM wparam;
        bool child, other_window, busy, taken;
        std::string log;
    } rows[] = {
        {"a wheel over its window is dispatched there", WM_MOUSEWHEEL, turn, false, false, false, false, ""},
        {"a wheel over a typing control goes to its window", WM_MOUSEWHEEL, turn, true, false, false, true, ""},
        {"another window's wheel", WM_MOUSEWHEEL, turn, false, true, false, false, ""},
        {"the App in use", WM_MOUSEWHEEL, turn, true, false, true, false, ""},
        {"a key it takes", WM_KEYDOWN, 'A', false, false, false, true, "key 65;"},
        {"a key it leaves", WM_KEYDOWN, 'B', false, false, false, false, "key 66;"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        TestAppWindow test;
        std::string log;
        test.cell().try_borrow()->capture_session = std::make_unique<FakeSession>(log);
        win::UniqueWindow other(CreateWindowExW(0, L"STATIC", L"", row.child ? WS_CHILD : WS_POPUP, 0, 0, 9, 9,
                                                row.child ? test.window() : nullptr, nullptr, nullptr, 0));
        auto busy = row.busy ? test.cell().try_borrow() : AppCell::Borrow();
        const HWND target = row.other_window || row.child ? other.get() : test.window();
        const MSG message{target, row.message, row.wparam, 0, 0, {}};
        EXPECT_EQ(offer_to_capture(test.cell(), test.window(), message), row.taken);
        EXPECT_EQ(log, row.log);
    }
}

}  // namespace
}  // namespace glimmerly
