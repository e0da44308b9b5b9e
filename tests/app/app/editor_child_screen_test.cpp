// A capture from the shortcut to the frozen screen, with the real program:
// the resident (glimmerly.exe, built beside the tests), the editor children
// it starts in their job, and what the screen shows. Every box that any of
// them shows is answered and kept; none is expected.

#include <gtest/gtest.h>

#include <deque>
#include <functional>

#include "app/app/commands.h"
#include "app/app/hotkeys.h"
#include "app/app/messages.h"
#include "app/lib/folder_tree.h"
#include "app/lib/program_folders.h"
#include "app/lib/registry_names.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "app/win/paths.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/dialogs.h"
#include "tests/app/support/files.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/registry.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr RECT kPatternRect{200, 150, 520, 390};
constexpr COLORREF kQuadrants[4] = {RGB(200, 30, 40), RGB(20, 160, 60), RGB(30, 60, 220), RGB(240, 200, 20)};
constexpr COLORREF kCover = RGB(255, 0, 255);

// The test's own windows: the four quadrants, or one colour (GWLP_USERDATA
// holds the colour plus one).
LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message == WM_ERASEBKGND) return 1;
    if (message != WM_PAINT) return DefWindowProcW(window, message, wparam, lparam);
    win::PaintDc paint(window);
    const LONG_PTR solid = GetWindowLongPtrW(window, GWLP_USERDATA);
    RECT client{};
    GetClientRect(window, &client);
    for (int i = 0; i < 4; ++i) {
        const LONG w = client.right / 2, h = client.bottom / 2;
        const RECT part{(i % 2) * w, (i / 2) * h, (i % 2 + 1) * w, (i / 2 + 1) * h};
        win::UniqueBrush brush(CreateSolidBrush(solid ? static_cast<COLORREF>(solid - 1) : kQuadrants[i]));
        FillRect(paint.get(), &part, brush.get());
    }
    return 0;
}

win::UniqueWindow show_test_window(std::optional<COLORREF> solid) {
    WNDCLASSW window_class{.lpfnWndProc = test_window_proc, .lpszClassName = L"Glimmerly.Tests.Pattern"};
    RegisterClassW(&window_class);
    const RECT& r = kPatternRect;
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class.lpszClassName, L"",
                                             WS_POPUP, r.left, r.top, r.right - r.left, r.bottom - r.top, nullptr,
                                             nullptr, nullptr, nullptr));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, solid ? static_cast<LONG_PTR>(*solid) + 1 : 0);
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

// Other processes' windows change with no event to wait on: look again
// every 10 ms, pumping this thread's windows meanwhile, until the deadline.
bool eventually(const std::function<bool()>& condition, unsigned timeout_ms = 30000) {
    const ULONGLONG deadline = GetTickCount64() + timeout_ms;
    while (!condition()) {
        if (GetTickCount64() >= deadline) return false;
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        MSG message;
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    }
    return true;
}

// True when every quadrant's middle on the screen has the colour.
bool screen_shows(const std::function<COLORREF(int)>& colour_of) {
    win::WindowDc screen = win::WindowDc::of(nullptr);
    const RECT& r = kPatternRect;
    for (int i = 0; i < 4; ++i) {
        const int x = r.left + (r.right - r.left) * (1 + 2 * (i % 2)) / 4;
        const int y = r.top + (r.bottom - r.top) * (1 + 2 * (i / 2)) / 4;
        if (GetPixel(screen.get(), x, y) != colour_of(i)) return false;
    }
    return true;
}
bool screen_shows_pattern() { return screen_shows([](int i) { return kQuadrants[i]; }); }

struct Process {
    win::UniqueHandle handle;
    DWORD id = 0;
};

// The application window of a process.
HWND app_window_of(DWORD process) {
    for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Window", nullptr));) {
        DWORD owner = 0;
        GetWindowThreadProcessId(window, &owner);
        if (owner == process) return window;
    }
    return nullptr;
}

class EditorChild : public ::testing::Test {
protected:
    void SetUp() override {
        GLIM_REQUIRE_PRIVATE_PREFIX();
        lock_.emplace();
        folder_ = program_folder_path().value_or(L"");
        (void)remove_tree(folder_);
        // Without it Wine hides a full-screen window only after two seconds.
        set_registry_string(HKEY_CURRENT_USER, L"Software\\Wine\\X11 Driver", L"Managed", L"N");
        write_settings(capturing_settings());
    }
    void TearDown() override {
        for (const Process& run : started_) TerminateProcess(run.handle.get(), 99);  // what a failed test left
        if (lock_) (void)remove_tree(folder_);
    }
    static Settings capturing_settings() {
        Settings settings;
        settings.capture_shortcut = {kCtrlAltShift, VK_F19};
        settings.instant_capture_shortcut = {kCtrlAltShift, VK_F18};
        settings.board_shortcut = {kCtrlAltShift, VK_F17};
        settings.start_with_windows = false;
        return settings;
    }
    void write_settings(const Settings& settings) {
        ASSERT_TRUE(save_settings_file(settings, folder_ + L"\\settings.txt").ok());
    }
    // The resident, once its loop runs, and its window.
    const Process& start_resident() {
        wchar_t own[MAX_PATH] = {};
        GetModuleFileNameW(nullptr, own, MAX_PATH);
        std::wstring command = L"\"" + win::join_path(win::folder_of(win::folder_of(own)), L"glimmerly.exe") + L"\"";
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        PROCESS_INFORMATION info{};
        EXPECT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info));
        CloseHandle(info.hThread);
        Process& run = started_.emplace_back(Process{win::UniqueHandle(info.hProcess), info.dwProcessId});
        sweeper_.watch(run.id);
        EXPECT_EQ(WaitForInputIdle(run.handle.get(), 30000), 0u);
        resident_window_ = app_window_of(run.id);
        return run;
    }
    // The resident's child other than `other`, once its loop runs (a
    // prepared child has warmed up and reported ready by then): its window
    // answers only from the loop.
    Process wait_for_child(DWORD resident, DWORD other = 0) {
        Process child;
        HWND window = nullptr;
        eventually([&] {
            const DWORD access = SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE;
            for (const DWORD id : child_process_ids(resident)) {
                win::UniqueHandle handle(OpenProcess(access, FALSE, id));
                if (id != other && handle && WaitForSingleObject(handle.get(), 0) == WAIT_TIMEOUT)
                    child = {std::move(handle), id};
            }
            return child.handle.valid() && (window = app_window_of(child.id));
        });
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(window && SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored))
            << "no editor child";
        return child;
    }
    void press_capture_shortcut() {
        PostMessageW(resident_window_, WM_HOTKEY, HOTKEY_ID_CAPTURE_BASE, MAKELPARAM(kCtrlAltShift, VK_F19));
    }
    // The child's window once it shows the capture over the whole virtual
    // screen, above every other window, with its first frame painted.
    HWND wait_for_capture(const Process& child) {
        HWND window = nullptr;
        EXPECT_TRUE(eventually([&] { return IsWindowVisible(window = app_window_of(child.id)); }));
        RECT rect{};
        GetWindowRect(window, &rect);
        EXPECT_EQ(rect.left, GetSystemMetrics(SM_XVIRTUALSCREEN));
        EXPECT_EQ(rect.top, GetSystemMetrics(SM_YVIRTUALSCREEN));
        EXPECT_EQ(rect.right - rect.left, GetSystemMetrics(SM_CXVIRTUALSCREEN));
        EXPECT_EQ(rect.bottom - rect.top, GetSystemMetrics(SM_CYVIRTUALSCREEN));
        EXPECT_TRUE(GetWindowLongPtrW(window, GWL_EXSTYLE) & WS_EX_TOPMOST);
        // The capture opens in one message, its first paint included: the
        // child answers this only after it.
        DWORD_PTR ignored = 0;
        EXPECT_TRUE(SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_NORMAL, 30000, &ignored));
        return window;
    }
    static void press_escape(HWND window) { PostMessageW(window, WM_KEYDOWN, VK_ESCAPE, 0); }

    std::optional<UserDataLock> lock_;
    std::wstring folder_;
    DialogSweeper sweeper_;
    std::deque<Process> started_;
    HWND resident_window_ = nullptr;
};

TEST_F(EditorChild, TheShortcutShowsTheFrozenScreenInThePreparedChildAndEscapePreparesTheNext) {
    const Process& resident = start_resident();
    const Process first = wait_for_child(resident.id);
    win::UniqueWindow pattern = show_test_window(std::nullopt);
    ASSERT_TRUE(eventually(screen_shows_pattern));

    press_capture_shortcut();
    press_capture_shortcut();  // a second press only brings the capture forward
    const HWND editor = wait_for_capture(first);
    EXPECT_EQ(child_process_ids(resident.id), std::vector<DWORD>{first.id});

    // What the screen shows where the pattern was, once it is gone and a
    // window above the capture has come and gone: only the capture's own
    // frozen frame can bring the pattern back.
    win::UniqueWindow cover = show_test_window(kCover);
    ASSERT_TRUE(eventually([] { return screen_shows([](int) { return kCover; }); }));
    pattern.reset();
    cover.reset();
    EXPECT_TRUE(eventually(screen_shows_pattern));

    press_escape(editor);
    EXPECT_EQ(wait_for_exit(first.handle), 0);
    const Process next = wait_for_child(resident.id, first.id);
    EXPECT_FALSE(IsWindowVisible(app_window_of(next.id)));

    // Quitting the resident closes its child.
    PostMessageW(resident_window_, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0);
    EXPECT_EQ(wait_for_exit(resident.handle), 0);
    EXPECT_EQ(wait_for_exit(next.handle), 0);
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(EditorChild, APreparedChildThatDiedGivesWayToAColdOneAndTheResidentsEndTakesItsChildAlong) {
    const Process& resident = start_resident();
    const Process prepared = wait_for_child(resident.id);
    TerminateProcess(prepared.handle.get(), 7);
    ASSERT_EQ(wait_for_exit(prepared.handle), 7);

    press_capture_shortcut();
    const Process cold = wait_for_child(resident.id, prepared.id);
    wait_for_capture(cold);

    TerminateProcess(resident.handle.get(), 9);
    EXPECT_NE(wait_for_exit(cold.handle), -1) << "the job ends the child with its resident";
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(EditorChild, ACaptureThatCannotStartIsShownEndsItsChildWithOneAndTheNextCaptureOpens) {
    const Process& resident = start_resident();
    const Process prepared = wait_for_child(resident.id);
    // The child reads the settings again as the capture starts.
    ASSERT_TRUE(write_test_file(folder_ + L"\\settings.txt", "glimmerly-settings-999\n"));
    press_capture_shortcut();
    EXPECT_EQ(wait_for_exit(prepared.handle), 1);
    const auto boxes = sweeper_.answered();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.starts_with(L"Unsupported or damaged settings.")) << win::to_utf8(boxes[0].text);

    // Live capture asks the system to keep the editor out of grabs, which
    // Wine refuses: the capture opens all the same, frozen.
    Settings live = capturing_settings();
    live.live_capture = true;
    write_settings(live);
    press_capture_shortcut();
    const Process cold = wait_for_child(resident.id, prepared.id);
    press_escape(wait_for_capture(cold));
    EXPECT_EQ(wait_for_exit(cold.handle), 0);
    wait_for_child(resident.id, cold.id);
    EXPECT_EQ(sweeper_.answered().size(), 1u);
}

}  // namespace
}  // namespace glimmerly
