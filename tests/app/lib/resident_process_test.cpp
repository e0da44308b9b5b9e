// The real program in its roles, started as other processes in the private
// prefix: second instances, the private messages of the resident window,
// its icon, and the Print Screen takeover given back by
// "--restore-print-screen". Every box they show is answered and kept.

#include <gtest/gtest.h>

#include <deque>

#include "app/app/commands.h"
#include "app/app/hotkeys.h"
#include "app/app/messages.h"
#include "app/app/tray_icon.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "core/settings/settings_file.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/program.h"
#include "tests/app/support/registry.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
const std::wstring kCapturing = L"Capturing the screen is not available in this version of Glimmerly.";

bool icon_shown(HWND window) {
    NOTIFYICONDATAW data{};
    data.cbSize = sizeof data;
    data.hWnd = window;
    data.uID = TRAY_ICON_ID;
    return Shell_NotifyIconW(NIM_MODIFY, &data);
}

// Shortcuts no other test uses, and no sign-in entry.
Settings quiet_settings() {
    Settings settings;
    settings.capture_shortcut = {kCtrlAltShift, VK_F19};
    settings.instant_capture_shortcut = {kCtrlAltShift, VK_F18};
    settings.board_shortcut = {kCtrlAltShift, VK_F17};
    settings.start_with_windows = false;
    return settings;
}

class ResidentProcess : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        folder_ = program_folder_path().value_or(L"");
        ASSERT_FALSE(folder_.empty());
        clean();
    }
    void TearDown() override {
        for (const ProgramRun& run : runs_) end_program(run);
        if (lock_) clean();
    }
    void clean() {
        (void)remove_tree(folder_);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE);
    }
    void write_settings(const Settings& settings) {
        ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
    }
    // Kept to the end of the test, so that a failed test ends what it started.
    const ProgramRun& start(const std::vector<std::wstring>& args, bool read_standard_error = false) {
        auto run = start_program(args, read_standard_error);
        EXPECT_TRUE(run.ok()) << run.failure().message;
        runs_.push_back(run ? std::move(run).value() : ProgramRun{});
        sweeper_.watch(runs_.back().process_id);
        return runs_.back();
    }
    // Quits a resident through its menu command, as its tray menu does.
    int quit(const ProgramRun& run, HWND window) {
        PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0);
        return wait_for_exit(run.process);
    }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    DialogSweeper sweeper_;
    std::deque<ProgramRun> runs_;  // references to its runs stay valid
};

TEST_F(ResidentProcess, AFirstRunStartsQuietlyWithItsIconAndAnswersItsPrivateMessages) {
    const ProgramRun& resident = start({});
    const HWND window = wait_for_app_window(resident);
    ASSERT_TRUE(window);
    EXPECT_TRUE(icon_shown(window));

    PostMessageW(window, WM_APP_START_CAPTURE, 0, 0);
    EXPECT_TRUE(sweeper_.wait_for_text(kCapturing));
    // Only the diagnostics role leaves its loop on the delayed wake.
    PostMessageW(window, WM_APP_DELAYED_WAKE, 0, 0);
    PostMessageW(window, WM_APP + 3, 0, 0);
    PostMessageW(window, WM_APP_TRAY, TRAY_ICON_ID, WM_MOUSEMOVE);

    EXPECT_EQ(quit(resident, window), 0);
    EXPECT_FALSE(icon_shown(window));
    const auto boxes = sweeper_.answered();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, L"Glimmerly");
    // The first run signs the program in, as the default settings ask.
    EXPECT_TRUE(registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE).has_value());
}

TEST_F(ResidentProcess, ASecondResidentSaysSoInTheStoredLanguageAndEnds) {
    Settings settings = quiet_settings();
    settings.language = 5;
    write_settings(settings);
    const ProgramRun& first = start({});
    const HWND window = wait_for_app_window(first);
    ASSERT_TRUE(window);

    const ProgramRun& second = start({});
    EXPECT_EQ(wait_for_exit(second.process), 0);
    EXPECT_TRUE(sweeper_.wait_for_text(win::to_wide(text_of(5, TextId::error_already_running))));

    // The first still runs, and its capture shortcut reaches the capture.
    PostMessageW(window, WM_HOTKEY, HOTKEY_ID_CAPTURE_BASE, MAKELPARAM(kCtrlAltShift, VK_F19));
    EXPECT_TRUE(sweeper_.wait_for_text(kCapturing));
    EXPECT_EQ(quit(first, window), 0);
}

// The editor child's owner: a window of this thread that receives its report.
std::optional<MSG> wait_for_posted(HWND owner, UINT message, unsigned timeout_ms = 30000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    MSG received;
    while (!PeekMessageW(&received, owner, message, message, PM_REMOVE)) {
        const ULONGLONG now = GetTickCount64();
        if (now >= deadline) return std::nullopt;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(deadline - now), QS_POSTMESSAGE);
    }
    return received;
}

TEST_F(ResidentProcess, ASecondPreparedEditorFailsWhileTheFirstWaitsForItsCapture) {
    write_settings(quiet_settings());
    win::UniqueWindow owner(
        CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    ASSERT_TRUE(owner);
    const std::wstring owner_option =
        L"--notification-owner=" + std::to_wstring(reinterpret_cast<std::uintptr_t>(owner.get()));
    const ProgramRun& first = start({L"--prepared-editor", owner_option});
    const auto ready = wait_for_posted(owner.get(), WM_APP_EDITOR_READY);
    ASSERT_TRUE(ready);
    EXPECT_EQ(ready->wParam, first.process_id);

    const ProgramRun& second = start({L"--prepared-editor", owner_option}, true);
    EXPECT_EQ(wait_for_exit(second.process), 1);
    EXPECT_EQ(read_standard_error(second), "An editor already exists\n");

    PostMessageW(reinterpret_cast<HWND>(ready->lParam), WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(first.process), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(ResidentProcess, TakesPrintScreenOverAndTheRestoreGivesItBack) {
    const auto& names = PRINT_SCREEN_TAKEOVER;
    for (const std::optional<DWORD> before : {std::optional<DWORD>(), std::optional<DWORD>(1)}) {
        SCOPED_TRACE(before ? "on" : "absent");
        set_registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value, before);
        Settings settings = quiet_settings();
        settings.capture_shortcut = {0, VK_SNAPSHOT};
        write_settings(settings);
        const ProgramRun& resident = start({});
        const HWND window = wait_for_app_window(resident);
        ASSERT_TRUE(window);
        EXPECT_EQ(registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value), std::optional<DWORD>(0));
        EXPECT_EQ(quit(resident, window), 0);

        const ProgramRun& restore = start({L"--restore-print-screen"});
        EXPECT_EQ(wait_for_exit(restore.process), 0);
        EXPECT_EQ(registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value), before);
        EXPECT_EQ(registry_dword(HKEY_CURRENT_USER, names.saved_key, names.saved_value), std::nullopt);
    }
    EXPECT_TRUE(sweeper_.answered().empty());
    set_registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value, std::nullopt);
}

TEST_F(ResidentProcess, ReadsTheSettingsItTookOverFromTheEarlierName) {
    auto base = local_app_data_path();
    ASSERT_TRUE(base.ok());
    const std::wstring earlier = *base + L"\\Brindlet";
    std::string text = format_settings(quiet_settings());
    text.replace(0, std::string_view("glimmerly-settings-").size(), "brindlet-settings-");
    ASSERT_TRUE(create_directories(earlier).ok());
    ASSERT_TRUE(write_test_file(earlier + L"\\settings.txt", text));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, L"\"C:\\glimmerly.exe\""));

    const ProgramRun& resident = start({});
    const HWND window = wait_for_app_window(resident);
    ASSERT_TRUE(window);
    // Read before the move, the defaults would have kept the sign-in entry.
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE), std::nullopt);
    EXPECT_FALSE(path_exists(earlier));
    EXPECT_EQ(quit(resident, window), 0);
    (void)remove_tree(earlier);
}

}  // namespace
}  // namespace glimmerly
