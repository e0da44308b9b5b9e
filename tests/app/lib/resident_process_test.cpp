// The real program (glimmerly.exe, built beside the tests) in its roles,
// started as other processes in the private prefix. Every box they show is
// answered and kept.

#include <gtest/gtest.h>

#include <deque>

#include "app/app/commands.h"
#include "app/app/hotkeys.h"
#include "app/app/messages.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/lib/ui_language.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "core/settings/settings_file.h"
#include "tests/app/support/app_window.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/file_holder.h"
#include "tests/app/support/files.h"
#include "tests/app/support/peak_memory.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/program_path.h"
#include "tests/app/support/registry.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// Shortcuts no other test uses, and no sign-in entry.
Settings quiet_settings() {
    Settings settings;
    settings.capture_shortcut = {kCtrlAltShift, VK_F19};
    settings.instant_capture_shortcut = {kCtrlAltShift, VK_F18};
    settings.board_shortcut = {kCtrlAltShift, VK_F17};
    settings.start_with_windows = false;
    return settings;
}

// A program with a top-level window that a prepared editor reports to; it
// ends once the editor has reported ready, as a resident that goes without
// ending its editor would.
GLIM_TEST_CHILD(EditorOwnerThatEnds) {
    const win::UniqueWindow window(
        CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr));
    if (!window) return 2;
    MSG ready{};
    const ULONGLONG deadline = GetTickCount64() + 60000;
    while (!PeekMessageW(&ready, window.get(), WM_APP_EDITOR_READY, WM_APP_EDITOR_READY, PM_REMOVE)) {
        if (GetTickCount64() >= deadline) return 3;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_POSTMESSAGE);
    }
    return 0;
}

struct ProgramRun {
    win::UniqueHandle process;
    DWORD process_id = 0;
    win::UniqueHandle standard_error;  // its read end, when asked for

    // The first line it wrote there, newline included, once it has ended.
    std::string error_line() const {
        char text[256] = {};
        DWORD read = 0;
        EXPECT_TRUE(ReadFile(standard_error.get(), text, sizeof text - 1, &read, nullptr));
        return text;
    }
};

class ResidentProcess : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        folder_ = program_folder_path().value_or(L"");
        clean();
    }
    void TearDown() override {
        for (const ProgramRun& run : runs_) TerminateProcess(run.process.get(), 99);  // what a failed test left
        if (lock_) clean();
    }
    void clean() {
        (void)remove_tree(folder_);
        RegDeleteKeyValueW(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE);
    }
    void write_settings(const Settings& settings) {
        ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
    }
    // The tests are built in build/win/tests, the program in build/win.
    const ProgramRun& start(const std::vector<std::wstring>& args, bool read_standard_error = false) {
        std::wstring command = quoted_program_path();
        for (const auto& arg : args) command += L" \"" + arg + L"\"";
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        ProgramRun& run = runs_.emplace_back();
        win::UniqueHandle write_end;
        SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
        if (read_standard_error && CreatePipe(run.standard_error.put(), write_end.put(), &inherit, 0)) {
            SetHandleInformation(run.standard_error.get(), HANDLE_FLAG_INHERIT, 0);
            startup.dwFlags = STARTF_USESTDHANDLES;
            startup.hStdError = write_end.get();
        }
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, read_standard_error, 0, nullptr, nullptr,
                                   &startup, &info));
        CloseHandle(info.hThread);
        run.process.reset(info.hProcess);
        run.process_id = info.dwProcessId;
        sweeper_.watch(run.process_id);
        return run;
    }
    // A resident's application window, once its loop runs.
    HWND start_resident() {
        const ProgramRun& run = start({});
        if (WaitForInputIdle(run.process.get(), 30000) != 0) return nullptr;
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));) {
            DWORD process = 0;
            GetWindowThreadProcessId(window, &process);
            if (process == run.process_id) return window;
        }
        return nullptr;
    }
    // As the tray menu's "Quit Glimmerly" does; answers the exit code.
    int quit(HWND window) {
        DWORD process = 0;
        GetWindowThreadProcessId(window, &process);
        PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0);
        for (const ProgramRun& run : runs_)
            if (run.process_id == process) return wait_for_exit(run.process);
        return -1;
    }

    // The resident's main popup once it shows: the menu window that has no owner.
    static HWND wait_for_menu(HWND window) {
        DWORD resident = 0;
        GetWindowThreadProcessId(window, &resident);
        HWND found = nullptr;
        eventually([&] {
            for (HWND menu = nullptr; (menu = FindWindowExW(nullptr, menu, L"Glimmerly.Menu", nullptr));) {
                DWORD process = 0;
                GetWindowThreadProcessId(menu, &process);
                if (process == resident && !GetWindow(menu, GW_OWNER) && IsWindowVisible(menu)) found = menu;
            }
            return found != nullptr;
        });
        return found;
    }
    static void press(HWND menu, std::initializer_list<std::pair<WPARAM, int>> keys) {
        for (const auto& [key, times] : keys)
            for (int i = 0; i < times; ++i) PostMessageW(menu, WM_KEYDOWN, key, 0);
    }

    // A resident with quiet settings, and its menu opened by a click on its icon.
    std::pair<HWND, HWND> resident_with_menu() {
        write_settings(quiet_settings());
        const HWND window = start_resident();
        if (!window) return {};
        PostMessageW(window, WM_APP_TRAY, TRAY_ICON_ID, WM_RBUTTONUP);
        return {window, wait_for_menu(window)};
    }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    DialogSweeper sweeper_;
    std::deque<ProgramRun> runs_;  // references to its runs stay valid
};

TEST_F(ResidentProcess, AReleaseOnTheIconOpensTheMenuAnotherClosesItAndItsKeysQuit) {
    const auto [window, first] = resident_with_menu();
    ASSERT_TRUE(first);
    PostMessageW(window, WM_APP_TRAY, TRAY_ICON_ID, WM_RBUTTONUP);
    EXPECT_TRUE(eventually([&] { return !IsWindow(first); }));
    PostMessageW(window, WM_APP_TRAY, TRAY_ICON_ID, WM_LBUTTONUP);
    const HWND menu = wait_for_menu(window);
    ASSERT_TRUE(menu);
    // Sixteen rows can be chosen: the sixteenth Down, past the headers and the separator, is on Quit.
    press(menu, {{VK_DOWN, 16}, {VK_RETURN, 1}});
    EXPECT_EQ(wait_for_exit(runs_.back().process), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(ResidentProcess, ALanguageChosenInTheMenuIsStoredAndAutostartFollowsTheSignInValue) {
    const auto [window, menu] = resident_with_menu();
    ASSERT_TRUE(menu);
    // Up twice is the language row; Right opens its list on "Windows language"; the sixth below is Deutsch.
    press(menu, {{VK_UP, 2}, {VK_RIGHT, 1}, {VK_DOWN, 6}, {VK_RETURN, 1}});
    // Autostart was off: the command turns the sign-in value on.
    PostMessageW(window, WM_APP_MENU_COMMAND, APP_COMMAND_START_WITH_WINDOWS, 0);
    EXPECT_TRUE(eventually([] { return registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE).has_value(); }));
    EXPECT_EQ(quit(window), 0);
    // Read once the writer is gone: a reader holding the file makes its replacement fail under Wine.
    const Settings stored = read_settings_file(folder_ + L"\\settings.txt").value_or(Settings{});
    EXPECT_EQ(stored.language, 5);
    EXPECT_TRUE(stored.start_with_windows);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(ResidentProcess, ASecondResidentSaysSoInTheStoredLanguageAndEnds) {
    Settings settings = quiet_settings();
    settings.language = 5;
    settings.instant_capture_shortcut = settings.capture_shortcut;  // refused, with a notice
    write_settings(settings);
    const HWND window = start_resident();
    ASSERT_TRUE(window);
    const std::wstring notice = win::to_wide(text_of(5, TextId::notice_instant_unavailable));
    EXPECT_TRUE(FindWindowW(L"Glimmerly.Confirmation", notice.c_str()));
    EXPECT_EQ(wait_for_exit(start({}).process), 0);
    EXPECT_TRUE(sweeper_.wait_for_text(win::to_wide(text_of(5, TextId::error_already_running))));
    // The first still runs, and its board shortcut opens the board in a process of its own.
    PostMessageW(window, WM_HOTKEY, HOTKEY_ID_BOARD_BASE, MAKELPARAM(kCtrlAltShift, VK_F17));
    DWORD resident = 0;
    GetWindowThreadProcessId(window, &resident);
    HWND board = nullptr;
    EXPECT_TRUE(eventually([&] {
        for (HWND found = nullptr; (found = FindWindowExW(nullptr, found, L"Glimmerly.Window", nullptr));) {
            DWORD process = 0;
            GetWindowThreadProcessId(found, &process);
            if (process != resident && IsWindowVisible(found)) board = found;
        }
        return board != nullptr;
    }));
    if (board) {
        DWORD id = 0;
        GetWindowThreadProcessId(board, &id);
        win::UniqueHandle process(OpenProcess(SYNCHRONIZE, FALSE, id));
        PostMessageW(board, WM_CLOSE, 0, 0);
        EXPECT_EQ(WaitForSingleObject(process.get(), 30000), WAIT_OBJECT_0);
    }
    EXPECT_EQ(quit(window), 0);
}

TEST_F(ResidentProcess, ASecondPreparedEditorFailsWhileTheFirstWaitsForItsCapture) {
    write_settings(quiet_settings());
    win::UniqueWindow owner(CreateWindowExW(0, L"STATIC", L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, nullptr, nullptr));
    const std::wstring owner_option =
        L"--notification-owner=" + std::to_wstring(reinterpret_cast<std::uintptr_t>(owner.get()));
    const ProgramRun& first = start({L"--prepared-editor", owner_option});
    MSG ready{};
    const ULONGLONG deadline = GetTickCount64() + 30000;
    while (!PeekMessageW(&ready, owner.get(), WM_APP_EDITOR_READY, WM_APP_EDITOR_READY, PM_REMOVE)) {
        ASSERT_LT(GetTickCount64(), deadline) << "the editor child never reported ready";
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 1000, QS_POSTMESSAGE);
    }
    EXPECT_EQ(ready.wParam, first.process_id);

    const ProgramRun& second = start({L"--prepared-editor", owner_option}, true);
    EXPECT_EQ(wait_for_exit(second.process), 1);
    EXPECT_EQ(second.error_line(), "An editor already exists\n");

    PostMessageW(reinterpret_cast<HWND>(ready.lParam), WM_CLOSE, 0, 0);
    EXPECT_EQ(wait_for_exit(first.process), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

// A pseudo handle such as HWND_BROADCAST would send the editor's reports to
// every top-level window and leave it waiting for good.
TEST_F(ResidentProcess, AnEditorOwnerThatIsNoOtherProgramsWindowIsRefusedAtStart) {
    write_settings(quiet_settings());
    const HWND gone = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr, nullptr, nullptr);
    ASSERT_TRUE(gone);
    DestroyWindow(gone);
    const auto not_a_window = [](const std::string& value) {
        return "The editor's owner " + value + " is not another program's window\n";
    };
    const std::string gone_value = std::to_string(reinterpret_cast<std::uintptr_t>(gone));
    const struct {
        const char* name;
        std::string value;
        std::string error;
    } rows[] = {
        {"HWND_BROADCAST", "65535", not_a_window("65535")},
        {"HWND_TOPMOST", "18446744073709551615", not_a_window("18446744073709551615")},
        {"HWND_MESSAGE", "18446744073709551613", not_a_window("18446744073709551613")},
        {"0", "0", "Missing editor owner\n"},
        {"a window that is gone", gone_value, not_a_window(gone_value)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const ProgramRun& run = start({L"--prepared-editor", L"--notification-owner=" + win::to_wide(row.value)}, true);
        ASSERT_EQ(wait_for_exit(run.process), 1);
        EXPECT_EQ(run.error_line(), row.error);
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// An owner that is no number is refused as soon as one that is no window:
// before any window is made or the renderer warmed up (a quarter of a
// gigabyte under Wine), so within the memory of that refusal.
TEST_F(ResidentProcess, AnEditorOwnerThatIsNoNumberIsRefusedBeforeTheRendererIsMade) {
    write_settings(quiet_settings());
    const TempFolder folder;
    const std::wstring errors = folder.path() + L"\\errors.txt";
    const auto run = [&](const std::wstring& owner_option) {
        SECURITY_ATTRIBUTES inherit{.nLength = sizeof(SECURITY_ATTRIBUTES), .bInheritHandle = TRUE};
        const win::UniqueFileHandle error(CreateFileW(errors.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                                      CREATE_ALWAYS, 0, nullptr));
        return run_watching_peak(quoted_program_path() + L" --prepared-editor " + owner_option, folder.path(),
                                 error.get(), sweeper_, 60000);
    };
    const WatchedRun no_window = run(L"--notification-owner=65535");
    ASSERT_EQ(no_window.exit_code, 1);
    ASSERT_EQ(read_test_file(errors), "The editor's owner 65535 is not another program's window\n");
    ASSERT_GT(no_window.readings, 0) << "not measured";
    RecordProperty("peak_working_set_no_window", std::to_string(no_window.peak_working_set));

    const struct {
        const char* name;
        std::wstring option;
    } rows[] = {
        {"zero", L"--notification-owner=0"},
        {"negative", L"--notification-owner=-1"},
        {"empty", L"--notification-owner="},
        {"a leading space", L"\"--notification-owner= 1\""},
        {"past 64 bits", L"--notification-owner=18446744073709551616"},
        {"none at all", L""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const WatchedRun refused = run(row.option);
        EXPECT_EQ(refused.exit_code, 1);
        EXPECT_EQ(read_test_file(errors), "Missing editor owner\n");
        ASSERT_GT(refused.readings, 0) << "not measured";
        RecordProperty(std::string("peak_working_set_") + row.name, std::to_string(refused.peak_working_set));
        EXPECT_LT(refused.peak_working_set, no_window.peak_working_set + (100u << 20))
            << refused.peak_working_set << " against " << no_window.peak_working_set;
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// Its owner's end ends a prepared editor that waits for its capture, also
// where no job of the owner's ends it.
TEST_F(ResidentProcess, APreparedEditorEndsWhenTheProgramThatOwnsItEnds) {
    write_settings(quiet_settings());
    auto owner_process = start_child(L"EditorOwnerThatEnds");
    ASSERT_TRUE(owner_process.ok()) << owner_process.failure().message;
    HWND owner = nullptr;
    ASSERT_TRUE(eventually([&] { return (owner = window_of(GetProcessId(owner_process->get()), L"STATIC")) != nullptr; }));
    const ProgramRun& editor =
        start({L"--prepared-editor", L"--notification-owner=" + std::to_wstring(reinterpret_cast<std::uintptr_t>(owner))});
    EXPECT_EQ(wait_for_exit(*owner_process), 0) << "the editor never reported ready";
    EXPECT_EQ(wait_for_exit(editor.process), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(ResidentProcess, TakesPrintScreenOverAndTheRestoreLeavesItAsTheUserLastHadIt) {
    const auto& names = PRINT_SCREEN_TAKEOVER;
    const auto system = [&] { return registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value); };
    const auto set_system = [&](auto v) { set_registry_dword(HKEY_CURRENT_USER, names.system_key, names.system_value, v); };
    using Value = std::optional<DWORD>;
    const struct {
        const char* name;
        std::vector<Value> found;  // by each start of the resident
        Value meanwhile, after;    // meanwhile: what the user sets before the restore
    } rows[] = {
        {"absent", {std::nullopt}, std::nullopt, std::nullopt},
        {"on", {1}, std::nullopt, 1},
        {"already off: nothing kept", {0}, std::nullopt, 0},
        {"turned on again meanwhile", {1}, 2, 2},
        {"the second takeover keeps what the first found", {1, 2}, std::nullopt, 1},
    };
    Settings settings = quiet_settings();
    settings.capture_shortcut = {0, VK_SNAPSHOT};
    write_settings(settings);
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        for (const Value found : row.found) {
            set_system(found);
            const HWND window = start_resident();
            ASSERT_TRUE(window);
            EXPECT_EQ(system(), Value(0));
            EXPECT_EQ(quit(window), 0);
        }
        if (row.meanwhile) set_system(row.meanwhile);
        EXPECT_EQ(wait_for_exit(start({L"--restore-print-screen"}).process), 0);
        EXPECT_EQ(system(), row.after);
        EXPECT_EQ(registry_dword(HKEY_CURRENT_USER, names.saved_key, names.saved_value), std::nullopt);
    }
    EXPECT_TRUE(sweeper_.answered().empty());
    set_system(std::nullopt);
}

// Settings that cannot be read stop the start with one box in the user's
// own language, and the file stays as it was.
TEST_F(ResidentProcess, SettingsHeldByAnotherProgramOrAProgramFolderThatIsAFileAreToldOnceAtStart) {
    apply_ui_language(LANGUAGE_AUTO);
    const Language users = current_language();
    set_current_language(LANGUAGE_ENGLISH);
    const std::wstring settings_file = folder_ + L"\\settings.txt";
    const std::string folder_is_a_file = win::to_utf8(folder_) + " is a file, not a folder";

    write_settings(quiet_settings());
    const auto settings_bytes = read_test_file(settings_file);
    auto held = HeldFile::hold(settings_file, 60000);
    ASSERT_TRUE(held.ok()) << held.failure().message;
    EXPECT_EQ(wait_for_exit(start({}).process), 1);
    EXPECT_EQ(held->let_go(), 0);
    EXPECT_EQ(read_test_file(settings_file), settings_bytes);

    clean();
    ASSERT_TRUE(write_test_file(folder_, "not a folder"));
    EXPECT_EQ(wait_for_exit(start({}).process), 1);
    EXPECT_EQ(read_test_file(folder_), "not a folder");

    std::vector<std::wstring> texts;
    for (const AnsweredBox& box : sweeper_.answered()) texts.push_back(box.text);
    EXPECT_EQ(texts, (std::vector<std::wstring>{
                         win::to_wide(localized_text(users, TextId::error_settings_in_use,
                                                     {{"path", win::to_utf8(settings_file)}})),
                         win::to_wide(localized_text(users, TextId::error_settings_unreadable,
                                                     {{"detail", folder_is_a_file}}))}));
}

// The image search's clean-up process deletes only a page of the program's
// temporary folder; anything else is refused on standard error and kept.
TEST_F(ResidentProcess, TheForgetProcessRefusesAFileOutsideThePagesFolder) {
    TempFolder elsewhere;
    const std::wstring page = elsewhere.path() + L"\\lens-1-1.html";
    ASSERT_TRUE(write_test_file(page, "kept"));
    const ProgramRun& run = start({L"--forget-lens-page", page}, true);
    EXPECT_EQ(wait_for_exit(run.process), 1);
    EXPECT_EQ(run.error_line(), "Not a Google Lens page\n");
    EXPECT_TRUE(path_exists(page));
}

// A first run that takes over the earlier name's settings: it must read
// them after the move, and without a capture shortcut it waits quietly.
TEST_F(ResidentProcess, AFirstRunReadsTheMovedSettingsShowsItsIconAndAnswersItsMessages) {
    const std::wstring earlier = local_app_data_path().value_or(L"") + L"\\Brindlet";
    Settings settings = quiet_settings();
    settings.capture_shortcut = {};
    std::string text = format_settings(settings);
    text.replace(0, std::string_view("glimmerly-settings-").size(), "brindlet-settings-");
    ASSERT_TRUE(create_directories(earlier).ok());
    ASSERT_TRUE(write_test_file(earlier + L"\\settings.txt", text));
    ASSERT_TRUE(set_registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE, L"\"C:\\glimmerly.exe\""));

    const HWND window = start_resident();
    ASSERT_TRUE(window);
    // Read before the move, the defaults would have kept the sign-in entry.
    EXPECT_EQ(registry_string(HKEY_CURRENT_USER, RUN_KEY, RUN_VALUE), std::nullopt);
    EXPECT_TRUE(tray_icon_shown(window));
    // Until a shortcut is chosen a capture starts nothing.
    PostMessageW(window, WM_APP_START_CAPTURE, 0, 0);
    // Only the diagnostics role leaves its loop on the delayed wake.
    for (UINT ignored : {WM_APP_DELAYED_WAKE, UINT{WM_APP + 3}, WM_APP_NOTICE, WM_APP_TRAY})
        PostMessageW(window, ignored, 1, 0);
    EXPECT_EQ(quit(window), 0);
    EXPECT_FALSE(tray_icon_shown(window));
    EXPECT_TRUE(sweeper_.answered().empty());
    (void)remove_tree(earlier);
}

}  // namespace
}  // namespace glimmerly
