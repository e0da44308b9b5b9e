#include "core/presentation/presentation_shortcuts.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "text/app_error.h"
#include "text/shortcut_text.h"

namespace glimmerly {
namespace {

constexpr std::int32_t kOtherFailure = static_cast<std::int32_t>(0x80070005u);

// The system's hotkey table and raw-input registration, with the ids that
// another program holds (0x80070581) or that fail otherwise.
class FakeInput final : public PresentationInputHost {
public:
    std::set<std::int32_t> registered;
    std::map<std::int32_t, std::int32_t> refusals;  // id -> failure code
    bool raw_fails = false, listener_fails = false;
    bool mouse = false, keyboard = false;
    bool listening = false;
    HookSlots slots{};
    bool reporting = false;
    std::vector<std::string> calls;

    Status register_hotkey(std::int32_t id, Shortcut) override {
        calls.push_back("+" + std::to_string(id));
        if (auto refused = refusals.find(id); refused != refusals.end()) return Failure{refused->second, "refused"};
        if (!registered.insert(id).second) return Failure{HOTKEY_IN_USE_CODE, "twice"};
        return ok_status();
    }
    void unregister_hotkey(std::int32_t id) override {
        calls.push_back("-" + std::to_string(id));
        registered.erase(id);
    }
    Status register_raw_input(bool m, bool k) override {
        calls.push_back(std::string("raw") + (m ? "M" : "") + (k ? "K" : ""));
        if (raw_fails && (m || k)) return Failure{kOtherFailure, "raw refused"};
        mouse = m;
        keyboard = k;
        return ok_status();
    }
    bool listener_running() override { return listening; }
    void stop_listener() override { listening = false; }
    Status start_listener(const HookSlots& s, bool report) override {
        if (listener_fails) return Failure{kOtherFailure, "no hook"};
        listening = true;
        slots = s;
        reporting = report;
        return ok_status();
    }
};

PresentationShortcuts shape_shortcuts() {
    PresentationShortcuts shortcuts;
    shortcuts.drawing = {Shortcut{kShortcutAlt, 'A'}, Shortcut{kShortcutAlt, 'R'}, Shortcut{kShortcutAlt, 'C'}};
    return shortcuts;
}

PresentationFeatures features(bool pointer, bool shapes, bool keyboard = false, bool mouse = false) {
    PresentationFeatures f;
    f.pointer_effects = pointer;
    f.temporary_shapes = shapes;
    f.keyboard = keyboard;
    f.mouse = mouse;
    return f;
}

TEST(SetPresentationInput, RegistersStopThenShapesThenRawInputAndTurnsAllOff) {
    FakeInput host;
    PresentationShortcuts shortcuts = shape_shortcuts();
    ASSERT_TRUE(set_presentation_input(shortcuts, features(true, true), host));
    EXPECT_EQ(host.calls, (std::vector<std::string>{"+90", "+91", "+92", "+93", "rawM"}));
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{90, 91, 92, 93}));
    EXPECT_FALSE(host.listening);  // no keyboard display, nothing handed off

    ASSERT_TRUE(set_presentation_input(shortcuts, features(true, false, true), host));
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{90}));
    EXPECT_TRUE(host.listening);
    EXPECT_TRUE(host.reporting);
    EXPECT_TRUE(host.keyboard);

    ASSERT_TRUE(set_presentation_input(shortcuts, {}, host));
    EXPECT_TRUE(host.registered.empty());
    EXPECT_FALSE(host.listening || host.mouse || host.keyboard);
}

TEST(SetPresentationInput, AFailingRectangleUndoesStopAndArrowAndNamesTheRectangle) {
    FakeInput host;
    host.refusals[92] = HOTKEY_IN_USE_CODE;
    PresentationShortcuts shortcuts = shape_shortcuts();
    Status done = set_presentation_input(shortcuts, features(false, true), host, LANGUAGE_ENGLISH);
    ASSERT_FALSE(done);
    EXPECT_TRUE(host.registered.empty());
    EXPECT_EQ(error_to_text(done.failure(), LANGUAGE_ENGLISH),
              "Shortcut Alt + R is already in use. No additional feature was enabled.");
    EXPECT_EQ(shortcuts.applied, PresentationFeatures{});
    EXPECT_FALSE(host.mouse);
}

TEST(SetPresentationInput, ShapesAddedToRunningFeaturesKeepTheStopShortcutWhenTheyFail) {
    FakeInput host;
    PresentationShortcuts shortcuts = shape_shortcuts();
    ASSERT_TRUE(set_presentation_input(shortcuts, features(true, false), host));
    host.refusals[93] = kOtherFailure;
    ASSERT_FALSE(set_presentation_input(shortcuts, features(true, true), host));
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{90}));
    EXPECT_EQ(shortcuts.applied, features(true, false));
}

TEST(SetPresentationInput, RefusedRawInputPutsTheEarlierBackAndUndoesThisCallsHotkeys) {
    FakeInput host;
    host.raw_fails = true;
    PresentationShortcuts shortcuts = shape_shortcuts();
    Status done = set_presentation_input(shortcuts, features(true, true), host);
    ASSERT_FALSE(done);
    EXPECT_EQ(done.failure().code, kOtherFailure);
    EXPECT_TRUE(host.registered.empty());
    EXPECT_EQ(host.calls.back(), "-93");
}

TEST(SetPresentationInput, AListenerThatCannotStartLeavesWhatTurningOffUndoes) {
    FakeInput host;
    host.listener_fails = true;
    PresentationShortcuts shortcuts = shape_shortcuts();
    ASSERT_FALSE(set_presentation_input(shortcuts, features(false, false, true), host));
    ASSERT_TRUE(set_presentation_input(shortcuts, {}, host));
    EXPECT_TRUE(host.registered.empty());
    EXPECT_FALSE(host.keyboard);
}

TEST(ApplyPresentationShortcuts, HandsHeldDrawingShortcutsToTheHookAndListsOtherFailuresInOrder) {
    FakeInput host;
    host.refusals = {{90, HOTKEY_IN_USE_CODE}, {91, HOTKEY_IN_USE_CODE}, {92, kOtherFailure}, {93, kOtherFailure}};
    PresentationShortcuts shortcuts = shape_shortcuts();
    auto unavailable = apply_presentation_shortcuts(shortcuts, features(true, true), host);
    ASSERT_TRUE(unavailable);
    EXPECT_EQ(*unavailable, (std::vector<TextId>{TextId::presentation_stop, TextId::toolbar_rectangle,
                                                 TextId::toolbar_ellipse}));
    EXPECT_EQ(shortcuts.failed, (std::array<bool, 4>{true, false, true, true}));
    ASSERT_TRUE(host.listening);
    EXPECT_FALSE(host.reporting);
    EXPECT_TRUE(host.slots[0].enabled);
    EXPECT_EQ(host.slots[0].id, 91);
    EXPECT_EQ(host.slots[0].key, std::uint32_t{'A'});
    EXPECT_EQ(host.slots[0].modifiers, kShortcutAlt);
    EXPECT_FALSE(host.slots[1].enabled || host.slots[2].enabled);
    EXPECT_EQ(shortcuts.applied, features(true, true));  // the features stay on
    EXPECT_TRUE(host.mouse);
}

TEST(ApplyPresentationShortcuts, ListsNothingWhenAllRegisterAndStartsNoListenerWithoutAReason) {
    FakeInput host;
    PresentationShortcuts shortcuts = shape_shortcuts();
    auto unavailable = apply_presentation_shortcuts(shortcuts, features(true, true), host);
    ASSERT_TRUE(unavailable);
    EXPECT_TRUE(unavailable->empty());
    EXPECT_FALSE(host.listening);
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{90, 91, 92, 93}));
    // Applied again from a running state: afresh, and the same in the end.
    ASSERT_TRUE(apply_presentation_shortcuts(shortcuts, features(true, true), host));
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{90, 91, 92, 93}));
}

TEST(ApplyPresentationShortcuts, FailsWithEverythingOffWhenTheHookCannotStart) {
    FakeInput host;
    host.listener_fails = true;
    host.refusals[91] = HOTKEY_IN_USE_CODE;
    PresentationShortcuts shortcuts = shape_shortcuts();
    auto done = apply_presentation_shortcuts(shortcuts, features(true, true), host);
    ASSERT_FALSE(done);
    EXPECT_EQ(done.failure().code, kOtherFailure);
    EXPECT_TRUE(host.registered.empty());
    EXPECT_FALSE(host.mouse);
    EXPECT_EQ(shortcuts.applied, PresentationFeatures{});
}

TEST(PointerShortcuts, ASlotWithoutAShortcutIsSkippedAndTheNextStillRegisters) {
    FakeInput host;
    PointerShortcuts pointer;
    pointer.shortcuts = {Shortcut{kShortcutCtrl, 'K'}, std::nullopt, Shortcut{kShortcutCtrl, 'M'}};
    host.refusals[94] = kOtherFailure;
    EXPECT_TRUE(register_pointer_shortcuts(pointer, true, host));  // the last outcome: 96's
    EXPECT_EQ(host.registered, (std::set<std::int32_t>{96}));
    EXPECT_EQ(pointer.registered, (std::array<bool, 3>{false, false, true}));
    EXPECT_EQ(pointer.failed, (std::array<bool, 3>{true, false, false}));

    EXPECT_TRUE(register_pointer_shortcuts(pointer, false, host));
    EXPECT_TRUE(host.registered.empty());
    EXPECT_EQ(pointer.failed, (std::array<bool, 3>{}));
}

}  // namespace
}  // namespace glimmerly
