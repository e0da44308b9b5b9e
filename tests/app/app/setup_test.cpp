// The shortcut setup in the application window and the rows that record
// through it: what the dialog paints, and what a recorded combination does
// when another program holds it or holds the settings lock.

#include "app/app/setup.h"

#include <gtest/gtest.h>

#include "app/app/app.h"
#include "app/app/messages.h"
#include "app/app/popup_paint.h"
#include "app/app/row_edit.h"
#include "app/app/tray_menu.h"
#include "app/lib/folder_tree.h"
#include "app/lib/mutex_names.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_lock.h"
#include "app/lib/settings_store.h"
#include "tests/app/render/render_support.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/private_prefix.h"

namespace glimmerly {
namespace {

using testing::pixel;

constexpr UINT kAll = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr Rgb kBackground{32, 32, 32};
constexpr Rgb kAccent{96, 205, 255};

TEST(SetupPicture, TheDialogIsDarkWithTheFocusedKeysAreaAndAnEnabledSaveInTheAccent) {
    for (const int factor : {1, 2}) {
        SCOPED_TRACE(factor == 1 ? "96 dpi" : "192 dpi");
        SetupState state;
        reset_setup_state(state, ShortcutKind::Capture, Shortcut{0, VK_SNAPSHOT}, false, LANGUAGE_ENGLISH, SetupLayout{});
        auto canvas = DibCanvas::make(420 * factor, 248 * factor);
        ASSERT_TRUE(canvas.ok());
        const RECT client{0, 0, 420 * factor, 248 * factor};
        ASSERT_TRUE(paint_setup_window(state, canvas->dc(), client).ok());
        const BgraImage picture = canvas->pixels();
        const auto at = [&](int x, int y) {
            return pixel(picture, static_cast<std::uint32_t>(x * factor), static_cast<std::uint32_t>(y * factor));
        };
        EXPECT_EQ(at(5, 100), kBackground);
        EXPECT_EQ(at(20, 90), kAccent);   // the keys area's outline: it has the focus
        EXPECT_EQ(at(318, 212), kAccent);  // Save, enabled
        EXPECT_EQ(at(220, 212), (Rgb{43, 43, 43}));  // Cancel
        state.focus = kSetupFocusCancel;
        state.listening = true;  // nothing to save while the keys listen
        ASSERT_TRUE(paint_setup_window(state, canvas->dc(), client).ok());
        const BgraImage listening = canvas->pixels();
        EXPECT_EQ(pixel(listening, static_cast<std::uint32_t>(318 * factor), static_cast<std::uint32_t>(212 * factor)),
                  (Rgb{51, 51, 51}));
        EXPECT_EQ(pixel(listening, static_cast<std::uint32_t>(216 * factor), static_cast<std::uint32_t>(212 * factor)),
                  kAccent);  // Cancel's border: it has the focus
    }
}

// A second process holding a global shortcut (as another program would).
GLIM_TEST_CHILD(HoldHotkey) {
    win::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(2).c_str()));
    const UINT modifiers = static_cast<UINT>(std::stoul(args.at(0)));
    const UINT key = static_cast<UINT>(std::stoul(args.at(1)));
    if (!ready || !RegisterHotKey(nullptr, 1, modifiers, key)) return 2;
    SetEvent(ready.get());
    Sleep(30000);  // ended by the test
    return 0;
}

GLIM_TEST_CHILD(HoldSettingsLockFor) {
    auto lock = lock_settings_write_named(SETTINGS_WRITE_MUTEX);
    win::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(1).c_str()));
    if (!lock || !ready) return 2;
    SetEvent(ready.get());
    Sleep(static_cast<DWORD>(std::stoul(args.at(0))));
    return 0;
}

// Starts a child that signals once it holds what it holds; the handle ends it.
win::UniqueHandle start_holder(const std::wstring& name, std::vector<std::wstring> args) {
    const std::wstring event_name = testing_support::unique_name(L"Glimmerly.Tests.Ready");
    win::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, event_name.c_str()));
    args.push_back(event_name);
    auto child = testing_support::start_child(name, args);
    if (!child) return {};
    HANDLE both[] = {ready.get(), child->get()};
    if (WaitForMultipleObjects(2, both, FALSE, 30000) != WAIT_OBJECT_0) return {};
    return std::move(*child);
}

struct ChildEnder {
    win::UniqueHandle& child;
    ~ChildEnder() {
        if (child) TerminateProcess(child.get(), 0);
    }
};

// The popup open, a row recording through the application window's setup.
std::optional<ShortcutRecording> recording_of(App& app) {
    return app.tray_popup ? app.tray_popup->try_borrow()->row_state.recording : std::nullopt;
}

TEST(RowRecording, ACombinationHeldByAnotherProgramIsRefusedWithTheSystemsCode) {
    win::UniqueHandle holder = start_holder(L"HoldHotkey", {std::to_wstring(kAll), std::to_wstring(VK_F15)});
    ChildEnder ender{holder};
    ASSERT_TRUE(holder);
    testing_support::TestAppWindow test(AppOptions{.keeps_settings = false});
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    ASSERT_TRUE(handle_row_command(*app, test.window(), APP_COMMAND_INSTANT_SCREENSHOT, kRowStartRecording, 0).ok());
    EXPECT_TRUE(app->setup_open);
    EXPECT_FALSE(IsWindowVisible(test.window()));  // the row records with the window hidden
    ASSERT_TRUE(record_row_key(*app, test.window(), kAll, VK_F15).ok());
    const auto recording = recording_of(*app);
    ASSERT_TRUE(recording);
    EXPECT_EQ(recording->message, "Shortcut unavailable (-2147023487). Choose another key.");
    EXPECT_EQ(app->settings.instant_capture_shortcut, Settings{}.instant_capture_shortcut);
    // Esc ends the row's recording; the resident stays, though nothing is registered.
    ASSERT_TRUE(handle_row_command(*app, test.window(), APP_COMMAND_INSTANT_SCREENSHOT, kRowCancel, 0).ok());
    EXPECT_FALSE(app->setup_open);
    MSG quit{};
    EXPECT_FALSE(PeekMessageW(&quit, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(RowRecording, ASavedRowOffersItsPreviousCombinationBackAndBackspaceItsDefault) {
    testing_support::TestAppWindow test(AppOptions{.keeps_settings = false});
    auto app = test.cell().try_borrow();
    app->settings.board_shortcut = {kAll, VK_F13};
    ASSERT_TRUE(register_hotkey(app->board_registration, kAll, VK_F13).ok());
    app->settings.shape_shortcuts[kShapeArrow] = {MOD_ALT | MOD_SHIFT, 'A'};
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    const auto saved_row = [&] { return app->tray_popup->try_borrow()->row_state.saved_row; };
    const auto row = [&](AppCommand command, std::uint32_t action) {
        return handle_row_command(*app, test.window(), command, action, 0);
    };

    ASSERT_TRUE(row(APP_COMMAND_EDIT_BOARD, kRowStartRecording).ok());
    ASSERT_TRUE(record_row_key(*app, test.window(), kAll, VK_F14).ok());
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F14}));
    EXPECT_EQ(saved_row(), APP_COMMAND_EDIT_BOARD);
    ASSERT_TRUE(row(APP_COMMAND_DRAW_ARROW, kRowPutPrevious).ok());  // another row's: nothing
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F14}));
    ASSERT_TRUE(row(APP_COMMAND_EDIT_BOARD, kRowPutPrevious).ok());
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F13}));
    EXPECT_EQ(app->board_registration.key, static_cast<UINT>(VK_F13));
    EXPECT_EQ(saved_row(), std::nullopt);
    EXPECT_FALSE(app->setup_open);
    ASSERT_TRUE(row(APP_COMMAND_EDIT_BOARD, kRowPutPrevious).ok());  // offered once
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F13}));

    // Backspace on the arrow's row puts Alt+A back, through the same checks.
    ASSERT_TRUE(row(APP_COMMAND_DRAW_ARROW, kRowStartRecording).ok());
    ASSERT_TRUE(row(APP_COMMAND_DRAW_ARROW, kRowPutDefault).ok());
    EXPECT_EQ(app->settings.shape_shortcuts[kShapeArrow], (Shortcut{MOD_ALT, 'A'}));
    EXPECT_EQ(saved_row(), APP_COMMAND_DRAW_ARROW);
    // The same combination again changes nothing and leaves no line to put back.
    ASSERT_TRUE(row(APP_COMMAND_DRAW_ARROW, kRowPutDefault).ok());
    EXPECT_EQ(saved_row(), std::nullopt);
}

TEST(RowRecording, TheSettingsLockHeldElsewhereLeavesTheOldShortcutInForceAndSaysSoOnTheRow) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    (void)remove_tree(folder);
    Settings stored;
    stored.board_shortcut = {kAll, VK_F17};
    stored.start_with_windows = false;
    ASSERT_TRUE(save_settings_file(stored, folder + L"\\settings.txt").ok());
    testing_support::TestAppWindow test(AppOptions{.settings = stored});
    auto app = test.cell().try_borrow();
    ASSERT_TRUE(register_hotkey(app->board_registration, kAll, VK_F17).ok());
    ASSERT_TRUE(open_tray_popup(*app, test.window()).ok());
    ASSERT_TRUE(handle_row_command(*app, test.window(), APP_COMMAND_EDIT_BOARD, kRowStartRecording, 0).ok());

    win::UniqueHandle holder = start_holder(L"HoldSettingsLockFor", {L"3000"});
    ChildEnder ender{holder};
    ASSERT_TRUE(holder);
    ASSERT_TRUE(record_row_key(*app, test.window(), kAll, VK_F16).ok());
    const auto recording = recording_of(*app);
    ASSERT_TRUE(recording);
    EXPECT_NE(recording->message.find(text_of(LANGUAGE_ENGLISH, TextId::error_settings_busy)), std::string::npos)
        << recording->message;
    EXPECT_EQ(app->settings.board_shortcut, (Shortcut{kAll, VK_F17}));
    EXPECT_EQ(app->board_registration.key, static_cast<UINT>(VK_F17));
    // The new combination was given back; the old one is still the program's.
    EXPECT_TRUE(RegisterHotKey(nullptr, 7, kAll, VK_F16));
    UnregisterHotKey(nullptr, 7);
    EXPECT_FALSE(RegisterHotKey(nullptr, 7, kAll, VK_F17));
    EXPECT_EQ(read_settings_file(folder + L"\\settings.txt").value_or(Settings{}).board_shortcut,
              (Shortcut{kAll, VK_F17}));
    app.release();
    (void)remove_tree(folder);
}

}  // namespace
}  // namespace glimmerly
