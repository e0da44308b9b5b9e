// Presentation mode in the real resident, driven from outside as a script
// would: the tray's presentation commands posted by post_message.exe, the
// pointer moved and the shortcuts typed on the X display with xdotool.

#include <gtest/gtest.h>

#include <string>

#include "app/lib/settings_store.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "tests/app/support/resident.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kPointerEffects[] = L"101";
constexpr wchar_t kMagnifier[] = L"107";
constexpr int kProbeHotkey = 0x7F00;
constexpr wchar_t kMenuCommand[] = L"0x800D";  // WM_APP + 13


void move_pointer(int x, int y) {
    // xdotool is a host program; Wine runs it as it is.
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y)), 0)
        << "xdotool is missing";
}

// Real keys, typed where the pointer is (over a Wine window, so that X
// hands them to Wine): keys sent by SendInput are marked injected, and the
// presentation's keyboard hook passes those by.
void type_keys(const std::wstring& keys) {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 500 400 key " + keys), 0) << "xdotool is missing";
}

// Whether another process holds the combination: this one is refused it.
// A combination that was free is given back at once.
bool held_elsewhere(UINT modifiers, UINT key) {
    if (RegisterHotKey(nullptr, kProbeHotkey, modifiers, key)) {
        UnregisterHotKey(nullptr, kProbeHotkey);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}

// A combination this process holds for the length of a test.
struct HeldHotkey {
    HeldHotkey(int id, UINT modifiers, UINT key) : id(id), held(RegisterHotKey(nullptr, id, modifiers, key)) {}
    HeldHotkey(const HeldHotkey&) = delete;
    HeldHotkey& operator=(const HeldHotkey&) = delete;
    ~HeldHotkey() {
        if (held) UnregisterHotKey(nullptr, id);
    }
    int id;
    bool held;
};

bool stop_shortcut_held() { return held_elsewhere(MOD_CONTROL | MOD_ALT, VK_ESCAPE); }

// X reports the pointer's motion to Wine only while it is over a Wine window.
class CoverWindow {
private:
    win::UniqueWindow window_ = testing_support::screen_cover_window(
        L"Glimmerly.Tests.PresentationCover", static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
};

class PresentationScreenTest : public ResidentTest {
protected:
    void post_command(const wchar_t* command) {
        ASSERT_EQ(run_to_end(beside_tests(L"post_message.exe") + L" Glimmerly.Window " + kMenuCommand + L" " + command +
                      L" 0 " + std::to_wstring(resident_.id)),
                  0);
    }
    void toggle_pointer_effects() { post_command(kPointerEffects); }
    HWND layer() const { return window_of(resident_.id, L"Glimmerly.Presentation"); }
    // How many layer windows the resident has.
    std::size_t presentation_windows() const {
        std::size_t count = 0;
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Presentation", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == resident_.id) ++count;
        }
        return count;
    }
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
        write_settings_with([](Settings& settings) { settings.pointer.trail_style = 1; });
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

TEST_F(PresentationScreenTest, CtrlAltEscTurnsEverythingOffAndGivesItselfBack) {
    move_pointer(500, 400);
    toggle_pointer_effects();
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(layer()); }));
    EXPECT_TRUE(stop_shortcut_held());
    // Temporary shapes are on since the resident started: their arrow's Alt+A is its too.
    EXPECT_TRUE(held_elsewhere(MOD_ALT, 'A'));
    type_keys(L"ctrl+alt+Escape");
    EXPECT_TRUE(eventually([&] { return layer() == nullptr; }));
    // The shortcuts are the resident's only while their features are on.
    EXPECT_FALSE(stop_shortcut_held());
    EXPECT_FALSE(held_elsewhere(MOD_ALT, 'A'));
    // The switches were turned off, not only their window: the menu's
    // command turns the effects on again, and the shapes stay off.
    toggle_pointer_effects();
    EXPECT_TRUE(eventually([&] { return IsWindowVisible(layer()); }));
    EXPECT_FALSE(held_elsewhere(MOD_ALT, 'A'));
    EXPECT_TRUE(sweeper_.answered().empty());
}

// The resident switches temporary shapes on as it starts; Alt+A, their
// arrow's shortcut, is this process's before then, so only the hook sees it.
class HeldArrowScreenTest : public PresentationScreenTest {
protected:
    HeldHotkey arrow_{kProbeHotkey + 1, MOD_ALT, 'A'};
};

TEST_F(HeldArrowScreenTest, TheArrowShortcutReachesTheResidentThroughItsHook) {
    ASSERT_TRUE(arrow_.held);
    move_pointer(500, 400);
    toggle_pointer_effects();
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(layer()); }));
    ASSERT_TRUE(sweeper_.answered().empty());  // a shortcut handed to the hook is no failure
    const std::size_t layers_before = presentation_windows();
    type_keys(L"alt+a");
    // The arrow is armed: a layer of its own over the screen takes the
    // mouse. The wait pumps this thread, whose cover window is where X
    // delivers the keys.
    EXPECT_TRUE(eventually([&] { return presentation_windows() > layers_before; }));
    // Arming leaves the mode as it was: the effects' layer stays beside it.
    EXPECT_GE(presentation_windows(), 2u);
    EXPECT_TRUE(stop_shortcut_held());
    EXPECT_TRUE(sweeper_.answered().empty());
}

// No pointer shortcut has a default: the magnifier gets one.
class MagnifierShortcutScreenTest : public PresentationScreenTest {
protected:
    void write_start_settings() override {
        write_settings_with([](Settings& settings) {
            settings.pointer.magnifier_shortcut = Shortcut{kShortcutCtrl | kShortcutAlt | kShortcutShift, 'M'};
        });
    }
};

TEST_F(MagnifierShortcutScreenTest, TheMagnifierShortcutTurnsTheMagnifierOff) {
    move_pointer(500, 400);
    post_command(kMagnifier);
    // The magnifier has the pointer layer too, without a halo.
    ASSERT_TRUE(eventually([&] { return IsWindowVisible(layer()); }));
    type_keys(L"ctrl+alt+shift+m");
    EXPECT_TRUE(eventually([&] { return layer() == nullptr; }));
    EXPECT_TRUE(stop_shortcut_held());  // the magnifier alone went: the shapes are still on
    EXPECT_TRUE(sweeper_.answered().empty());
}

}  // namespace
}  // namespace glimmerly
