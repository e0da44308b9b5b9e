// The tray popup's picture and the menu commands' effects on the settings,
// with the program's own App and window on the test's thread.

#include "app/app/tray_menu.h"

#include <gtest/gtest.h>

#include "app/app/commands.h"
#include "app/app/events.h"
#include "app/app/messages.h"
#include "app/app/popup_paint.h"
#include "app/app/settings_timers.h"
#include "app/lib/folder_tree.h"
#include "app/lib/installer_language.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/files.h"
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

// The popup's posts to the application window, answered as its loop would
// answer them (the test holds the App, so a dispatch would only keep them).
Status answer_menu_posts(App& app, HWND window) {
    MSG message{};
    Status first;
    while (PeekMessageW(&message, window, WM_APP_MENU_COMMAND, WM_APP_MENU_UPDATE, PM_REMOVE)) {
        AppAnswer answer = handle_app_message(app, window, message.message, message.wParam, message.lParam);
        if (!answer && first) first = std::move(answer).failure();
    }
    return first;
}

HWND popup_window(App& app) { return app.tray_popup ? app.tray_popup->try_borrow()->main_window : nullptr; }

void keys(HWND window, std::initializer_list<std::pair<WPARAM, int>> presses) {
    for (const auto& [key, times] : presses)
        for (int i = 0; i < times; ++i) SendMessageW(window, WM_KEYDOWN, key, 0);
}

TEST(TrayPopupWindow, APressOnTheIconClosesItForGoodAndAPopupThatHidItselfCountsAsClosed) {
    testing_support::TestAppWindow test;
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
    testing_support::TestAppWindow test;
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const HWND menu = popup_window(*app);
    keys(menu, {{VK_DOWN, 6}, {VK_RETURN, 1}});  // past both headers: "Pointer effects"
    EXPECT_TRUE(answer_menu_posts(*app, test.window()).ok());
    EXPECT_TRUE(app->presentation->try_borrow()->features.pointer_effects);
    EXPECT_TRUE(IsWindowVisible(menu));
    EXPECT_TRUE(app->tray_popup->try_borrow()->bindings.flag(BindingFlag::PointerEffects));

    keys(menu, {{VK_DOWN, 8}, {VK_RETURN, 1}});  // past the separator: "Settings", not built yet
    EXPECT_FALSE(IsWindowVisible(menu));        // hidden before the command runs
    const Status settings = answer_menu_posts(*app, test.window());
    EXPECT_FALSE(app->tray_popup);
    ASSERT_FALSE(settings.ok());
    EXPECT_EQ(settings.failure().message, "The settings window is not available in this version of Glimmerly.");
}

TEST(TrayPopupWindow, AShortcutRowRecordsOnItsCapsAndKeepsARefusedCombinationWithItsReason) {
    constexpr UINT kAll = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
    testing_support::TestAppWindow test(AppOptions{.keeps_settings = false});
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
    const auto record = [&](std::initializer_list<WPARAM> held) {
        for (const WPARAM key : held) SendMessageW(menu, WM_KEYDOWN, key, 0);
        SendMessageW(menu, WM_KEYDOWN, VK_CONTROL, 1 << 30);  // a repeat says nothing
        return answer_menu_posts(*app, test.window());
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

}  // namespace
}  // namespace glimmerly
