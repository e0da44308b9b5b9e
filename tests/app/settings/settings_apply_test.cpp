// What the settings window's answers change: the settings file, the App's
// copy, the presentation state and the sign-in value.

#include "app/settings/settings_apply.h"

#include <gtest/gtest.h>

#include "app/app/app.h"
#include "app/app/commands.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/settings/settings_window.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/file_holder.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "text/app_error.h"
#include "ui/settings_panel/settings_input.h"

namespace glimmerly {
namespace {

using testing_support::TestAppWindow;

// The resident with a settings file it keeps, and its presentation state.
struct FileResident {
    FileResident() : test(AppOptions{.keeps_settings = true}) {
        auto app = test.cell().try_borrow();
        if (auto made = attach_presentation_state(test.window(), app->settings)) app->presentation = std::move(*made);
    }
    TestAppWindow test;
};

std::wstring settings_file() { return program_folder_path().value_or(L"") + L"\\settings.txt"; }

Settings stored() { return read_settings_file(settings_file()).value_or(Settings{}); }

TEST(SettingsApply, ASliderDragShowsEveryFrameButWritesTheFileOnceAtTheRelease) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    (void)remove_tree(program_folder_path().value_or(L""));
    ASSERT_TRUE(save_settings_file(Settings{}, settings_file()).ok());
    FileResident resident;
    HWND window = nullptr;
    Box control;
    {
        auto app = resident.test.cell().try_borrow();
        app->last_settings_page = SettingsPage::PointerEffects;
        ASSERT_TRUE(run_app_command(*app, resident.test.window(), APP_COMMAND_SETTINGS).ok());
        window = app->settings_window->window.get();
        const auto slider =
            find_panel_item(app->settings_window->panel.layout.items, PanelItemKind::PointerItem, kHaloSizeItem);
        ASSERT_TRUE(slider);
        control = slider->control;
    }
    const int y = static_cast<int>((control.top + control.bottom) / 2);
    SendMessageW(window, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(static_cast<int>(control.left + 8), y));
    ASSERT_EQ(GetCapture(), window);
    for (int step = 1; step <= 4; ++step) {
        SendMessageW(window, WM_MOUSEMOVE, MK_LBUTTON,
                     MAKELPARAM(static_cast<int>(control.left + 8 + step * (control.right - control.left) / 4), y));
        {
            auto app = resident.test.cell().try_borrow();
            EXPECT_TRUE(app->settings_window->apply_pending);
        }
        SendMessageW(window, WM_TIMER, SETTINGS_FRAME_TIMER, 0);  // the frame shows it
        auto app = resident.test.cell().try_borrow();
        EXPECT_FALSE(app->settings_window->apply_pending);
        EXPECT_EQ(app->presentation->try_borrow()->pointer_settings.halo_size, app->settings.pointer.halo_size);
        EXPECT_EQ(stored().pointer.halo_size, Settings{}.pointer.halo_size) << "written before the release";
    }
    SendMessageW(window, WM_LBUTTONUP, 0, MAKELPARAM(static_cast<int>(control.right + 40), y));
    EXPECT_NE(GetCapture(), window);
    EXPECT_EQ(stored().pointer.halo_size, 160u);  // past the end: the largest size
    auto app = resident.test.cell().try_borrow();
    EXPECT_EQ(app->settings.pointer.halo_size, 160u);
}

TEST(SettingsApply, RestoreDefaultsOnThePresentationPageGoesThroughTheResidentsCommands) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    (void)remove_tree(program_folder_path().value_or(L""));
    Settings changed;
    changed.input_display_size = 200;
    changed.presentation_duration_ms = 5000;
    ASSERT_TRUE(save_settings_file(changed, settings_file()).ok());
    FileResident resident;
    auto app = resident.test.cell().try_borrow();
    app->last_settings_page = SettingsPage::Presentation;
    ASSERT_TRUE(run_app_command(*app, resident.test.window(), APP_COMMAND_SETTINGS).ok());
    EXPECT_EQ(app->settings_window->panel.view.input_size, 200u);
    const PanelResponse restore = restore_pointer_defaults(app->settings_window->panel);
    EXPECT_EQ(restore.tag(), PanelTag::RestorePresentationDefaults);
    ASSERT_TRUE(apply_settings_change(*app, resident.test.window(), restore).ok());
    EXPECT_EQ(stored().input_display_size, 100u);
    EXPECT_EQ(stored().presentation_duration_ms, 3000u);
    EXPECT_EQ(app->settings_window->panel.view.input_size, 100u);
    EXPECT_EQ(app->settings_window->panel.view.shape_duration, 3000u);
}

TEST(SettingsApply, ASwitchWhoseWriteFailsStaysAsItWas) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    const std::wstring folder = program_folder_path().value_or(L"");
    (void)remove_tree(folder);
    ASSERT_TRUE(save_settings_file(Settings{}, settings_file()).ok());
    FileResident resident;
    auto app = resident.test.cell().try_borrow();
    ASSERT_TRUE(run_app_command(*app, resident.test.window(), APP_COMMAND_SETTINGS).ok());
    for (const PanelTag tag : {PanelTag::ToggleMiniToolbar, PanelTag::ToggleObsMirror}) {
        ASSERT_TRUE(apply_settings_change(*app, resident.test.window(), PanelResponse::of(tag)).ok());
    }
    EXPECT_TRUE(stored().mini_toolbar);
    EXPECT_TRUE(stored().obs_mirror);
    EXPECT_TRUE(app->settings_window->panel.view.obs_mirror);
    // A folder where the file should be: nothing can be written.
    (void)remove_tree(folder);
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr));
    ASSERT_TRUE(CreateDirectoryW(settings_file().c_str(), nullptr));
    const Status refused = apply_settings_change(*app, resident.test.window(), PanelResponse::of(PanelTag::ToggleMiniToolbar));
    EXPECT_FALSE(refused.ok());
    EXPECT_TRUE(app->settings.mini_toolbar);
    EXPECT_TRUE(app->settings_window->panel.view.mini_toolbar);
    (void)remove_tree(folder);
}

TEST(SettingsApply, ASignInValueOfAnyTypeCountsAsOn) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    win::UniqueRegistryKey run;
    ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, RUN_KEY, 0, nullptr, 0, KEY_SET_VALUE | KEY_QUERY_VALUE, nullptr,
                              run.put(), nullptr),
              ERROR_SUCCESS);
    const wchar_t path[] = L"%LOCALAPPDATA%\\Glimmerly\\glimmerly.exe";
    ASSERT_EQ(RegSetValueExW(run.get(), RUN_VALUE, 0, REG_EXPAND_SZ, reinterpret_cast<const BYTE*>(path), sizeof path),
              ERROR_SUCCESS);
    TestAppWindow test(AppOptions{.keeps_settings = false});
    auto app = test.cell().try_borrow();
    auto view = snapshot_settings_view(*app, LANGUAGE_ENGLISH);
    ASSERT_TRUE(view.ok()) << view.failure().message;
    EXPECT_TRUE(view->start_with_windows);
    // Command 4 reads it the same way: on, so it turns off.
    ASSERT_TRUE(run_app_command(*app, test.window(), APP_COMMAND_START_WITH_WINDOWS).ok());
    EXPECT_EQ(RegGetValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, RRF_RT_ANY, nullptr, nullptr, nullptr),
              ERROR_FILE_NOT_FOUND);
    EXPECT_FALSE(snapshot_settings_view(*app, LANGUAGE_ENGLISH).value().start_with_windows);
}

// The sign-in value's type and text as stored; none when absent.
std::optional<std::pair<DWORD, std::wstring>> sign_in_value() {
    wchar_t text[512] = {};
    DWORD type = REG_NONE;
    DWORD size = sizeof text - sizeof(wchar_t);
    if (RegGetValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, RRF_RT_ANY | RRF_NOEXPAND, &type, text, &size) !=
        ERROR_SUCCESS)
        return std::nullopt;
    return std::pair{type, std::wstring(text)};
}

// Another program holds the settings file past the store's wait: the
// switch fails as "in use" either way, and the sign-in value, the file and
// the App's settings stay as they were.
TEST(SettingsApply, StartWithWindowsRefusedForAHeldSettingsFileLeavesTheSignInValueAsItWas) {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    testing_support::UserDataLock lock;
    (void)remove_tree(program_folder_path().value_or(L""));
    using Value = std::optional<std::pair<DWORD, std::wstring>>;
    const struct {
        const char* name;
        Value value;
        bool stored;  // the settings file's and the App's flag
    } rows[] = {
        {"off, turned on", std::nullopt, false},
        {"on as another program wrote it, turned off",
         std::pair<DWORD, std::wstring>{REG_EXPAND_SZ, L"%LOCALAPPDATA%\\Glimmerly\\glimmerly.exe"}, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE);
        if (row.value) {
            ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, row.value->first, row.value->second.c_str(),
                                      static_cast<DWORD>((row.value->second.size() + 1) * sizeof(wchar_t))),
                      ERROR_SUCCESS);
        }
        Settings settings;
        settings.start_with_windows = row.stored;
        ASSERT_TRUE(save_settings_file(settings, settings_file()).ok());
        const auto bytes = testing_support::read_test_file(settings_file());
        TestAppWindow test(AppOptions{.settings = settings, .keeps_settings = true});
        auto app = test.cell().try_borrow();
        auto held = testing_support::HeldFile::hold(settings_file(), 60000);
        ASSERT_TRUE(held.ok()) << held.failure().message;
        const Status refused = run_app_command(*app, test.window(), APP_COMMAND_START_WITH_WINDOWS);
        EXPECT_EQ(held->let_go(), 0);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(cause_code(refused.failure()), hresult_from_win32(ERROR_SHARING_VIOLATION));
        EXPECT_EQ(sign_in_value(), row.value);
        EXPECT_EQ(testing_support::read_test_file(settings_file()), bytes);
        EXPECT_EQ(app->settings.start_with_windows, row.stored);
    }
    RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE);
    (void)remove_tree(program_folder_path().value_or(L""));
}

}  // namespace
}  // namespace glimmerly
