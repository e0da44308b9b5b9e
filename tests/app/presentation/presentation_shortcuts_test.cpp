// Presentation mode's hotkeys, hook thread and typed keys on a window of the
// test's own: what other registrations can and cannot take while it runs, a
// drawing shortcut another holder has reaching the window through the hook,
// the show-a-click shortcut's ripple, the click sound's choice of file and
// the hook thread's bounded stop.

#include "app/presentation/presentation_shortcuts.h"

#include <gtest/gtest.h>
#include <mmsystem.h>

#include <cstring>
#include <functional>

#include "app/app/hotkeys.h"
#include "app/app/messages.h"
#include "app/presentation/events.h"
#include "app/presentation/pointer_effects.h"
#include "app/presentation/sound.h"
#include "app/win/com.h"
#include "tests/app/support/message_wait.h"
#include "tests/app/support/resident.h"
#include "tests/app/support/private_prefix.h"
#include "tests/app/support/temp_folder.h"

namespace glimmerly {
namespace {

using testing_support::MessageLog;

constexpr POINT kPointer{400, 300};
constexpr UINT kCtrlAltShift = MOD_CONTROL | MOD_ALT | MOD_SHIFT;
constexpr int kProbeId = 0xBFE0;

// Whether a registration elsewhere is refused for this combination.
bool held(UINT modifiers, UINT key) {
    if (RegisterHotKey(nullptr, kProbeId, modifiers, key)) {
        UnregisterHotKey(nullptr, kProbeId);
        return false;
    }
    return GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
}
bool stop_held() { return held(MOD_CONTROL | MOD_ALT, VK_ESCAPE); }

// A combination held on the test's thread, as another program would hold it.
class HeldHotkey {
public:
    HeldHotkey(int id, UINT modifiers, UINT key) : id_(id), held_(RegisterHotKey(nullptr, id, modifiers, key)) {}
    ~HeldHotkey() {
        if (held_) UnregisterHotKey(nullptr, id_);
    }
    bool held() const { return held_; }

private:
    int id_;
    bool held_;
};

class PresentationShortcutsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(com_.initialized());
        SetCursorPos(kPointer.x, kPointer.y);
        settings_.pointer.show_click_shortcut = Shortcut{kCtrlAltShift, VK_F20};
        settings_.pointer.spotlight_shortcut = std::nullopt;
        settings_.pointer.magnifier_shortcut = Shortcut{kCtrlAltShift, VK_F22};
    }
    void TearDown() override { destroy_presentation_state(std::move(cell_)); }

    PresentationCell::Borrow attach() {
        auto attached = attach_presentation_state(log_.window(), settings_);
        EXPECT_TRUE(attached);
        cell_ = std::move(*attached);
        return cell_->try_borrow();
    }

    testing_support::UserDataLock lock_;  // hotkeys are one set for the whole session
    win::ComApartment com_;
    MessageLog log_{WM_HOTKEY, WM_APP_KEY_REPORT};
    Settings settings_;
    std::unique_ptr<PresentationCell> cell_;
};

TEST_F(PresentationShortcutsTest, PointerEffectsHoldTheStopAndPointerShortcutsUntilTheStopShortcut) {
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    EXPECT_TRUE(stop_held());
    EXPECT_TRUE(held(kCtrlAltShift, VK_F20));
    EXPECT_FALSE(held(kCtrlAltShift, VK_F21));  // no spotlight shortcut: skipped
    EXPECT_TRUE(held(kCtrlAltShift, VK_F22));   // and the one after it still registered
    EXPECT_FALSE(held(MOD_ALT, 'A'));           // shapes are off

    ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_PRESENTATION_STOP));
    EXPECT_EQ(state->features, PresentationFeatures{});
    EXPECT_FALSE(stop_held());
    EXPECT_FALSE(held(kCtrlAltShift, VK_F20) || held(kCtrlAltShift, VK_F22));
    EXPECT_FALSE(state->pointer_layer);
}

TEST_F(PresentationShortcutsTest, AStopShortcutHeldElsewhereIsListedAndTheFeaturesStayOn) {
    const HeldHotkey other(kProbeId + 1, MOD_CONTROL | MOD_ALT, VK_ESCAPE);
    ASSERT_TRUE(other.held());
    auto state = attach();
    state->features.pointer_effects = true;
    auto unavailable = apply_startup_presentation(*state);
    ASSERT_TRUE(unavailable);
    EXPECT_EQ(*unavailable, std::vector<TextId>{TextId::presentation_stop});
    EXPECT_TRUE(state->features.pointer_effects);
    EXPECT_TRUE(state->shortcuts.failed[0]);
    // The switch from the tray works as well: the mode is on without its stop key.
    ASSERT_TRUE(apply_presentation_features(*state, {.pointer_effects = true}));
    EXPECT_TRUE(state->pointer_layer);
}

TEST_F(PresentationShortcutsTest, AHeldDrawingShortcutReachesTheWindowThroughTheHookAndStopsWithTheShapes) {
    const HeldHotkey other(kProbeId + 2, MOD_ALT, 'A');
    ASSERT_TRUE(other.held());
    auto state = attach();
    ASSERT_TRUE(apply_presentation_features(*state, {.temporary_shapes = true}));
    ASSERT_TRUE(state->listener.running());
    EXPECT_FALSE(state->shortcuts.failed[1]);
    EXPECT_TRUE(held(MOD_ALT, 'R'));  // the free ones are registered as usual

    // Typed keys go to the window under the pointer, which must be Wine's.
    const win::UniqueWindow landing(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 100, 100, 300, 200,
                                                    nullptr, nullptr, nullptr, nullptr));
    ShowWindow(landing.get(), SW_SHOWNOACTIVATE);
    UpdateWindow(landing.get());
    ASSERT_EQ(testing_support::run_to_end(L"Z:\\usr\\bin\\xdotool mousemove 250 200 key alt+a"), 0)
        << "xdotool is missing";
    ASSERT_TRUE(log_.wait_past(WM_HOTKEY, 0));
    EXPECT_EQ(log_.entries().front().second, WPARAM{HOTKEY_ID_DRAW_ARROW});
    for (const auto& [message, wparam] : log_.entries())
        EXPECT_NE(message, UINT{WM_APP_KEY_REPORT}) << "keys are reported only for the keys display";

    ASSERT_TRUE(apply_presentation_features(*state, {.keyboard = true}));
    EXPECT_FALSE(held(MOD_ALT, 'R'));
    ASSERT_TRUE(state->listener.running());  // the keys display's own, reporting keys
    ASSERT_TRUE(toggle_presentation_feature(*state, 103));
    EXPECT_FALSE(state->listener.running());
    EXPECT_FALSE(stop_held());
}

TEST_F(PresentationShortcutsTest, TheShowAClickShortcutDrawsARippleAtThePointer) {
    settings_.pointer.halo_shape = 0;
    settings_.pointer.click_animation = 1;
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_SHOW_CLICK));
    EXPECT_EQ(state->pointer.marks[0].button, 0);
    EXPECT_TRUE(state->timer.set);
    ASSERT_TRUE(tick_presentation(*state));
    ASSERT_TRUE(state->pointer_layer);
    const PresentationLayer& layer = *state->pointer_layer;
    MONITORINFO monitor{sizeof monitor};
    GetMonitorInfoW(MonitorFromPoint(kPointer, MONITOR_DEFAULTTONEAREST), &monitor);
    const auto alpha_at = [&](int x, int y) {
        x -= monitor.rcMonitor.left;
        y -= monitor.rcMonitor.top;
        return layer.surface.bits[(std::size_t(y) * layer.surface.width + std::size_t(x)) * 4 + 3];
    };
    EXPECT_GE(alpha_at(kPointer.x, kPointer.y), 60);
    EXPECT_EQ(alpha_at(kPointer.x + 80, kPointer.y), 0);

    // With only the magnifier on, the shortcut shows nothing.
    ASSERT_TRUE(apply_presentation_features(*state, {.magnifier = true}));
    const ClickMark before = state->pointer.marks[1];
    ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_SHOW_CLICK));
    EXPECT_EQ(state->pointer.marks[1].button, before.button);
}

TEST_F(PresentationShortcutsTest, TheMagnifierShortcutSwitchesTheMagnifierOnAndOff) {
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_MAGNIFIER));
    EXPECT_TRUE(state->features.magnifier);
    ASSERT_TRUE(handle_presentation_hotkey(*state, HOTKEY_ID_MAGNIFIER));
    EXPECT_FALSE(state->features.magnifier);
    EXPECT_TRUE(state->features.pointer_effects);
}

TEST_F(PresentationShortcutsTest, AHeldSpotlightOrMagnifierGoesOnceItsKeyIsUpAndTheFramesStop) {
    settings_.pointer.spotlight_shortcut = Shortcut{kCtrlAltShift, VK_F21};
    settings_.pointer.magnifier_hold = true;
    settings_.pointer.spotlight_shape = 1;
    settings_.pointer.spotlight_hide_moving = false;
    settings_.pointer.halo_movement = 0;
    settings_.pointer.trail_style = 0;
    settings_.pointer.click_animation = 0;
    auto state = attach();
    ASSERT_TRUE(toggle_presentation_feature(*state, 101));
    struct Row {
        const char* name;
        int hotkey;
        WORD key;
        std::function<bool(const PresentationState&)> shown;
    };
    const Row rows[] = {
        {"spotlight", HOTKEY_ID_SPOTLIGHT, VK_F21,
         [](const PresentationState& s) { return s.spotlight && IsWindowVisible(s.spotlight->window.get()); }},
        {"magnifier", HOTKEY_ID_MAGNIFIER, VK_F22, [](const PresentationState& s) { return s.loupe != nullptr; }},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        // The hotkey came, and the key is already up again as the system
        // reports it (nothing holds it here).
        ASSERT_FALSE(GetAsyncKeyState(row.key) & 0x8000);
        ASSERT_TRUE(handle_presentation_hotkey(*state, row.hotkey));
        // Frames at the moving pace, slowed only by a slow frame.
        EXPECT_EQ(state->timer.interval_ms, paced_frame_interval(kMovingFrameMs, state->last_frame_ms));
        ASSERT_TRUE(tick_presentation(*state));
        EXPECT_FALSE(row.shown(*state));
        EXPECT_FALSE(state->spotlight_key_held || state->magnifier_held);
        EXPECT_FALSE(state->timer.set);  // nothing else moves: no frames at all
    }
}

TEST_F(PresentationShortcutsTest, KeyReportsAreRecordedOnlyWhileTheKeysDisplayIsOn) {
    auto state = attach();
    ASSERT_TRUE(record_key_report(*state, 'A', 0x1E));
    EXPECT_FALSE(state->keys.slots[0x1E].pressed);
    ASSERT_TRUE(apply_presentation_features(*state, {.keyboard = true}));
    ASSERT_TRUE(record_key_report(*state, 'A', 0x1E));
    EXPECT_EQ(std::u16string(state->keys.slots[0x1E].text()), u"a");
    ASSERT_TRUE(record_key_report(*state, VK_LSHIFT, 0x2A));
    ASSERT_TRUE(record_key_report(*state, 'A', 0x1E | 0x10000));
    ASSERT_TRUE(record_key_report(*state, 'A', 0x1E));
    EXPECT_EQ(std::u16string(state->keys.slots[0x1E].text()), u"A");
    ASSERT_TRUE(record_key_report(*state, 'A', 0x1E | 0x10000));
    EXPECT_FALSE(state->keys.slots[0x1E].pressed);
}

int g_refused_posts = 0;
BOOL WINAPI refusing_post(DWORD, UINT, WPARAM, LPARAM) {
    ++g_refused_posts;
    SetLastError(ERROR_NOT_ENOUGH_QUOTA);
    return FALSE;
}

TEST(ShortcutListenerStop, APostThatFailsEndsTheWaitAndLeavesTheThreadToTheExit) {
    const MessageLog log{WM_HOTKEY};
    auto listener = start_shortcut_listener(log.window(), HookSlots{}, false);
    ASSERT_TRUE(listener) << listener.failure().message;
    const DWORD thread_id = listener->thread_id();
    g_refused_posts = 0;
    listener->stop(refusing_post);
    EXPECT_FALSE(listener->running());
    EXPECT_GT(g_refused_posts, 1);  // tried again before giving up
    EXPECT_EQ(wait_for_stray_listeners(0), 1u);
    // The thread was kept, not lost: told to end now, the exit's wait finds it ended.
    listener = start_shortcut_listener(log.window(), HookSlots{}, false);
    ASSERT_TRUE(listener);
    listener->stop(refusing_post);
    const DWORD second_id = thread_id == listener->thread_id() ? 0 : listener->thread_id();
    PostThreadMessageW(thread_id, WM_QUIT, 0, 0);
    (void)second_id;
    EXPECT_EQ(wait_for_stray_listeners(0), 1u);
}

// What the player was handed last, and what it answers.
struct Heard {
    std::wstring file;
    DWORD flags = 0;
    bool riff = false;
    BOOL answer = TRUE;
} g_heard;
BOOL WINAPI hearing_play(LPCWSTR sound, HMODULE, DWORD flags) {
    g_heard.flags = flags;
    if (flags & SND_MEMORY)
        g_heard.riff = std::memcmp(sound, "RIFF", 4) == 0;
    else
        g_heard.file = sound;
    return g_heard.answer;
}

TEST(ClickSound, TakesACustomFileThatIsAFileAndFallsBackToTheBuiltInClick) {
    testing_support::TempFolder folder;
    const std::wstring custom = folder.path() + L"\\click-custom.wav";
    struct Row {
        const char* name;
        bool make_folder, make_file;
        BOOL file_plays;
        ClickPlayed played;
        DWORD flags;
    };
    for (const Row& row : {Row{"no file", false, false, TRUE, ClickPlayed::BuiltIn, 0x0007},
                           Row{"a folder of that name", true, false, TRUE, ClickPlayed::BuiltIn, 0x0007},
                           Row{"a file", false, true, TRUE, ClickPlayed::CustomFile, 0x00020003},
                           Row{"a file the player refuses", false, true, FALSE, ClickPlayed::BuiltIn, 0x0007}}) {
        SCOPED_TRACE(row.name);
        RemoveDirectoryW(custom.c_str());
        DeleteFileW(custom.c_str());
        if (row.make_folder) CreateDirectoryW(custom.c_str(), nullptr);
        if (row.make_file) CloseHandle(CreateFileW(custom.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
        g_heard = {};
        g_heard.answer = row.file_plays;
        EXPECT_EQ(play_click_sound_from(2, 1, custom, hearing_play), row.played);
        EXPECT_EQ(g_heard.flags, row.flags);
        EXPECT_EQ(g_heard.riff, row.played == ClickPlayed::BuiltIn);
        // The real player with the same path: silent here, and never a crash.
        EXPECT_NE(play_click_sound_from(1, 2, custom, PlaySoundW), ClickPlayed::Nothing);
    }
    RemoveDirectoryW(custom.c_str());
    g_heard = {};
    EXPECT_EQ(play_click_sound_from(0, 1, custom, hearing_play), ClickPlayed::Nothing);
    EXPECT_EQ(g_heard.flags, 0u);
}

}  // namespace
}  // namespace glimmerly
