#include "core/shortcuts/shortcut_hook.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace glimmerly {
namespace {

constexpr std::uint32_t kCtrl = 2, kShift = 4, kF9 = 0x78, kA = 0x41;

// Records what the hook posts, in order.
class FakeHost final : public HookHost {
public:
    std::uint32_t held = 0;
    bool posts_work = true;
    std::vector<std::string> posted;

    std::uint32_t modifiers() override { return held; }
    bool post_key_report(std::uint32_t key, std::uint32_t flags) override {
        posted.push_back("report " + std::to_string(key) + (flags & 0x10000 ? " up" : " down"));
        return posts_work;
    }
    bool post_hotkey(std::int32_t id) override {
        if (posts_work) posted.push_back("hotkey " + std::to_string(id));
        return posts_work;
    }
};

HookKeyEvent down(std::uint32_t key) { return {key, 0x43, true, false, false}; }
HookKeyEvent up(std::uint32_t key) { return {key, 0x43, false, false, false}; }

ShortcutHookState two_slots(bool report_keys) {
    ShortcutHookState state;
    state.slots[0] = {true, kCtrl, kF9, 91};
    state.slots[1] = {true, kCtrl | kShift, kF9, 92};
    state.slots[2] = {false, 0, kA, 93};
    state.report_keys = report_keys;
    return state;
}

TEST(ShortcutHook, MatchesExactModifiersOnlyAndPostsOnceForEachHold) {
    struct Step {
        HookKeyEvent event;
        std::uint32_t held;
        bool swallowed;
    };
    struct Row {
        const char* name;
        std::vector<Step> steps;
        std::vector<std::string> posted;
    };
    const Row rows[] = {
        {"held with repeats, released, pressed again",
         {{down(kF9), kCtrl, true}, {down(kF9), kCtrl, true}, {up(kF9), kCtrl, true}, {down(kF9), kCtrl, true}},
         {"hotkey 91", "hotkey 91"}},
        {"ctrl+shift takes the slot of exactly ctrl+shift", {{down(kF9), kCtrl | kShift, true}}, {"hotkey 92"}},
        {"no modifier matches no slot", {{down(kF9), 0, false}, {up(kF9), 0, false}}, {}},
        {"a disabled slot never matches", {{down(kA), 0, false}}, {}},
        {"a release without its press is passed on", {{up(kF9), kCtrl, false}}, {}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        ShortcutHookState state = two_slots(false);
        FakeHost host;
        for (const Step& step : row.steps) {
            host.held = step.held;
            EXPECT_EQ(hook_swallows_key(state, step.event, host), step.swallowed);
        }
        EXPECT_EQ(host.posted, row.posted);
    }
}

TEST(ShortcutHook, ReportsEveryRealKeyBeforeMatchingAndLetsInjectedKeysBy) {
    ShortcutHookState state = two_slots(true);
    FakeHost host;
    host.held = kCtrl;
    HookKeyEvent injected = down(kF9);
    injected.injected = true;
    EXPECT_FALSE(hook_swallows_key(state, injected, host));
    EXPECT_TRUE(hook_swallows_key(state, down(kF9), host));
    EXPECT_TRUE(hook_swallows_key(state, up(kF9), host));
    EXPECT_FALSE(hook_swallows_key(state, down(kA), host));
    EXPECT_EQ(host.posted,
              (std::vector<std::string>{"report 120 down", "hotkey 91", "report 120 up", "report 65 down"}));
}

TEST(ShortcutHook, AHotkeyThatCannotBePostedLetsTheKeyThroughAndLatchesNothing) {
    ShortcutHookState state = two_slots(false);
    FakeHost host;
    host.held = kCtrl;
    host.posts_work = false;
    EXPECT_FALSE(hook_swallows_key(state, down(kF9), host));
    host.posts_work = true;
    EXPECT_TRUE(hook_swallows_key(state, down(kF9), host));
    EXPECT_EQ(host.posted, (std::vector<std::string>{"hotkey 91"}));
}

}  // namespace
}  // namespace glimmerly
