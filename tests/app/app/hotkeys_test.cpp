// The resident's global shortcuts on a real window, and the Print Screen
// takeover in the registry of the private prefix.

#include "app/app/hotkeys.h"

#include <gtest/gtest.h>

#include "app/app/print_screen.h"
#include "app/lib/registry_names.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// Whether anyone holds the combination: a holder makes this registration fail.
bool held(UINT modifiers, UINT key) {
    if (!RegisterHotKey(nullptr, 0xBFF0, modifiers, key)) return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
    UnregisterHotKey(nullptr, 0xBFF0);
    return false;
}

TEST(Hotkeys, ANewCombinationTakesTheOtherIdAndFreesTheOldOne) {
    UserDataLock lock;  // hotkeys are one set for the whole session
    TestAppWindow test;
    HotkeyRegistration registration{false, 0, test.window(), HOTKEY_ID_CAPTURE_BASE};
    std::vector<int> ids;
    for (UINT key : {VK_F20, VK_F21, VK_F22}) {
        ASSERT_TRUE(register_hotkey(registration, kCtrlAltShift, key).ok());
        ids.push_back(registration.id);
    }
    EXPECT_EQ(ids, (std::vector<int>{1, 2, 1}));
    EXPECT_FALSE(held(kCtrlAltShift, VK_F20));
    EXPECT_FALSE(held(kCtrlAltShift, VK_F21));
    EXPECT_TRUE(held(kCtrlAltShift, VK_F22));

    // Asking again for what it holds keeps it: the system would refuse a
    // second registration of it.
    ASSERT_TRUE(register_hotkey(registration, kCtrlAltShift, VK_F22).ok());
    EXPECT_EQ(registration.id, 1);
    EXPECT_TRUE(held(kCtrlAltShift, VK_F22));

    // A combination someone else holds leaves the old one working.
    ASSERT_TRUE(RegisterHotKey(nullptr, 0xBFF1, kCtrlAltShift, VK_F23));
    const Status refused = register_hotkey(registration, kCtrlAltShift, VK_F23);
    UnregisterHotKey(nullptr, 0xBFF1);
    ASSERT_FALSE(refused.ok());
    EXPECT_EQ(refused.failure().code, HOTKEY_IN_USE_CODE);
    EXPECT_EQ(registration.id, 1);
    EXPECT_TRUE(held(kCtrlAltShift, VK_F22));
    unregister_hotkey(registration);
}

TEST(Hotkeys, StartupLeavesClearedShortcutsAloneAndReportsClashes) {
    UserDataLock lock;
    const Shortcut free_instant{kCtrlAltShift, VK_F20};
    const Shortcut free_board{kCtrlAltShift, VK_F21};
    const Shortcut reserved{MOD_CONTROL | MOD_ALT, VK_ESCAPE};
    struct Row {
        const char* name;
        Shortcut capture, instant, board;
        std::vector<TextId> notices;
        bool instant_registered, board_registered;
    };
    const Row rows[] = {
        {"both cleared on a first run", {}, {MOD_ALT, 0}, {}, {}, false, false},
        {"both free", {}, free_instant, free_board, {}, true, true},
        {"instant equals capture", free_instant, free_instant, free_board, {TextId::notice_instant_unavailable},
         false, true},
        {"board equals instant", {}, free_instant, free_instant, {TextId::notice_board_unavailable}, true, false},
        {"board is Ctrl+Alt+Esc", {}, {}, reserved, {TextId::notice_board_unavailable}, false, false},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        AppOptions options;
        options.keeps_settings = false;
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

void set_system_value(std::optional<DWORD> value) {
    set_registry_dword(HKEY_CURRENT_USER, PRINT_SCREEN_TAKEOVER.system_key, PRINT_SCREEN_TAKEOVER.system_value, value);
}

std::optional<DWORD> system_value() {
    return registry_dword(HKEY_CURRENT_USER, PRINT_SCREEN_TAKEOVER.system_key, PRINT_SCREEN_TAKEOVER.system_value);
}

TEST(PrintScreenTakeover, TheRestoreLeavesTheKeyAsTheUserLastHadIt) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    UserDataLock lock;
    const auto& names = PRINT_SCREEN_TAKEOVER;
    struct Row {
        const char* name;
        std::optional<DWORD> before;
        bool changed;
        // What the user sets between the takeover and the restore, if anything.
        std::optional<DWORD> meanwhile;
        std::optional<DWORD> after;
    };
    const Row rows[] = {
        {"absent", std::nullopt, true, std::nullopt, std::nullopt},
        {"on", 1, true, std::nullopt, 1},
        {"already off: nothing written", 0, false, std::nullopt, 0},
        {"turned on again meanwhile", 1, true, 2, 2},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, names.saved_key, names.saved_value);
        set_system_value(row.before);
        auto taken = take_over_print_screen_key();
        ASSERT_TRUE(taken.ok()) << taken.failure().message;
        EXPECT_EQ(*taken, row.changed);
        EXPECT_EQ(system_value(), std::optional<DWORD>(0));
        if (row.changed) {
            // A second takeover keeps what the first one found.
            set_system_value(1);
            ASSERT_TRUE(take_over_print_screen_key().ok());
        }
        if (row.meanwhile) set_system_value(row.meanwhile);
        ASSERT_TRUE(restore_print_screen_key().ok());
        EXPECT_EQ(system_value(), row.after);
        EXPECT_EQ(registry_dword(HKEY_CURRENT_USER, names.saved_key, names.saved_value), std::nullopt);
    }
    set_system_value(std::nullopt);
}

}  // namespace
}  // namespace glimmerly
