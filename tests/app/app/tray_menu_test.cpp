// The tray popup's picture and the menu commands' effects on the settings,
// with the program's own App and window on the test's thread.

#include "app/app/tray_menu.h"

#include <gtest/gtest.h>

#include <thread>

#include "app/app/commands.h"
#include "app/app/events.h"
#include "app/app/messages.h"
#include "app/app/popup_paint.h"
#include "app/app/settings_timers.h"
#include "app/settings/settings_window.h"
#include "app/lib/folder_tree.h"
#include "app/lib/installer_language.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "text/app_error.h"
#include "core/settings/settings_file.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/injected_input.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/render/render_support.h"

namespace glimmerly {
namespace {

using testing::pixel;

constexpr Rgb kBackground{43, 43, 43};
constexpr Rgb kAccent{0x60, 0xCD, 0xFF};

TEST(TrayPopupPicture, PaddingIsTheMenuGreyAndAnEnabledToggleShowsTheAccentPill) {
    ShortcutBindings bindings;
    bindings.flags[static_cast<std::size_t>(BindingFlag::TemporaryShapes)] = true;
    auto picture = paint_tray_popup(APP_COMMAND_LANGUAGE_MENU, bindings);
    ASSERT_TRUE(picture.ok()) << picture.failure().message;
    auto layout = layout_popup(main_popup_rows(), bindings, 1.0);
    release_menu_resources();
    ASSERT_TRUE(layout.ok());
    const auto pill = [&](std::size_t row) {
        return pixel(*picture, static_cast<std::uint32_t>(layout->width - 14 - 14),
                     static_cast<std::uint32_t>((layout->tops[row] + layout->tops[row + 1]) / 2));
    };
    EXPECT_EQ(pixel(*picture, 10, 1), kBackground);
    EXPECT_EQ(pixel(*picture, 10, static_cast<std::uint32_t>(popup_height(*layout) - 1)), kBackground);
    EXPECT_EQ(pill(11), kAccent);       // temporary shapes: on
    EXPECT_EQ(pill(7), kBackground);    // pointer effects: off
}

// Threads that lay out the menu with a painter of their own, released by
// the thread or still held when it ends.
GLIM_TEST_CHILD(PaintMenuOnThreads) {
    bool laid_out = true;
    for (const bool released : {true, false}) {
        std::thread([&] {
            laid_out = laid_out && layout_popup(main_popup_rows(), {}, 1.0).ok();
            if (released) release_menu_resources();
        }).join();
    }
    return laid_out ? 0 : 3;
}

TEST(MenuPainter, GoesWithItsThread) {
    auto child = testing_support::start_child(L"PaintMenuOnThreads", {}, {testing_support::kCheckFreedMemory});
    ASSERT_TRUE(child.ok());
    EXPECT_EQ(testing_support::wait_for_exit(*child, 60000), 0);
}

// The popup's posts to the application window, answered as its loop would
// answer them (the test holds the App, so a dispatch would only keep them).
Status answer_menu_posts(App& app, HWND window) {
    MSG message{};
    Status first;
    // A combination the program holds arrives as its hotkey, which a recording row records.
    while (PeekMessageW(&message, window, WM_HOTKEY, WM_HOTKEY, PM_REMOVE) ||
           PeekMessageW(&message, window, WM_APP_MENU_COMMAND, WM_APP_MENU_UPDATE, PM_REMOVE)) {
        AppAnswer answer = handle_app_message(app, window, message.message, message.wParam, message.lParam);
        if (!answer && first) first = std::move(answer).failure();
    }
    return first;
}

// A resident's popup reads the settings file as it opens: tests of the
// popup alone run without one.
const AppOptions kNoSettingsFile{.keeps_settings = false};

HWND popup_window(App& app) { return app.tray_popup ? app.tray_popup->try_borrow()->main_window : nullptr; }

void keys(HWND window, std::initializer_list<std::pair<WPARAM, int>> presses) {
    for (const auto& [key, times] : presses)
        for (int i = 0; i < times; ++i) SendMessageW(window, WM_KEYDOWN, key, 0);
}

TEST(TrayPopupWindow, APressOnTheIconClosesItForGoodAndAPopupThatHidItselfCountsAsClosed) {
    testing_support::TestAppWindow test(kNoSettingsFile);
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const HWND first = popup_window(*app);
    ASSERT_TRUE(first && IsWindowVisible(first));
    // The press took the foreground away while on the icon; the release that follows opens nothing.
    ASSERT_TRUE(handle_app_message(*app, test.window(), WM_APP_MENU_CLOSED, 1, reinterpret_cast<LPARAM>(first)).ok());
    EXPECT_FALSE(app->tray_popup);
    EXPECT_FALSE(IsWindow(first));
    EXPECT_TRUE(open_tray_popup(*app, test.window()).ok());
    EXPECT_FALSE(app->tray_popup);

    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    ShowWindow(popup_window(*app), SW_HIDE);  // as when a message box took the foreground
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    EXPECT_TRUE(popup_window(*app) && IsWindowVisible(popup_window(*app)));
}

TEST(TrayPopupWindow, AToggleLeavesThePopupOpenAndFollowedWhileACommandRowClosesItFirst) {
    testing_support::TestAppWindow test(kNoSettingsFile);
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const HWND menu = popup_window(*app);
    keys(menu, {{VK_DOWN, 6}, {VK_RETURN, 1}});  // past both headers: "Pointer effects"
    EXPECT_TRUE(answer_menu_posts(*app, test.window()).ok());
    EXPECT_TRUE(app->presentation->try_borrow()->features.pointer_effects);
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_TRUE(app->tray_popup->try_borrow()->bindings.flag(BindingFlag::PointerEffects));

    keys(menu, {{VK_DOWN, 8}, {VK_RETURN, 1}});  // past the separator: "Settings"
    EXPECT_FALSE(IsWindowVisible(menu));        // hidden before the command runs
    const Status settings = answer_menu_posts(*app, test.window());
    EXPECT_FALSE(app->tray_popup);
    EXPECT_TRUE(settings.ok()) << error_to_text(settings.failure(), LANGUAGE_ENGLISH);
    EXPECT_TRUE(app->settings_window);
}

// The popup's own messages (its submenu timer) dispatched until the
// condition holds; the owner's stay queued for answer_menu_posts.
template <class Condition>
bool dispatch_popup_until(TrayPopupCell& cell, Condition condition) {
    HWND windows[2] = {};
    if (auto popup = cell.try_borrow()) windows[0] = popup->main_window, windows[1] = popup->sub_window;
    MSG message;
    for (const ULONGLONG end = GetTickCount64() + 30000; !condition();) {
        if (GetTickCount64() >= end) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        for (const HWND window : windows)
            while (PeekMessageW(&message, window, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

TEST(TrayPopupWindow, HoveringTheLanguageRowOpensItsListAfterTheMenuDelayAndAnotherRowClosesIt) {
    testing_support::TestAppWindow test(kNoSettingsFile);
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const auto popup = [&] { return app->tray_popup->try_borrow(); };
    const HWND menu = popup()->main_window, sub = popup()->sub_window;
    // The real pointer goes there too: a window it is not over is told at
    // once that the mouse left.
    const auto move_on = [&](HWND window, std::size_t row) {
        const int y = (window == menu ? popup()->main_layout : popup()->sub_layout).tops[row] + 5;
        RECT placed{};
        GetWindowRect(window, &placed);
        SetCursorPos(placed.left + 20, placed.top + y);
        SendMessageW(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, y));
    };
    const auto submenu_shown = [&] { return popup()->submenu_open && IsWindowVisible(sub); };

    move_on(menu, kLanguageRow);
    EXPECT_FALSE(submenu_shown()) << "not before the delay's timer";
    ASSERT_TRUE(dispatch_popup_until(*app->tray_popup, submenu_shown));
    // In the list, off the main popup, the language row stays lit.
    move_on(sub, 3);
    SendMessageW(menu, WM_MOUSELEAVE, 0, 0);
    EXPECT_EQ(popup()->main_hover, kLanguageRow);
    EXPECT_EQ(popup()->sub_hover, 3u);
    move_on(menu, kLanguageRow - 1);
    EXPECT_TRUE(submenu_shown());
    EXPECT_TRUE(dispatch_popup_until(*app->tray_popup, [&] { return !submenu_shown(); }));
}

TEST(TrayPopupWindow, EscapeOrAnotherWindowInTheForegroundClosesItWithoutBlockingTheNextOpening) {
    testing_support::TestAppWindow test(kNoSettingsFile);
    const win::UniqueWindow other(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 50,
                                                  50, nullptr, nullptr, nullptr, nullptr));
    auto app = test.cell().try_borrow();
    const struct {
        const char* name;
        void (*take_away)(HWND menu, HWND other);
    } rows[] = {
        {"Esc closes the list, then the popup",
         [](HWND menu, HWND) {
             SendMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
             EXPECT_TRUE(IsWindowVisible(menu));
             SendMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);
         }},
        {"another window in the foreground", [](HWND, HWND other) { SetForegroundWindow(other); }},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
        const HWND menu = popup_window(*app);
        ASSERT_EQ(GetForegroundWindow(), menu);
        keys(menu, {{VK_UP, 2}, {VK_RIGHT, 1}});  // the language list open too
        row.take_away(menu, other.get());
        EXPECT_FALSE(IsWindowVisible(menu));
        EXPECT_FALSE(IsWindowVisible(app->tray_popup->try_borrow()->sub_window));
        ASSERT_TRUE(answer_menu_posts(*app, test.window()).ok());
        EXPECT_FALSE(app->tray_popup);
        EXPECT_FALSE(IsWindow(menu));
    }
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    EXPECT_TRUE(IsWindowVisible(popup_window(*app)));
}

TEST(TrayPopupWindow, AShortcutRowRecordsOnItsCapsAndKeepsARefusedCombinationWithItsReason) {
    constexpr UINT kAll = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    testing_support::TestAppWindow test(kNoSettingsFile);
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const HWND menu = popup_window(*app);
    const auto popup = [&] { return app->tray_popup->try_borrow(); };
    const auto release_on = [&](std::size_t row, int x_from_right) {
        const PopupLayout& layout = popup()->main_layout;
        const LPARAM at = MAKELPARAM(layout.width - x_from_right, layout.tops[row] + 5);
        SendMessageW(menu, WM_LBUTTONUP, 0, at);
        return answer_menu_posts(*app, test.window());
    };
    // Keys as the hardware sends them, so that the held modifiers are the
    // keyboard's state; the popup's posts are answered while the keys are
    // still down, and then they are let go. Each step waits for the messages
    // it needs, taken off the popup's queue: a combination the program holds
    // arrives as its hotkey instead of its last key.
    const auto pump_until = [&](auto arrived) {
        bool seen = false;
        for (const ULONGLONG until = GetTickCount64() + 10000; !seen && GetTickCount64() < until;) {
            MSG m{};
            while (!seen && PeekMessageW(&m, menu, 0, 0, PM_REMOVE)) {
                DispatchMessageW(&m);
                seen = arrived(m);
            }
            seen = seen || (PeekMessageW(&m, test.window(), WM_HOTKEY, WM_HOTKEY, PM_NOREMOVE) && arrived(m));
            if (!seen) MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
        return seen;
    };
    const auto record = [&](std::initializer_list<WORD> held) {
        std::vector<INPUT> downs, ups;
        for (const WORD key : held) {
            downs.push_back(testing_support::key_input(key, false));
            ups.insert(ups.begin(), testing_support::key_input(key, true));
        }
        // Keys typed before the display's focus reaches the popup would be
        // let go under the test's hands when it does.
        EXPECT_TRUE(testing_support::wait_for_keyboard_focus(menu));
        testing_support::send(downs);
        const WORD last = *(held.end() - 1), first = *held.begin();
        EXPECT_TRUE(pump_until([&](const MSG& m) {
            return m.message == WM_HOTKEY || ((m.message == WM_KEYDOWN || m.message == WM_SYSKEYDOWN) && m.wParam == last);
        }));
        Status answered = answer_menu_posts(*app, test.window());
        testing_support::send(ups);
        EXPECT_TRUE(pump_until([&](const MSG& m) {
            return (m.message == WM_KEYUP || m.message == WM_SYSKEYUP) && m.wParam == first;
        }));
        (void)answer_menu_posts(*app, test.window());  // the releases show what is still held: nothing
        return answered;
    };

    ASSERT_TRUE(release_on(3, 20).ok());  // the board row's caps
    ASSERT_TRUE(popup()->row_state.recording);
    EXPECT_EQ(popup()->row_state.recording->row, ShortcutRow::Board);
    ASSERT_TRUE(record({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F16}).ok());
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F16}));
    EXPECT_TRUE(app->board_registration.registered);
    EXPECT_FALSE(popup()->row_state.recording);
    EXPECT_EQ(popup()->row_state.saved_row, APP_COMMAND_EDIT_BOARD);
    EXPECT_EQ(row_shortcut_word(popup()->bindings, APP_COMMAND_EDIT_BOARD), pack_shortcut({kAll, VK_F16}, false));

    ASSERT_TRUE(release_on(0, 20).ok());  // the capture row: the board's combination again
    ASSERT_TRUE(record({VK_CONTROL, VK_MENU, VK_SHIFT, VK_F16}).ok());
    ASSERT_TRUE(popup()->row_state.recording);
    EXPECT_EQ(popup()->row_state.recording->message, text_of(LANGUAGE_ENGLISH, TextId::setup_used_by_board));
    EXPECT_EQ(app->settings.capture_shortcut, Shortcut{});
    ASSERT_TRUE(release_on(0, 100).ok());  // elsewhere on the recording row: nothing
    EXPECT_TRUE(popup()->row_state.recording);
    SendMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0);  // cancels the recording, not the popup
    ASSERT_TRUE(answer_menu_posts(*app, test.window()).ok());
    EXPECT_FALSE(popup()->row_state.recording);
    EXPECT_TRUE(IsWindowVisible(menu));
}

// A diagnostic run must never write the user's settings; a resident stores
// what its menu changes, and the user's language choice outlives the
// installer's.
TEST(MenuCommands, OnlyARunThatKeepsSettingsStoresWhatTheMenuChanges) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    const std::wstring settings_file = folder + L"\\settings.txt";
    const std::wstring installer_file = folder + L"\\" + INSTALLER_LANGUAGE_FILE;
    for (const bool keeps : {true, false}) {
        SCOPED_TRACE(keeps ? "resident" : "diagnostic run");
        (void)remove_tree(folder);
        ASSERT_TRUE(save_settings_file(Settings{}, settings_file).ok());
        ASSERT_TRUE(testing_support::write_test_file(installer_file, "fr"));
        testing_support::TestAppWindow test(AppOptions{.keeps_settings = keeps});
        auto app = test.cell().try_borrow();
        EXPECT_TRUE(run_app_command(*app, test.window(), APP_COMMAND_LIVE_CAPTURE).ok());
        EXPECT_TRUE(run_app_command(*app, test.window(), command_of_language(5)).ok());
        EXPECT_TRUE(set_board_visibility(*app, true).ok());

        EXPECT_TRUE(app->settings.live_capture);
        EXPECT_EQ(app->settings.language, 5);
        EXPECT_TRUE(app->settings.board_visible);
        EXPECT_EQ(std::wstring(app->icon_data.szTip), win::to_wide(text_of(5, TextId::tray_tooltip)));
        const Settings stored = read_settings_file(settings_file).value_or(Settings{});
        EXPECT_EQ(stored.live_capture, keeps);
        EXPECT_EQ(stored.language, keeps ? 5 : Settings{}.language);
        EXPECT_EQ(stored.board_visible, keeps);
        EXPECT_EQ(testing_support::path_exists(installer_file), !keeps);
        set_current_language(LANGUAGE_ENGLISH);
    }
    (void)remove_tree(folder);
}

// Other processes write the file while the resident runs; a diagnostic run
// never reads it.
TEST(MenuCommands, ThePopupOpensOnTheSettingsAsTheFileHoldsThemThen) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    Settings meanwhile;
    meanwhile.board_visible = true;
    meanwhile.language = 5;
    const struct {
        const char* name;
        bool keeps;
        std::string file;
        bool opens, follows;
    } rows[] = {
        {"resident", true, format_settings(meanwhile), true, true},
        {"diagnostic run", false, format_settings(meanwhile), true, false},
        {"resident, unreadable file", true, "glimmerly-settings-999\n", false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        testing_support::TestAppWindow test(AppOptions{.keeps_settings = row.keeps});
        ASSERT_TRUE(create_directories(folder).ok());
        ASSERT_TRUE(testing_support::write_test_file(folder + L"\\settings.txt", row.file));
        auto app = test.cell().try_borrow();
        EXPECT_EQ(open_tray_popup(*app, test.window()).ok(), row.opens);
        ASSERT_EQ(app->tray_popup != nullptr, row.opens);
        if (row.opens) {
            const ShortcutBindings shown = app->tray_popup->try_borrow()->bindings;
            EXPECT_EQ(shown.flag(BindingFlag::BoardShown), row.follows);
            EXPECT_EQ(shown.language, row.follows ? 5 : Settings{}.language);
        }
        set_current_language(LANGUAGE_ENGLISH);
    }
    (void)remove_tree(folder);
}

}  // namespace
}  // namespace glimmerly
