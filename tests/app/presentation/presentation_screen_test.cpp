// Presentation mode in the real resident, driven from outside as a script
// would: the tray's pointer-effects command posted by post_message.exe and
// the pointer moved on the X display with xdotool.

#include <gtest/gtest.h>

#include <string>

#include "app/lib/settings_store.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "tests/app/support/resident.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kPointerEffects[] = L"101";
constexpr wchar_t kMenuCommand[] = L"0x800D";  // WM_APP + 13

// A program run to its end; its exit code, or -1 when it could not start.
int run(std::wstring command) {
    STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
    PROCESS_INFORMATION info{};
    if (!CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &info))
        return -1;
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

void move_pointer(int x, int y) {
    // xdotool is a host program; Wine runs it as it is.
    ASSERT_EQ(run(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y)), 0)
        << "xdotool is missing";
}

// X reports the pointer's motion to Wine only while it is over a Wine window.
class CoverWindow {
public:
    CoverWindow() {
        WNDCLASSW window_class{.lpfnWndProc = DefWindowProcW, .lpszClassName = L"Glimmerly.Tests.PresentationCover"};
        window_class.hbrBackground = static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH));
        RegisterClassW(&window_class);
        window_.reset(CreateWindowExW(WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE, window_class.lpszClassName, L"", WS_POPUP,
                                      0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr,
                                      nullptr, nullptr, nullptr));
        ShowWindow(window_.get(), SW_SHOWNOACTIVATE);
        UpdateWindow(window_.get());
    }

private:
    win::UniqueWindow window_;
};

class PresentationScreenTest : public ResidentTest {
protected:
    void toggle_pointer_effects() {
        ASSERT_EQ(run(beside_tests(L"post_message.exe") + L" Glimmerly.Window " + kMenuCommand + L" " +
                      kPointerEffects + L" 0 " + std::to_wstring(resident_.id)),
                  0);
    }
    HWND layer() const { return window_of(resident_.id, L"Glimmerly.Presentation"); }
    bool layer_at(RECT wanted) const {
        RECT shown{};
        return IsWindowVisible(layer()) && GetWindowRect(layer(), &shown) && EqualRect(&shown, &wanted);
    }

    CoverWindow cover_;
};

RECT square_around(int x, int y, int side) { return {x - side / 2, y - side / 2, x + side - side / 2, y + side - side / 2}; }

TEST_F(PresentationScreenTest, PointerEffectsFollowThePointerAndGoAway) {
    move_pointer(500, 400);
    toggle_pointer_effects();
    // The default disc of 48 px: a square of 4 x 32 px centred on the pointer.
    EXPECT_TRUE(eventually([&] { return layer_at(square_around(500, 400, 128)); }));
    move_pointer(900, 600);
    EXPECT_TRUE(eventually([&] { return layer_at(square_around(900, 600, 128)); }));
    toggle_pointer_effects();
    EXPECT_TRUE(eventually([&] { return layer() == nullptr; }));
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(PresentationScreenTest, ACaptureTakesTheEffectsAwayUntilItEnds) {
    move_pointer(500, 400);
    const Process child = wait_for_child();
    toggle_pointer_effects();
    ASSERT_TRUE(eventually([&] { return layer_at(square_around(500, 400, 128)); }));
    press_capture_shortcut();
    wait_for_capture(child);
    EXPECT_EQ(layer(), nullptr);  // gone before the frozen screen was grabbed
    INPUT escape[2] = {{.type = INPUT_KEYBOARD}, {.type = INPUT_KEYBOARD}};
    escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
    escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
    ASSERT_EQ(SendInput(2, escape, sizeof(INPUT)), 2u);
    EXPECT_TRUE(eventually([&] { return layer_at(square_around(500, 400, 128)); }));
    EXPECT_TRUE(sweeper_.answered().empty());
}

class TrailScreenTest : public PresentationScreenTest {
protected:
    void write_start_settings() override {
        write_settings(false);
        auto settings = read_settings_file(folder_ + L"\\settings.txt");
        ASSERT_TRUE(settings);
        settings->pointer.trail_style = 1;
        ASSERT_TRUE(save_settings_file(*settings, folder_ + L"\\settings.txt").ok());
    }
};

TEST_F(TrailScreenTest, ATrailCoversTheWholeMonitor) {
    move_pointer(500, 400);
    toggle_pointer_effects();
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint({500, 400}, MONITOR_DEFAULTTONEAREST), &monitor);
    EXPECT_TRUE(eventually([&] { return layer_at(monitor.rcMonitor); }));
    toggle_pointer_effects();
    EXPECT_TRUE(eventually([&] { return layer() == nullptr; }));
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
