#include "tests/app/support/resident.h"

#include <algorithm>
#include <string_view>

#include "app/app/hotkeys.h"
#include "app/app/messages.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/program_path.h"
#include "tests/app/support/registry.h"

namespace glimmerly::testing_support {
namespace {

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;

// The window that has the keyboard focus in the thread of `window`, or null.
HWND keyboard_focus_of(HWND window) {
    GUITHREADINFO info{.cbSize = sizeof info};
    return GetGUIThreadInfo(GetWindowThreadProcessId(window, nullptr), &info) ? info.hwndFocus : nullptr;
}

}  // namespace

bool eventually(const std::function<bool()>& condition) {
    const ULONGLONG deadline = GetTickCount64() + 30000;
    for (MSG message; !condition();) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

HWND window_of(DWORD process, const wchar_t* window_class) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, window_class, nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) return window;
    }
    return nullptr;
}

bool loop_runs(HWND window) {
    DWORD_PTR ignored = 0;
    return window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored);
}

void ResidentTest::SetUp() {
    GLIM_REQUIRE_PRIVATE_PREFIX();
    lock_.emplace();
    folder_ = program_folder_path().value_or(L"");
    (void)remove_tree(folder_);
    // Without it Wine hides a full-screen window only after two seconds.
    set_registry_string(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", L"N");
    write_start_settings();
    std::wstring command = quoted_program_path();
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    const HANDLE standard_error = resident_standard_error();
    if (standard_error) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdError = standard_error;
    }
    PROCESS_INFORMATION info{};
    ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, standard_error != nullptr, 0, nullptr,
                               nullptr, &startup, &info));
    CloseHandle(info.hThread);
    resident_ = {win::UniqueHandle(info.hProcess), info.dwProcessId};
    sweeper_.watch(resident_.id);  // and the children it starts
    ASSERT_EQ(WaitForInputIdle(resident_.handle.get(), 30000), 0u);
    resident_window_ = app_window_of(resident_.id);
}

void ResidentTest::TearDown() {
    if (resident_.handle) TerminateProcess(resident_.handle.get(), 99);  // what a failed test left
    if (lock_) (void)remove_tree(folder_);
}

void ResidentTest::write_settings(bool live_capture, const std::wstring& save_folder) {
    write_settings_with([&](Settings& settings) {
        settings.live_capture = live_capture;
        settings.save_folder = win::to_u16(save_folder);
    });
}

void ResidentTest::write_settings_with(const std::function<void(Settings&)>& change) {
    Settings settings;
    settings.capture_shortcut = {kCtrlAltShift, VK_F19};
    settings.instant_capture_shortcut = {kCtrlAltShift, VK_F18};
    settings.board_shortcut = {kCtrlAltShift, VK_F17};
    settings.start_with_windows = false;
    change(settings);
    ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
}

// What the program said in boxes so far: a child that never came is most
// often one the resident could not start, and its box says why.
std::string ResidentTest::boxes_said() {
    std::string said;
    for (const AnsweredBox& box : sweeper_.answered()) said += "box: " + win::to_utf8(box.text) + "\n";
    return said;
}

Process ResidentTest::wait_for_child(DWORD other) {
    Process child;
    // What the last look found, for a wait that ends without a child: none
    // running, one without its window yet, or one whose loop did not answer.
    std::string seen;
    EXPECT_TRUE(eventually([&] {
        seen = "children:";
        for (const DWORD id : child_process_ids(resident_.id)) {
            win::UniqueHandle handle(OpenProcess(PROCESS_ALL_ACCESS, FALSE, id));
            const bool running = handle && WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT;
            seen += " " + std::to_string(id) + (running ? "" : " (ended)");
            if (id != other && running) child = {std::move(handle), id};
        }
        if (!child.handle) return false;
        const HWND window = app_window_of(child.id);
        const bool runs = loop_runs(window);
        seen += "; chose " + std::to_string(child.id) + (window ? "" : ", no window yet") +
                (window && !runs ? ", its loop did not answer" : "");
        return runs;
    })) << "waiting for a child other than " << other << "; " << seen << "\n" << boxes_said();
    return child;
}

void ResidentTest::post_menu_command(unsigned id) {
    ASSERT_EQ(run_to_end(beside_tests(L"post_message.exe") + L" Glimmerly.Window " +
                         std::to_wstring(WM_APP_MENU_COMMAND) + L" " + std::to_wstring(id) + L" 0 " +
                         std::to_wstring(resident_.id)),
              0);
}

void ResidentTest::press_capture_shortcut() {
    PostMessageW(resident_window_, WM_HOTKEY, HOTKEY_ID_CAPTURE_BASE, MAKELPARAM(kCtrlAltShift, VK_F19));
}

HWND ResidentTest::wait_for_capture(const Process& child) {
    HWND window = nullptr;
    EXPECT_TRUE(eventually([&] { return IsWindowVisible(window = app_window_of(child.id)); }));
    RECT shown{}, screen{GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN)};
    screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
    screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
    EXPECT_TRUE(GetWindowRect(window, &shown) && EqualRect(&shown, &screen));
    EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
    EXPECT_TRUE(loop_runs(window));
    // The window shows a moment before its thread gives it the keyboard
    // focus; keys sent in between go to the window that had it.
    EXPECT_TRUE(eventually([&] { return keyboard_focus_of(window) == window; }));
    return window;
}

ProgramRun run_program(const std::vector<std::wstring>& args, const std::wstring& folder, DialogSweeper& sweeper,
                       DWORD timeout_ms) {
    const std::wstring program = program_path();
    std::wstring command = L"\"" + program + L"\"";
    for (const auto& arg : args) command += L" " + arg;
    win::UniqueHandle read_end, write_end;
    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    EXPECT_TRUE(CreatePipe(read_end.put(), write_end.put(), &inherit, 1 << 16));
    SetHandleInformation(read_end.get(), HANDLE_FLAG_INHERIT, 0);
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdError = write_end.get();
    PROCESS_INFORMATION info{};
    ProgramRun result;
    if (!CreateProcessW(program.c_str(), command.data(), nullptr, nullptr, TRUE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
        ADD_FAILURE() << win::win32_failure("CreateProcessW").message;
        return result;
    }
    CloseHandle(info.hThread);
    win::UniqueHandle process(info.hProcess);
    sweeper.watch(info.dwProcessId);
    write_end.reset();
    if (WaitForSingleObject(process.get(), timeout_ms) == WAIT_OBJECT_0) {
        DWORD code = 0;
        GetExitCodeProcess(process.get(), &code);
        result.exit_code = static_cast<int>(code);
    } else {
        TerminateProcess(process.get(), 99);
        WaitForSingleObject(process.get(), 5000);
    }
    // Its children may still hold the write end: only what is there is read.
    DWORD available = 0;
    if (PeekNamedPipe(read_end.get(), nullptr, 0, nullptr, &available, nullptr) && available > 0) {
        result.standard_error.resize(available);
        DWORD read = 0;
        ReadFile(read_end.get(), result.standard_error.data(), available, &read, nullptr);
        result.standard_error.resize(read);
    }
    return result;
}

namespace {

constexpr std::wstring_view kXdotool = L"Z:\\usr\\bin\\xdotool ";

// The file the last xdotool run of this process touches as its last action
// (its Windows path), or empty once that run is known to have ended; gone
// with this process at the latest.
struct XdotoolDoneFile {
    std::wstring path;
    ~XdotoolDoneFile() {
        if (!path.empty()) DeleteFileW(path.c_str());
    }
};
XdotoolDoneFile g_xdotool_done;
unsigned g_xdotool_runs = 0;

// Wine starts a host program such as xdotool without a process for its
// starter: CreateProcessW answers at once with no handle, and the program
// runs on beside the test. Two runs started one after the other could then
// act on the display in either order, a drag's press before the shortcut
// meant to come first. So each run touches a file of its own once it has
// done everything it was given, and the next run starts only when the
// previous one's file is there; the test still watches a run's effects
// while it runs.
int run_xdotool(std::wstring command) {
    if (!wait_for_xdotool()) return -1;
    const std::wstring unix_path = L"/tmp/glimmerly-xdotool-" + std::to_wstring(GetCurrentProcessId()) + L"-" +
                                   std::to_wstring(GetTickCount64()) + L"-" + std::to_wstring(++g_xdotool_runs);
    command += L" exec --sync /usr/bin/touch " + unix_path;
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    // Nothing to close: Wine gives a host program no process, and what it
    // leaves in hThread is no handle of ours (closing it once closed this
    // process's standard output).
    g_xdotool_done.path = L"Z:" + unix_path;
    std::replace(g_xdotool_done.path.begin(), g_xdotool_done.path.end(), L'/', L'\\');
    return 0;
}

}  // namespace

bool wait_for_xdotool() {
    std::wstring& path = g_xdotool_done.path;
    if (path.empty()) return true;
    const bool done = eventually([&] { return GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; });
    DeleteFileW(path.c_str());
    path.clear();
    return done;
}

int run_to_end(std::wstring command) {
    if (command.starts_with(kXdotool)) return run_xdotool(std::move(command));
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
    if (!info.hProcess) return -1;  // a host program: see run_xdotool
    CloseHandle(info.hThread);
    const win::UniqueHandle process(info.hProcess);
    WaitForSingleObject(process.get(), 30000);
    DWORD code = 0;
    GetExitCodeProcess(process.get(), &code);
    return static_cast<int>(code);
}

std::wstring beside_tests(const wchar_t* name) {
    wchar_t own[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, own, MAX_PATH);
    return L"\"" + win::join_path(win::folder_of(own), name) + L"\"";
}

}  // namespace glimmerly::testing_support
