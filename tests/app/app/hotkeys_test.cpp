// The resident's global shortcuts on a real window.

#include "app/app/hotkeys.h"

#include <gtest/gtest.h>

#include "tests/app/support/app_window.h"
#include "tests/app/support/private_prefix.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// Whether anyone holds the combination: a holder makes this registration fail.
bool held(UINT key) {
    const bool free = RegisterHotKey(nullptr, 0xBFF0, kCtrlAltShift, key);
    return !free ? GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED : !UnregisterHotKey(nullptr, 0xBFF0);
}

TEST(Hotkeys, ACaptureChangeTakesTheOtherIdKeepsTheSameOneAndSurvivesARefusal) {
    UserDataLock lock;  // hotkeys are one set for the whole session
    TestAppWindow test(AppOptions{.keeps_settings = false});
    auto app = test.cell().try_borrow();
    std::vector<int> ids;
    // The system refuses a second registration of a held combination, so
    // asking again for the one held keeps it.
    for (UINT key : {VK_F20, VK_F21, VK_F22, VK_F22}) {
        ASSERT_TRUE(change_capture_shortcut(*app, kCtrlAltShift, key).ok());
        ids.push_back(app->capture_registration.id);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 1, 1}));
    EXPECT_FALSE(held(VK_F20) || held(VK_F21));

    ASSERT_TRUE(RegisterHotKey(nullptr, 0xBFF1, kCtrlAltShift, VK_F23));
    const Status refused = change_capture_shortcut(*app, kCtrlAltShift, VK_F23);
    UnregisterHotKey(nullptr, 0xBFF1);
    EXPECT_EQ(refused.ok() ? 0 : refused.failure().code, HOTKEY_IN_USE_CODE);
    EXPECT_EQ(app->settings.capture_shortcut, (Shortcut{kCtrlAltShift, VK_F22}));
    EXPECT_TRUE(held(VK_F22));
}

TEST(Hotkeys, StartupLeavesClearedShortcutsAloneAndReportsClashes) {
    UserDataLock lock;
    const Shortcut free_instant{kCtrlAltShift, VK_F20}, free_board{kCtrlAltShift, VK_F21};
    const struct {
        const char* name;
        Shortcut capture, instant, board;
        std::vector<TextId> notices;
        bool instant_registered, board_registered;
    } rows[] = {
        {"both cleared", {}, {MOD_ALT, 0}, {}, {}, false, false},
        {"both free", {}, free_instant, free_board, {}, true, true},
        {"instant equals capture", free_instant, free_instant, free_board, {TextId::notice_instant_unavailable},
         false, true},
        {"board equals instant", {}, free_instant, free_instant, {TextId::notice_board_unavailable}, true, false},
        {"board is Ctrl+Alt+Esc", {}, {}, {MOD_CONTROL | MOD_ALT, VK_ESCAPE}, {TextId::notice_board_unavailable},
         false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        AppOptions options{.keeps_settings = false};
        options.settings.capture_shortcut = row.capture;
        options.settings.instant_capture_shortcut = row.instant;
        options.settings.board_shortcut = row.board;
        TestAppWindow test(std::move(options));
        auto app = test.cell().try_borrow();
        EXPECT_EQ(register_resident_shortcuts(*app), row.notices);
        EXPECT_EQ(app->instant_registration.registered, row.instant_registered);
        EXPECT_EQ(app->board_registration.registered, row.board_registered);
    }
}

}  // namespace
}  // namespace glimmerly
