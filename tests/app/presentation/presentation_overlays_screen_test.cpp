// Temporary shapes and the keys-and-mouse display from outside, as a user
// would reach them: the tray's commands posted to the running resident, the
// pointer dragged with xdotool, and what the resident stores in its settings
// file. Then a shape drawn with SendInput on a layer of the test's own, read
// from the layer's own picture.

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "app/app/messages.h"
#include "app/lib/settings_store.h"
#include "app/presentation/events.h"
#include "core/menu/app_command.h"
#include "core/presentation/keyboard_caps.h"
#include "app/presentation/presentation.h"
#include "app/presentation/shapes.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "app/win/owners.h"
#include "app/win/paths.h"
#include "tests/app/support/foreground.h"
#include "tests/app/support/key_presses.h"
#include "tests/app/support/resident.h"
#include "tests/app/presentation/presentation_fixture.h"

namespace glimmerly {
namespace {

using namespace testing_support;

constexpr wchar_t kMenuCommand[] = L"0x800D";  // WM_APP + 13


INPUT mouse_input(LONG x, LONG y, DWORD flags) {
    INPUT event{.type = INPUT_MOUSE};
    event.mi.dx = x * 65535 / (GetSystemMetrics(SM_CXSCREEN) - 1);
    event.mi.dy = y * 65535 / (GetSystemMetrics(SM_CYSCREEN) - 1);
    event.mi.dwFlags = flags | MOUSEEVENTF_ABSOLUTE | MOUSEEVENTF_MOVE;
    return event;
}

// X reports the pointer's motion to Wine only while it is over a Wine window.
class CoverWindow {
private:
    win::UniqueWindow window_ = testing_support::screen_cover_window(
        L"Glimmerly.Tests.OverlaysCover", static_cast<HBRUSH>(GetStockObject(GRAY_BRUSH)));
};

class OverlaysScreenTest : public ResidentTest {
protected:
    // A command that arrives while the resident is busy starting its prepared
    // editor is dropped, as a click on the busy menu would be: each test
    // starts once the editor has reported ready.
    void SetUp() override {
        ResidentTest::SetUp();
        (void)wait_for_child();
    }
    void command(int id) {
        ASSERT_EQ(run_to_end(beside_tests(L"post_message.exe") + L" Glimmerly.Window " + kMenuCommand + L" " +
                      std::to_wstring(id) + L" 0 " + std::to_wstring(resident_.id)),
                  0);
    }
    HWND layer() const { return window_of(resident_.id, L"Glimmerly.Presentation"); }
    std::optional<Settings> stored() const {
        auto settings = read_settings_file(folder_ + L"\\settings.txt");
        if (!settings) return std::nullopt;
        return *settings;
    }

    CoverWindow cover_;
};

TEST_F(OverlaysScreenTest, AWheelTurnWhileAShapeIsArmedChangesTheStoredWidth) {
    command(171);  // arm an arrow: temporary shapes are on from the start
    // Armed: the layer takes the mouse (focus is not asked for: without a
    // window manager it comes and goes with the pointer).
    HWND armed = nullptr;
    ASSERT_TRUE(eventually([&] {
        armed = layer();
        return armed && IsWindowVisible(armed) && !(GetWindowLongPtrW(armed, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    }));
    ASSERT_TRUE(PostMessageW(armed, WM_MOUSEWHEEL, MAKEWPARAM(0, WHEEL_DELTA), MAKELPARAM(500, 500)));
    EXPECT_TRUE(eventually([&] {
        auto settings = stored();
        return settings && settings->presentation_stroke_width == 6;  // one rung up from 5
    }));
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST_F(OverlaysScreenTest, ADraggedDisplayKeepsItsPlaceInTheSettingsFile) {
    command(106);  // move the display: the keyboard comes on with it
    // The keyboard's layer shows first as it always does, letting the mouse
    // through; only the armed move makes it take the mouse. A press that
    // came between the two would land on the cover beneath.
    ASSERT_TRUE(eventually([&] {
        const HWND shown = layer();
        return shown && IsWindowVisible(shown) && !(GetWindowLongPtrW(shown, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    }));
    ASSERT_TRUE(loop_runs(resident_window_));
    RECT at{};
    ASSERT_TRUE(GetWindowRect(layer(), &at));
    const int x = (at.left + at.right) / 2, y = (at.top + at.bottom) / 2;
    // The pointer comes onto the display first, and the resident sees it
    // arrive before the press: without a window manager, Wine moves the
    // focus with the pointer, and a focus change that came after the press
    // would take the mouse capture from the drag it had just begun.
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y)), 0)
        << "xdotool is missing";
    ASSERT_TRUE(loop_runs(resident_window_));
    // One run of xdotool: the button is never left down between two programs.
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousedown 1 sleep 0.2 mousemove " + std::to_wstring(x - 200) + L" " +
                         std::to_wstring(y - 150) + L" sleep 0.2 mouseup 1"),
              0);
    ASSERT_TRUE(eventually([&] {
        auto settings = stored();
        return settings && settings->input_display_offset;
    })) << "the display is at " << [&] {
        RECT now{};
        GetWindowRect(layer(), &now);
        return std::to_string(now.left) + ", " + std::to_string(now.top) + " (was " + std::to_string(at.left) + ", " +
               std::to_string(at.top) + "); boxes answered: " + std::to_string(sweeper_.answered().size());
    }();
    RECT moved{};
    ASSERT_TRUE(GetWindowRect(layer(), &moved));
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromWindow(layer(), MONITOR_DEFAULTTONEAREST), &monitor);
    const LONG free_w = (monitor.rcWork.right - monitor.rcWork.left) - (moved.right - moved.left);
    const LONG free_h = (monitor.rcWork.bottom - monitor.rcWork.top) - (moved.bottom - moved.top);
    const InputDisplayOffset offset = *stored()->input_display_offset;
    // Stored where the drag left it, then placed again from the stored
    // fractions (each rounded down).
    EXPECT_EQ(offset.x, (at.left - 200 - monitor.rcWork.left) * 10000 / free_w);
    EXPECT_EQ(offset.y, (at.top - 150 - monitor.rcWork.top) * 10000 / free_h);
    EXPECT_EQ(moved.left, monitor.rcWork.left + free_w * offset.x / 10000);
    EXPECT_EQ(moved.top, monitor.rcWork.top + free_h * offset.y / 10000);
    EXPECT_TRUE(sweeper_.answered().empty());
}

// The pointer effects with a trail (a layer over the whole monitor, above
// every other) and the keys-and-mouse display on beside the temporary
// shapes, as a presenter has them.
class ShapesBesideEffectsScreenTest : public OverlaysScreenTest {
protected:
    void write_start_settings() override {
        write_settings_with([](Settings& settings) {
            settings.pointer.trail_style = 1;
            settings.presentation_duration_ms = 1000;
        });
    }
    // The resident's layer over the whole screen that is not the trail's.
    HWND shapes_layer() const {
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Presentation", nullptr));) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            RECT rect{};
            if (owner == resident_.id && window != trail_layer_ && GetWindowRect(window, &rect) && rect.left == 0 &&
                rect.top == 0 && rect.right == GetSystemMetrics(SM_CXSCREEN) &&
                rect.bottom == GetSystemMetrics(SM_CYSCREEN))
                return window;
        }
        return nullptr;
    }
    bool finished(HWND layer) const {
        return layer && IsWindowVisible(layer) && (GetWindowLongPtrW(layer, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
    }

    HWND trail_layer_ = nullptr;
};

TEST_F(ShapesBesideEffectsScreenTest, EveryTypedShortcutAndDragLeavesItsRectangle) {
    command(101);
    command(103);
    command(104);
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 800 800 sleep 0.1 mousemove 900 900"), 0)
        << "xdotool is missing";
    ASSERT_TRUE(eventually([&] { return (trail_layer_ = shapes_layer()) != nullptr; }));
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE("drag " + std::to_string(i));
        ASSERT_TRUE(eventually([&] { return shapes_layer() == nullptr; }));  // the last shape has faded
        // Alt+R typed, so that the keys display shows it as it arms a rectangle.
        // Only a combination that never reached the system (Wine dropped
        // it on its way from the display) is typed again.
        for (int attempt = 1;; ++attempt) {
            KeyPresses keys;
            ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 900 900 key alt+r"), 0);
            const bool armed = eventually([&] {
                const HWND layer = shapes_layer();
                return layer && IsWindowVisible(layer) && !(GetWindowLongPtrW(layer, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
            });
            if (armed) break;
            ASSERT_FALSE(keys.saw_with_alt('R')) << "the shortcut reached the system, and no layer armed";
            ASSERT_LT(attempt, 3) << "the shortcut never reached the system, three times";
            keys.report_typed_again("Alt+R");
        }
        const int x = 200 + 150 * i, y = 200 + 60 * i;
        ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove " + std::to_wstring(x) + L" " + std::to_wstring(y) +
                             L" sleep 0.1 mousedown 1 sleep 0.1 mousemove " + std::to_wstring(x + 60) + L" " +
                             std::to_wstring(y + 40) + L" sleep 0.1 mousemove " + std::to_wstring(x + 120) + L" " +
                             std::to_wstring(y + 80) + L" sleep 0.1 mouseup 1"),
                  0);
        // Finished with a shape: the layer lets the mouse through and stays
        // (a drag that drew nothing takes it away at once).
        EXPECT_TRUE(eventually([&] { return finished(shapes_layer()); }));
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// As a presenter draws, with the halo and the keys display on: the shortcut
// typed and the drag begun a moment later, without waiting to see the
// program ready. The press must land on the armed layer; one that came
// before the layer took the mouse would go to whatever is beneath, and the
// drag would draw nothing.
class ShapesRightAfterShortcutScreenTest : public ShapesBesideEffectsScreenTest {
protected:
    void write_start_settings() override {
        write_settings_with([](Settings& settings) { settings.presentation_duration_ms = 1000; });
    }
    // One run of xdotool: three tenths of a second from the shortcut to the
    // press, then a drag down and to the right.
    void type_and_drag(const wchar_t* shortcut, int x, int y) {
        const auto at = [](int ax, int ay) { return std::to_wstring(ax) + L" " + std::to_wstring(ay); };
        ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool key " + std::wstring(shortcut) + L" sleep 0.1 mousemove " +
                             at(x, y) + L" sleep 0.2 mousedown 1 sleep 0.1 mousemove " + at(x + 90, y + 60) +
                             L" sleep 0.1 mousemove " + at(x + 180, y + 120) + L" sleep 0.1 mouseup 1"),
                  0);
    }
    struct ShapeDrag {
        const char* name;
        const wchar_t* shortcut;  // typed with xdotool
        int x, y;
        DWORD key;  // the shortcut's letter
    };
    // Types the shortcut and drags, and expects the shape drawn. Only a
    // combination that never reached the system whole (Wine drops one now
    // and then) is typed again; `ready` runs before each try.
    void draw_after_shortcut(const ShapeDrag& drag, const std::function<void()>& ready = [] {}) {
        for (int attempt = 1;; ++attempt) {
            ASSERT_TRUE(eventually([&] { return shapes_layer() == nullptr; }));  // the last shape has faded
            ready();
            if (HasFatalFailure()) return;
            KeyPresses keys;
            ASSERT_NO_FATAL_FAILURE(type_and_drag(drag.shortcut, drag.x, drag.y));
            // xdotool runs on beside the test (Wine signals a Unix program's
            // handle as it starts): the layer is watched while it types and
            // drags. Finished with a shape, it lets the mouse through and
            // stays (a drag that drew nothing takes it away at once).
            bool armed = false;
            const bool drawn = eventually([&] {
                const HWND layer = shapes_layer();
                armed = armed || layer != nullptr;
                return finished(layer);
            });
            if (!armed && !keys.saw_with_alt(drag.key) && attempt < 3) {
                keys.report_typed_again(drag.name);
                continue;
            }
            EXPECT_TRUE(armed) << (keys.saw_with_alt(drag.key) ? "the shortcut reached the system, and no layer armed"
                                                               : "the shortcut never reached the system, three times");
            EXPECT_TRUE(drawn) << "armed, but the drag drew nothing";
            return;
        }
    }
};

TEST_F(ShapesRightAfterShortcutScreenTest, AShapeDraggedRightAfterItsShortcutIsDrawn) {
    command(101);
    command(103);
    command(104);
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 800 800 sleep 0.1 mousemove 900 900"), 0)
        << "xdotool is missing";
    // The keys and the mouse shown: the last command is done, and a key
    // typed now is not queued behind the making of their layer.
    ASSERT_TRUE(eventually([&] {
        for (HWND window = nullptr; (window = FindWindowExW(nullptr, window, L"Glimmerly.Presentation", nullptr));) {
            RECT rect{};
            if (IsWindowVisible(window) && GetWindowRect(window, &rect) && rect.right - rect.left == 520) return true;
        }
        return false;
    }));
    const ShapeDrag drags[] = {
        {"rectangle", L"alt+r", 300, 200, 'R'}, {"ellipse", L"alt+c", 700, 300, 'C'},
        {"arrow", L"alt+a", 1100, 400, 'A'}, {"rectangle again", L"alt+r", 400, 600, 'R'},
        {"ellipse again", L"alt+c", 900, 650, 'C'},
    };
    for (const ShapeDrag& drag : drags) {
        SCOPED_TRACE(drag.name);
        ASSERT_NO_FATAL_FAILURE(draw_after_shortcut(drag));
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// Drawing over the program being presented: another process's window
// (Wine's notepad) maximised over the display and active when the shortcut
// is typed. The shapes layer takes the activation from it.
class ShapesOverAnotherProgramScreenTest : public ShapesRightAfterShortcutScreenTest {
protected:
    void SetUp() override {
        ShapesRightAfterShortcutScreenTest::SetUp();
        std::wstring command = L"notepad.exe";
        STARTUPINFOW startup{.cb = sizeof(STARTUPINFOW)};
        PROCESS_INFORMATION info{};
        ASSERT_TRUE(CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup,
                                   &info));
        CloseHandle(info.hThread);
        notepad_ = {win::UniqueHandle(info.hProcess), info.dwProcessId};
        sweeper_.watch(notepad_.id);
        ASSERT_EQ(WaitForInputIdle(notepad_.handle.get(), 30000), 0u);
        ASSERT_TRUE(eventually([&] { return (notepad_window_ = window_of(notepad_.id, L"Notepad")) != nullptr; }));
        ShowWindow(notepad_window_, SW_MAXIMIZE);
    }
    void TearDown() override {
        if (notepad_.handle) TerminateProcess(notepad_.handle.get(), 0);
        ShapesRightAfterShortcutScreenTest::TearDown();
    }
    // Notepad in front with its keyboard focus, as the presenter left it.
    bool notepad_active() const { return testing_support::active_with_focus(notepad_window_); }
    bool notepad_in_menu() const { return testing_support::in_menu_mode(notepad_window_); }

    Process notepad_;
    HWND notepad_window_ = nullptr;
};

TEST_F(ShapesOverAnotherProgramScreenTest, AShapeDraggedRightAfterItsShortcutIsDrawnOverIt) {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 800 800 sleep 0.1 mousemove 900 900"), 0)
        << "xdotool is missing";
    RECT covered{};
    ASSERT_TRUE(GetWindowRect(notepad_window_, &covered));
    EXPECT_GE(covered.right - covered.left, GetSystemMetrics(SM_CXSCREEN) * 9 / 10);
    const ShapeDrag drags[] = {{"rectangle", L"alt+r", 300, 200, 'R'}, {"arrow", L"alt+a", 1100, 400, 'A'},
                               {"ellipse", L"alt+c", 700, 300, 'C'}};
    for (const ShapeDrag& drag : drags) {
        SCOPED_TRACE(drag.name);
        ASSERT_NO_FATAL_FAILURE(draw_after_shortcut(drag, [&] {
            SetForegroundWindow(notepad_window_);
            ASSERT_TRUE(eventually([&] { return notepad_active(); }));
            // Wine's desktop process reads the key map of a focus change only
            // when the next Alt wakes it, and then lets go of every key that
            // map shows up: that Alt is forgotten, and a shortcut typed with
            // it never fires. A lone Alt takes that moment (it opens notepad's
            // menu bar, which Escape closes again).
            ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool key alt Escape"), 0);
            ASSERT_TRUE(eventually([&] { return notepad_active() && !notepad_in_menu(); }));
        }));
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

// When a shape ends, the window that was active as it was armed is given the
// foreground back: another program's, or the program's own settings window
// opened over it from the tray's command.
TEST_F(ShapesOverAnotherProgramScreenTest, TheWindowActiveAtTheShortcutComesBackAfterTheShape) {
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 800 800 sleep 0.1 mousemove 900 900"), 0)
        << "xdotool is missing";
    const auto name_of = [](HWND window) {
        wchar_t name[64] = L"none";
        if (window) GetClassNameW(window, name, 64);
        return win::to_utf8(name);
    };
    const struct Row {
        const char* name;
        bool settings;
    } rows[] = {{"Notepad active", false}, {"the settings window active over Notepad", true}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ASSERT_TRUE(eventually([&] { return shapes_layer() == nullptr; }));  // the last shape has faded
        HWND active = notepad_window_;
        if (row.settings) {
            command(APP_COMMAND_SETTINGS);
            ASSERT_TRUE(eventually([&] {
                active = window_of(resident_.id, L"Glimmerly.Settings");
                return active && GetForegroundWindow() == active;
            }));
        } else {
            SetForegroundWindow(notepad_window_);
            ASSERT_TRUE(eventually([&] { return notepad_active(); }));
        }
        command(APP_COMMAND_DRAW_ARROW + 1);  // a rectangle, as the tray's command arms it
        ASSERT_TRUE(eventually([&] {
            const HWND layer = shapes_layer();
            return layer && IsWindowVisible(layer) && !(GetWindowLongPtrW(layer, GWL_EXSTYLE) & WS_EX_TRANSPARENT);
        }));
        ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 400 300 sleep 0.1 mousedown 1 sleep 0.1 mousemove "
                             L"500 380 sleep 0.1 mousemove 600 460 sleep 0.1 mouseup 1"),
                  0);
        ASSERT_TRUE(eventually([&] { return finished(shapes_layer()); })) << "the drag drew nothing";
        ASSERT_TRUE(loop_runs(resident_window_));  // the shape's end is handled whole
        // Wine moves the activation a moment after the call that asks it.
        EXPECT_TRUE(eventually([&] { return GetForegroundWindow() == active; }))
            << name_of(GetForegroundWindow()) << " active instead of " << name_of(active);
        if (!row.settings) continue;
        // Wine restacks the windows a moment after the activation moved.
        EXPECT_TRUE(eventually([&] {
            for (HWND above = GetWindow(notepad_window_, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV))
                if (above == active) return true;
            return false;
        })) << "Notepad stays over the settings window";
    }
    EXPECT_TRUE(sweeper_.answered().empty());
}

TEST(ShapeDrawnWithTheMouse, AHotkeyAndADragLeaveAnArrowInTheShapesLayer) {
    win::ComApartment com;
    win::UniqueWindow owner = testing_support::hidden_owner_window(L"Glimmerly.Tests.ShapesOwner");
    Settings settings;
    settings.presentation_color_2 = {255, 0, 0};
    auto attached = attach_presentation_state(owner.get(), settings);
    ASSERT_TRUE(attached);
    std::unique_ptr<PresentationCell> cell = std::move(*attached);
    {
        auto state = cell->try_borrow();
        Status applied = apply_presentation_features(*state, {.temporary_shapes = true});
        ASSERT_TRUE(applied) << applied.failure().message;
        Status armed = handle_presentation_hotkey(*state, 91);
        ASSERT_TRUE(armed) << armed.failure().message;
    }
    const auto input = mouse_input;
    INPUT drag[] = {input(300, 300, 0), input(300, 300, MOUSEEVENTF_LEFTDOWN), input(450, 300, 0),
                    input(600, 300, 0), input(600, 300, MOUSEEVENTF_LEFTUP)};
    ASSERT_EQ(SendInput(5, drag, sizeof(INPUT)), 5u);
    ASSERT_TRUE(eventually([&] {
        auto state = cell->try_borrow();
        return state && !state->shapes.shapes.empty();
    }));
    auto state = cell->try_borrow();
    ASSERT_TRUE(state->shapes_layer);
    const PresentationLayer& layer = *state->shapes_layer;
    const std::uint8_t* p = layer.surface.bits +
                            (std::size_t(300 - state->shapes_origin.y) * layer.width + (450 - state->shapes_origin.x)) * 4;
    EXPECT_GT(p[3], 200);  // the shaft, in the shape colour
    EXPECT_GT(p[2], 200);
    state.release();
    destroy_presentation_state(std::move(cell));
}

}  // namespace
}  // namespace glimmerly

namespace glimmerly {
namespace {

// The application window's share of the keys display: raw input and the
// hook's key reports handed to the state, as the resident's procedure does.
PresentationCell* g_keys_cell = nullptr;  // the window procedure has no context of its own

LRESULT CALLBACK keys_owner_proc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
    if ((message == WM_INPUT || message == WM_APP_KEY_REPORT) && g_keys_cell) {
        if (auto state = g_keys_cell->try_borrow()) {
            if (message == WM_APP_KEY_REPORT) {
                (void)record_key_report(*state, wparam, lparam);
            } else {
                RAWINPUT input{};
                UINT size = sizeof input;
                const UINT read = GetRawInputData(reinterpret_cast<HRAWINPUT>(lparam), RID_INPUT, &input, &size,
                                                  sizeof(RAWINPUTHEADER));
                if (read != UINT(-1))
                    if (auto checked = checked_raw_input(input, read)) (void)handle_raw_input(*state, **checked);
            }
        }
    }
    return DefWindowProcW(window, message, wparam, lparam);
}

TEST(KeysTypedWithXdotool, LightTheirCapsInTheDeviceLayer) {
    win::ComApartment com;
    CoverWindow cover;  // the keys reach Wine only while the pointer is over one of its windows
    win::UniqueWindow owner = testing_support::hidden_owner_window(L"Glimmerly.Tests.KeysOwner", keys_owner_proc);
    auto attached = attach_presentation_state(owner.get(), Settings{});
    ASSERT_TRUE(attached);
    std::unique_ptr<PresentationCell> cell = std::move(*attached);
    g_keys_cell = cell.get();
    {
        auto state = cell->try_borrow();
        ASSERT_TRUE(apply_presentation_features(*state, {.keyboard = true}));
        ASSERT_TRUE(state->device_layer);
    }
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 700 500 keydown j"), 0) << "xdotool is missing";
    const bool lit = eventually([&] {
        auto state = cell->try_borrow();
        return state && state->keys.slots[key_slot_index(0x24, false)].pressed;
    });
    std::uint8_t b = 0, g = 0, r = 0;
    if (lit) {
        auto state = cell->try_borrow();
        const PresentationLayer& layer = *state->device_layer;
        const double s = layer.drawing.design_scale;
        for (const KeyCapPlace& cap : keyboard_caps(state->us_layout)) {
            if (cap.scan != 0x24 || cap.extended) continue;
            const std::uint8_t* p =
                layer.surface.bits + (std::size_t((cap.y + 2.5) * s) * layer.width + std::size_t((cap.x + 2.5) * s)) * 4;
            b = p[0], g = p[1], r = p[2];
        }
    }
    ASSERT_EQ(run_to_end(L"Z:\\usr\\bin\\xdotool keyup j"), 0);
    ASSERT_TRUE(lit);
    EXPECT_NEAR(r, 113 * 0.96, 6);
    EXPECT_NEAR(g, 195 * 0.96, 6);
    EXPECT_NEAR(b, 255 * 0.96, 6);
    EXPECT_TRUE(eventually([&] {
        auto state = cell->try_borrow();
        return state && !state->keys.slots[key_slot_index(0x24, false)].pressed;
    }));
    g_keys_cell = nullptr;
    destroy_presentation_state(std::move(cell));
}

}  // namespace
}  // namespace glimmerly
