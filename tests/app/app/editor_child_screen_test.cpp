// A capture from the shortcut to the frozen screen, with the real program:
// the resident (glimmerly.exe, built beside the tests), the editor children
// it starts in their job, and what the screen shows. Every box that any of
// them shows is answered and kept.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>

#include "app/app/commands.h"
#include "app/app/messages.h"
#include "app/app/notice.h"
#include "app/lib/settings_store.h"
#include "app/win/failure.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/files.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr RECT kArea{200, 150, 520, 390};
constexpr COLORREF kQuadrants[4] = {RGB(200, 30, 40), RGB(20, 160, 60), RGB(30, 60, 220), RGB(240, 200, 20)};
constexpr COLORREF kCover = RGB(255, 0, 255);

RECT quadrant(const RECT& r, int i) {
    const LONG w = (r.right - r.left) / 2, h = (r.bottom - r.top) / 2;
    const LONG x = r.left + (i % 2) * w, y = r.top + (i / 2) * h;
    return {x, y, x + w, y + h};
}

// Four coloured quadrants, or one colour plus one in GWLP_USERDATA.
LRESULT CALLBACK test_window_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) noexcept {
    if (message != WM_PAINT) return message == WM_ERASEBKGND ? 1 : DefWindowProcW(window, message, wparam, lparam);
    win::PaintDc paint(window);
    const LONG_PTR solid = GetWindowLongPtrW(window, GWLP_USERDATA);
    for (int i = 0; i < 4; ++i) {
        const RECT part = quadrant({0, 0, kArea.right - kArea.left, kArea.bottom - kArea.top}, i);
        win::UniqueBrush brush(CreateSolidBrush(solid ? static_cast<COLORREF>(solid - 1) : kQuadrants[i]));
        FillRect(paint.get(), &part, brush.get());
    }
    return 0;
}

win::UniqueWindow show_test_window(LONG_PTR solid_plus_one) {
    WNDCLASSW window_class{.lpfnWndProc = test_window_proc, .lpszClassName = L"Glimmerly.Tests.Pattern"};
    RegisterClassW(&window_class);
    win::UniqueWindow window(CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, window_class.lpszClassName, L"",
                                             WS_POPUP, kArea.left, kArea.top, kArea.right - kArea.left,
                                             kArea.bottom - kArea.top, nullptr, nullptr, nullptr, nullptr));
    SetWindowLongPtrW(window.get(), GWLP_USERDATA, solid_plus_one);
    ShowWindow(window.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(window.get());
    return window;
}

// Whether the middle of each quadrant on the screen has its colour; a
// capture shades the whole frozen screen (48 % black) until a region is chosen.
bool screen_shows(bool pattern, bool shaded = false) {
    win::WindowDc screen = win::WindowDc::of(nullptr);
    for (int i = 0; i < 4; ++i) {
        const RECT q = quadrant(kArea, i);
        const COLORREF shown = GetPixel(screen.get(), (q.left + q.right) / 2, (q.top + q.bottom) / 2);
        const COLORREF want = pattern ? kQuadrants[i] : kCover;
        for (const int at : {0, 8, 16}) {  // red, green, blue
            const int was = (want >> at) & 0xFF, got = (shown >> at) & 0xFF;
            if (std::abs(got - (shaded ? static_cast<int>(was * 0.52 + 0.5) : was)) > (shaded ? 2 : 0)) return false;
        }
    }
    return true;
}

class EditorChild : public ResidentTest {
protected:
    // Holds the child's window thread, so that it reads nothing more, and
    // presses the key; returns once the resident has handled it. The
    // resident drops its notice as a capture starts, and its loop answers
    // only after the handler that did so.
    void press_while_child_held(const Process& child) {
        PostMessageW(resident_window_, WM_APP_NOTICE, child.id, 1);
        ASSERT_TRUE(eventually([&] { return window_of(resident_.id, NOTICE_WINDOW_CLASS) != nullptr; }));
        win::UniqueHandle thread(
            OpenThread(THREAD_SUSPEND_RESUME, FALSE, GetWindowThreadProcessId(app_window_of(child.id), nullptr)));
        ASSERT_TRUE(thread && SuspendThread(thread.get()) != static_cast<DWORD>(-1));
        press_capture_shortcut();
        ASSERT_TRUE(eventually([&] { return window_of(resident_.id, NOTICE_WINDOW_CLASS) == nullptr; }));
        ASSERT_TRUE(loop_runs(resident_window_));
    }
};

TEST_F(EditorChild, TheShortcutShowsTheFrozenScreenInThePreparedChildAndEscapeOrALanguageChangePreparesTheNext) {
    const Process first = wait_for_child();
    win::UniqueWindow pattern = show_test_window(0);
    ASSERT_TRUE(eventually([] { return screen_shows(true); }));

    press_capture_shortcut();
    press_capture_shortcut();  // a second press only brings the capture forward
    const HWND editor = wait_for_capture(first);
    EXPECT_EQ(child_process_ids(resident_.id), std::vector<DWORD>{first.id});

    // Once the pattern is gone and a window above the capture has come and
    // gone, only the capture's own frozen frame can show the pattern there.
    win::UniqueWindow cover = show_test_window(LONG_PTR{kCover} + 1);
    ASSERT_TRUE(eventually([] { return screen_shows(false); }));
    pattern.reset();
    cover.reset();
    EXPECT_TRUE(eventually([] { return screen_shows(true, true); }));

    PostMessageW(editor, WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(wait_for_exit(first.handle), 0);
    const Process next = wait_for_child(first.id);
    EXPECT_FALSE(IsWindowVisible(app_window_of(next.id)));

    // The prepared child has its texts: a language chosen in the menu replaces it.
    PostMessageW(resident_window_, WM_APP_MENU_COMMAND, command_of_language(5), 1);
    EXPECT_EQ(wait_for_exit(next.handle), 0);
    const Process german = wait_for_child(next.id);
    EXPECT_EQ(read_settings_file(folder_ + L"\\settings.txt").value_or(Settings{}).language, 5);

    PostMessageW(resident_window_, WM_APP_MENU_COMMAND, APP_COMMAND_QUIT, 0);
    EXPECT_EQ(wait_for_exit(resident_.handle), 0);
    EXPECT_EQ(wait_for_exit(german.handle), 0) << "closed by its resident";
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(EditorChild, ACaptureThatFailsOrAChildThatDiedIsFollowedByAColdChildAndAKilledResidentTakesItsChildAlong) {
    const Process prepared = wait_for_child();
    // The child reads the settings again as the capture starts.
    ASSERT_TRUE(write_test_file(folder_ + L"\\settings.txt", "glimmerly-settings-999\n"));
    press_capture_shortcut();
    EXPECT_EQ(wait_for_exit(prepared.handle), 1);
    const auto boxes = sweeper_.answered();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_TRUE(boxes[0].text.starts_with(L"Unsupported or damaged settings.")) << win::to_utf8(boxes[0].text);

    // Live capture asks the system to keep the editor out of grabs, which
    // Wine refuses: the capture opens all the same, frozen.
    write_settings(true);
    press_capture_shortcut();
    const Process cold = wait_for_child(prepared.id);
    PostMessageW(wait_for_capture(cold), WM_KEYDOWN, VK_ESCAPE, 0);
    EXPECT_EQ(wait_for_exit(cold.handle), 0);

    const Process next = wait_for_child(cold.id);
    TerminateProcess(next.handle.get(), 7);
    ASSERT_EQ(wait_for_exit(next.handle), 7);
    press_capture_shortcut();
    const Process second_cold = wait_for_child(next.id);
    wait_for_capture(second_cold);

    TerminateProcess(resident_.handle.get(), 9);
    EXPECT_NE(wait_for_exit(second_cold.handle), -1) << "the job ends the child with its resident";
    EXPECT_EQ(sweeper_.answered().size(), 1u);
}

TEST_F(EditorChild, AShortcutPressedAsThePreparedChildDiesOpensTheCaptureInAColdChild) {
    const struct {
        const char* name;
        bool capture_open;  // the child dies under a capture of its own
        bool key_first;
        int times;
    } rows[] = {
        // What a user meets: the child is gone by the time the key comes.
        {"killed, then the key at once", false, false, 10},
        // The request reaches the child's window but never the child.
        {"the key posted to a child that no longer reads, then killed", false, true, 3},
        {"killed under its capture, then the key at once", true, false, 3},
    };
    Process prepared = wait_for_child();
    for (const auto& row : rows) {
        for (int attempt = 1; attempt <= row.times; ++attempt) {
            SCOPED_TRACE(std::string(row.name) + ", attempt " + std::to_string(attempt));
            if (row.capture_open) {
                press_capture_shortcut();
                wait_for_capture(prepared);
            }
            // Killed by its id, as anything outside the program would.
            win::UniqueHandle killed(OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, prepared.id));
            ASSERT_TRUE(killed);
            if (row.key_first) press_while_child_held(prepared);
            ASSERT_TRUE(TerminateProcess(killed.get(), 5));
            if (!row.key_first) press_capture_shortcut();
            const Process cold = wait_for_child(prepared.id);
            ASSERT_TRUE(cold.handle);
            PostMessageW(wait_for_capture(cold), WM_KEYDOWN, VK_ESCAPE, 0);
            ASSERT_EQ(wait_for_exit(cold.handle), 0);
            prepared = wait_for_child(cold.id);
        }
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(EditorChild, APreparedChildThatEndsWhileTheResidentIdlesLeavesTheNextCaptureToAColdChildWithNoBox) {
    const struct {
        const char* name;
        bool killed;  // else closed through its window
    } rows[] = {
        {"killed from outside", true},
        {"closed through its window", false},
    };
    Process prepared = wait_for_child();
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        // No key and no message to the resident: only the child's end itself reaches it.
        if (row.killed) {
            win::UniqueHandle killed(OpenProcess(PROCESS_TERMINATE, FALSE, prepared.id));
            ASSERT_TRUE(killed && TerminateProcess(killed.get(), 5));
            ASSERT_EQ(wait_for_exit(prepared.handle), 5);
        } else {
            PostMessageW(app_window_of(prepared.id), WM_CLOSE, 0, 0);
            ASSERT_EQ(wait_for_exit(prepared.handle), 0);
        }
        ASSERT_TRUE(loop_runs(resident_window_));
        for (const DWORD id : child_process_ids(resident_.id))
            EXPECT_EQ(id, prepared.id) << "no child is started before a capture asks";
        press_capture_shortcut();
        const Process cold = wait_for_child(prepared.id);
        PostMessageW(wait_for_capture(cold), WM_KEYDOWN, VK_ESCAPE, 0);
        ASSERT_EQ(wait_for_exit(cold.handle), 0);
        // The cold capture's own end prepares the next, once the resident has seen it.
        prepared = wait_for_child(cold.id);
        EXPECT_FALSE(IsWindowVisible(app_window_of(prepared.id)));
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(EditorChild, TheWaitingResidentHasNotLoadedTheCommonControlsWhichOnlyATypingControlNeeds) {
    wait_for_child();
    const std::vector<std::wstring> modules = module_names(resident_.id);
    ASSERT_NE(std::find(modules.begin(), modules.end(), L"user32.dll"), modules.end()) << "modules were read";
    EXPECT_EQ(std::find(modules.begin(), modules.end(), L"comctl32.dll"), modules.end());
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
