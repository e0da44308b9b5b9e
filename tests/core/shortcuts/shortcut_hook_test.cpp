#include "core/shortcuts/shortcut_hook.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace glimmerly {
namespace {

constexpr std::uint32_t kCtrl = 2, kShift = 4, kF9 = 0x78, kA = 0x41;

// Records what the hook posts, in order; a post it refuses is not recorded.
class FakeHost final : public HookHost {
public:
    std::uint32_t held = 0;
    bool posts_work = true;
    std::vector<std::string> posted;
    std::vector<std::pair<std::uint32_t, std::uint32_t>> combinations;  // modifiers, key of each hotkey

    int modifier_reads = 0;

    std::uint32_t modifiers() override {
        ++modifier_reads;
        return held;
    }
    bool post_key_report(std::uint32_t key, std::uint32_t flags) override {
        posted.push_back("report " + std::to_string(key) + (flags & 0x10000 ? " up" : " down"));
        return true;
    }
    bool post_hotkey(const HookSlot& slot) override {
        if (posts_work) posted.push_back("hotkey " + std::to_string(slot.id));
        if (posts_work) combinations.push_back({slot.modifiers, slot.key});
        return posts_work;
    }
};

struct Step { HookKeyEvent event; std::uint32_t held; bool swallowed; bool posts_work = true; };
Step down(std::uint32_t key, std::uint32_t held, bool swallowed, bool posts_work = true) {
    return {{key, 0x43, true, false, false}, held, swallowed, posts_work};
}
Step up(std::uint32_t key, std::uint32_t held, bool swallowed) {
    return {{key, 0x43, false, false, false}, held, swallowed};
}

struct Row { const char* name; bool report_keys; std::vector<Step> steps; std::vector<std::string> posted; };

void run(const Row& row) {
    SCOPED_TRACE(row.name);
    ShortcutHookState state;
    state.slots = {HookSlot{true, kCtrl, kF9, 91}, HookSlot{true, kCtrl | kShift, kF9, 92}, HookSlot{false, 0, kA, 93}};
    state.report_keys = row.report_keys;
    FakeHost host;
    for (const Step& step : row.steps) {
        host.held = step.held;
        host.posts_work = step.posts_work;
        EXPECT_EQ(hook_swallows_key(state, step.event, host), step.swallowed);
    }
    EXPECT_EQ(host.posted, row.posted);
}

TEST(ShortcutHook, MatchesExactModifiersOnlyAndPostsOnceForEachHold) {
    const Row rows[] = {
        {"held with repeats, released, pressed again", false,
         {down(kF9, kCtrl, true), down(kF9, kCtrl, true), up(kF9, kCtrl, true), down(kF9, kCtrl, true)},
         {"hotkey 91", "hotkey 91"}},
        {"ctrl+shift takes the slot of exactly ctrl+shift", false, {down(kF9, kCtrl | kShift, true)}, {"hotkey 92"}},
        {"no modifier matches no slot", false, {down(kF9, 0, false), up(kF9, 0, false)}, {}},
        {"a disabled slot never matches", false, {down(kA, 0, false)}, {}},
        {"a release without its press is passed on", false, {up(kF9, kCtrl, false)}, {}},
        {"a hotkey that cannot be posted lets the key through and latches nothing", false,
         {down(kF9, kCtrl, false, false), down(kF9, kCtrl, true)}, {"hotkey 91"}},
    };
    for (const Row& row : rows) run(row);
}

TEST(ShortcutHook, ReportsEveryRealKeyBeforeMatchingAndLetsInjectedKeysBy) {
    Step injected = down(kF9, kCtrl, false);
    injected.event.injected = true;
    run({"reports on", true,
         {injected, down(kF9, kCtrl, true), up(kF9, kCtrl, true), down(kA, 0, false)},
         {"report 120 down", "hotkey 91", "report 120 up", "report 65 down"}});
}

// A read of the modifier keys is a call into the system on the path of
// every key typed anywhere on the desktop: only a key that may match is
// worth one.
TEST(ShortcutHook, ReadsTheModifierKeysOnlyForAKeyDownThatASlotNames) {
    Step injected = down(kF9, kCtrl, false);
    injected.event.injected = true;
    const struct {
        const char* name;
        Step step;
        int reads;
    } rows[] = {
        {"a key no slot names", down('B', 0, false), 0},
        {"a key only a disabled slot names", down(kA, 0, false), 0},
        {"a key beyond the virtual-key codes", down(0x1FF, 0, false), 0},
        {"the release of a key no press latched", up(kF9, kCtrl, false), 0},
        {"an injected press of a slot's key", injected, 0},
        {"a press of a slot's key", down(kF9, kCtrl, true), 1},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShortcutHookState state;
        state.slots = {HookSlot{true, kCtrl, kF9, 91}, HookSlot{false, 0, kA, 93}, HookSlot{}};
        FakeHost host;
        host.held = row.step.held;
        EXPECT_EQ(hook_swallows_key(state, row.step.event, host), row.step.swallowed);
        EXPECT_EQ(host.modifier_reads, row.reads);
    }
}

// The resident's three shortcuts as slots: the hook takes only those whose
// key is a lock key, whose presses the system would otherwise record as a
// light turned on; the others stay with their registrations.
TEST(ShortcutHook, HoldsOnlyTheLockKeyShortcuts) {
    constexpr std::uint32_t kAlt = 1, kPrintScreen = 0x2C, kScrollLock = 0x91, kCapsLock = 0x14, kNumLock = 0x90;
    const struct {
        const char* name;
        HookSlots shortcuts;
        std::vector<std::uint32_t> taken, passed;  // keys pressed and let go with no modifier held
        std::vector<std::string> posted;
    } rows[] = {
        {"the defaults: Scroll Lock only",
         {HookSlot{true, 0, kPrintScreen, 1}, HookSlot{true, 0, kScrollLock, 3}, HookSlot{true, kAlt, 'B', 5}},
         {kScrollLock}, {kPrintScreen, 'B', kCapsLock}, {"hotkey 3"}},
        {"each lock key, under the id it holds now",
         {HookSlot{true, 0, kCapsLock, 2}, HookSlot{true, 0, kNumLock, 4}, HookSlot{true, 0, kScrollLock, 6}},
         {kCapsLock, kNumLock, kScrollLock}, {kF9}, {"hotkey 2", "hotkey 4", "hotkey 6"}},
        {"an unregistered lock key is not taken",
         {HookSlot{false, 0, kScrollLock, 3}, HookSlot{}, HookSlot{}}, {}, {kScrollLock}, {}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        ShortcutHookState state;
        state.slots = lock_key_slots(row.shortcuts);
        EXPECT_EQ(any_slot_enabled(state.slots), !row.taken.empty());
        FakeHost host;
        for (const std::uint32_t key : row.taken) {
            EXPECT_TRUE(hook_swallows_key(state, down(key, 0, true).event, host));
            EXPECT_TRUE(hook_swallows_key(state, up(key, 0, true).event, host));
        }
        for (const std::uint32_t key : row.passed) {
            EXPECT_FALSE(hook_swallows_key(state, down(key, 0, false).event, host));
            EXPECT_FALSE(hook_swallows_key(state, up(key, 0, false).event, host));
        }
        EXPECT_EQ(host.posted, row.posted);
        // Posted as the system posts a registered one: the recorder reads the combination.
        EXPECT_EQ(host.combinations.size(), row.taken.size());
        for (std::size_t i = 0; i < host.combinations.size() && i < row.taken.size(); ++i)
            EXPECT_EQ(host.combinations[i], std::make_pair(std::uint32_t{0}, row.taken[i]));
    }
}

}  // namespace
}  // namespace glimmerly
