// A first start as a user meets it: no settings file, so the resident shows
// its captioned setup proposing Print Screen; Save stores it, and Print
// Screen then opens a capture. With Print Screen held by another program
// the setup says so, and Cancel ends a resident that holds no shortcut.

#include <gtest/gtest.h>

#include "app/app/notice.h"
#include "app/lib/settings_store.h"
#include "tests/app/render/render_support.h"
#include "tests/app/support/child_process.h"
#include "tests/app/support/injected_input.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using testing_support::eventually;
using testing_support::key_input;

constexpr Rgb kError{248, 81, 73};

// A click at a point of the dialog given in its design units (420 x 248 at 96 dpi).
void click_dialog(HWND window, double x, double y) {
    RECT client{};
    ASSERT_TRUE(GetClientRect(window, &client));
    POINT at{static_cast<LONG>(x * client.right / 420.0), static_cast<LONG>(y * client.bottom / 248.0)};
    ClientToScreen(window, &at);
    const auto normal = [](LONG v, int extent) { return static_cast<LONG>((v * 65536 + extent - 1) / extent); };
    INPUT inputs[3] = {};
    for (INPUT& input : inputs) {
        input.type = INPUT_MOUSE;
        input.mi.dx = normal(at.x, GetSystemMetrics(SM_CXSCREEN));
        input.mi.dy = normal(at.y, GetSystemMetrics(SM_CYSCREEN));
        input.mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    }
    inputs[1].mi.dwFlags |= MOUSEEVENTF_LEFTDOWN;
    inputs[2].mi.dwFlags |= MOUSEEVENTF_LEFTUP;
    EXPECT_EQ(SendInput(3, inputs, sizeof(INPUT)), 3u);
}

// The setup shown: the application window with a caption, visible.
bool setup_shown(HWND window) {
    return window && IsWindowVisible(window) && (GetWindowLongPtrW(window, GWL_STYLE) & WS_CAPTION) == WS_CAPTION;
}

// Whether the dialog's hint line shows red letters, read from the screen.
bool hint_is_red(HWND window) {
    RECT client{};
    GetClientRect(window, &client);
    POINT origin{0, 0};
    ClientToScreen(window, &origin);
    HDC screen = GetDC(nullptr);
    bool red = false;
    for (int y = 132; y < 184 && !red; y += 1)
        for (int x = 20; x < 400 && !red; x += 1) {
            const COLORREF c = GetPixel(screen, origin.x + x * client.right / 420, origin.y + y * client.bottom / 248);
            red = testing::close_to({GetRValue(c), GetGValue(c), GetBValue(c)}, kError, 24);
        }
    ReleaseDC(nullptr, screen);
    return red;
}

class FirstStart : public testing_support::ResidentTest {
protected:
    void write_start_settings() override {}
};

TEST_F(FirstStart, SaveStoresPrintScreenWhichThenOpensACapture) {
    HWND setup = nullptr;
    ASSERT_TRUE(eventually([&] { return setup_shown(setup = testing_support::app_window_of(resident_.id)); }));
    EXPECT_FALSE(hint_is_red(setup));
    const testing_support::Process prepared = wait_for_child();
    click_dialog(setup, 356, 212);  // Save
    ASSERT_TRUE(eventually([&] { return !IsWindowVisible(setup); }));
    EXPECT_TRUE(eventually([&] { return testing_support::window_of(resident_.id, NOTICE_WINDOW_CLASS) != nullptr; }));
    const Settings stored = read_settings_file(folder_ + L"\\settings.txt").value_or(Settings{});
    EXPECT_EQ(stored.capture_shortcut, (Shortcut{0, VK_SNAPSHOT}));

    INPUT print_screen[2] = {key_input(VK_SNAPSHOT, false), key_input(VK_SNAPSHOT, true)};
    EXPECT_EQ(SendInput(2, print_screen, sizeof(INPUT)), 2u);
    (void)wait_for_capture(prepared);
}

// Another program holding Print Screen, Scroll Lock and Alt+B: the setup
// opens with its reason, and Cancel leaves a resident no key could call.
GLIM_TEST_CHILD(HoldDefaultShortcuts) {
    win::UniqueHandle ready(OpenEventW(EVENT_MODIFY_STATE, FALSE, args.at(0).c_str()));
    if (!ready || !RegisterHotKey(nullptr, 1, 0, VK_SNAPSHOT) || !RegisterHotKey(nullptr, 2, 0, VK_SCROLL) ||
        !RegisterHotKey(nullptr, 3, MOD_ALT, 'B'))
        return 2;
    SetEvent(ready.get());
    Sleep(60000);  // ended by the test
    return 0;
}

class FirstStartWithKeysHeld : public FirstStart {
protected:
    void SetUp() override {
        const std::wstring name = testing_support::unique_name(L"Glimmerly.Tests.Held");
        win::UniqueHandle ready(CreateEventW(nullptr, TRUE, FALSE, name.c_str()));
        auto child = testing_support::start_child(L"HoldDefaultShortcuts", {name});
        ASSERT_TRUE(child);
        holder_ = std::move(*child);
        HANDLE both[] = {ready.get(), holder_.get()};
        ASSERT_EQ(WaitForMultipleObjects(2, both, FALSE, 30000), WAIT_OBJECT_0);
        FirstStart::SetUp();
    }
    void TearDown() override {
        FirstStart::TearDown();
        if (holder_) TerminateProcess(holder_.get(), 0);
    }
    win::UniqueHandle holder_;
};

TEST_F(FirstStartWithKeysHeld, TheSetupSaysPrintScreenIsHeldAndCancelEndsTheResident) {
    HWND setup = nullptr;
    ASSERT_TRUE(eventually([&] { return setup_shown(setup = testing_support::app_window_of(resident_.id)); }));
    EXPECT_TRUE(eventually([&] { return hint_is_red(setup); }));
    click_dialog(setup, 260, 212);  // Cancel
    EXPECT_EQ(testing_support::wait_for_exit(resident_.handle), 0);
    resident_.handle.reset();
}

}  // namespace
}  // namespace glimmerly
