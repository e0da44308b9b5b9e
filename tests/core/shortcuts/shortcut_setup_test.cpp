#include "core/shortcuts/shortcut_setup.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

constexpr std::uint32_t kCtrl = kShortcutCtrl, kShift = kShortcutShift;

SetupState fresh(ShortcutKind kind = ShortcutKind::Capture, std::optional<Shortcut> recorded = std::nullopt) {
    SetupState state;
    reset_setup_state(state, kind, recorded, false, LANGUAGE_ENGLISH, SetupLayout{});
    return state;
}

TEST(SetupPanel, ControlsAreHitInLayoutUnitsEdgesIncluded) {
    const SetupLayout layout;
    const struct {
        const char* name;
        double x, y;
        std::optional<std::uint64_t> control;
    } rows[] = {
        {"keys area", 200, 90, kSetupFocusKeys},
        {"a click at (440, 400) of an 840 x 496 client", 440 * 420.0 / 840, 400 * 248.0 / 496, kSetupFocusCancel},
        {"Save's corner", 400, 228, kSetupFocusSave},
        {"the hint line", 200, 150, std::nullopt},
        {"between the buttons", 308, 210, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(panel_button_at(layout, row.x, row.y), row.control);
    }
}

TEST(SetupKeys, TabCyclesTheFocusEscapeCancelsAndAnyOtherKeyRecords) {
    SetupState state = fresh();
    EXPECT_TRUE(setup_key_down(state, 0x09, 0, false).repaint);
    EXPECT_EQ(state.focus, kSetupFocusCancel);
    (void)setup_key_down(state, 0x09, kShift, true);  // Shift+Tab goes back
    EXPECT_EQ(state.focus, kSetupFocusKeys);
    EXPECT_EQ(setup_key_down(state, 0x0D, 0, false).press, kSetupFocusKeys);

    state.message = "refused";
    (void)setup_key_down(state, 0x11, kCtrl, false);  // Ctrl starts listening and is shown
    EXPECT_TRUE(state.listening);
    EXPECT_TRUE(state.message.empty());
    EXPECT_FALSE(setup_save_enabled(state));
    (void)setup_key_down(state, 0x1B, kCtrl, false);  // while listening, Esc is a key like any other
    EXPECT_EQ(state.recorded, (Shortcut{kCtrl, 0x1B}));
    EXPECT_FALSE(state.listening);
    EXPECT_EQ(state.focus, kSetupFocusSave);
    EXPECT_TRUE(setup_save_enabled(state));
    const SetupKeyOutcome escape = setup_key_down(state, 0x1B, 0, false);
    EXPECT_TRUE(escape.close);
    EXPECT_EQ(state.focus, kSetupFocusCancel);
}

std::vector<std::string> texts(const std::vector<SetupItem>& items) {
    std::vector<std::string> out;
    for (const SetupItem& item : items) out.push_back(item.text);
    return out;
}

TEST(SetupKeysArea, ShowsHeldModifiersThePromptOrTheCombination) {
    SetupState state = fresh();
    EXPECT_EQ(texts(setup_key_items(state)), std::vector<std::string>{"Choose a shortcut"});
    state.listening = true;
    EXPECT_EQ(texts(setup_key_items(state)), std::vector<std::string>{"Press your shortcut\xE2\x80\xA6"});
    state.held_modifiers = kCtrl | kShift;
    EXPECT_EQ(texts(setup_key_items(state)), (std::vector<std::string>{"Ctrl", "+", "Shift", "+", "\xE2\x80\xA6"}));
    state.held_modifiers = kCtrl;
    EXPECT_EQ(texts(setup_key_items(state)), (std::vector<std::string>{"Ctrl", "+", "\xE2\x80\xA6"}));
    (void)record_combination(state, kCtrl, 0x2C);
    EXPECT_EQ(texts(setup_key_items(state)), (std::vector<std::string>{"Ctrl", "+", "Print Screen"}));
}

TEST(SetupKeysArea, ARowTooWideForTheAreaLosesItsSeparatorsAndStaysCentred) {
    const Box keys{20, 58, 400, 122};
    std::vector<SetupItem> items{{SetupItemKind::Cap, "a", {}}, {SetupItemKind::Separator, "+", {}},
                                 {SetupItemKind::Cap, "b", {}}};
    const auto narrow = place_setup_items(items, {10, 8, 10}, keys);
    ASSERT_EQ(narrow.size(), 3u);
    EXPECT_DOUBLE_EQ(narrow[0].box.right - narrow[0].box.left, 30.0);  // caps: text + 20, at least 28
    EXPECT_DOUBLE_EQ(narrow[0].box.top, 76.0);
    EXPECT_DOUBLE_EQ(narrow[2].box.bottom, 104.0);
    // 30 + 6 + 8 + 6 + 30 = 80 wide, centred in 380 from 20.
    EXPECT_DOUBLE_EQ(narrow[0].box.left, 170.0);
    const auto wide = place_setup_items(items, {170, 8, 170}, keys);  // 380 + 8 + 12 > 348
    ASSERT_EQ(wide.size(), 2u);
    EXPECT_DOUBLE_EQ(wide[1].box.left - wide[0].box.right, 6.0);
}

TEST(SetupHint, FollowsTheKindTheRecordingAndTheMessage) {
    const struct {
        const char* name;
        ShortcutKind kind;
        bool listening;
        std::optional<Shortcut> recorded;
        TextId hint;
    } rows[] = {
        {"capture, bare Print Screen", ShortcutKind::Capture, false, Shortcut{0, 0x2C}, TextId::setup_print_screen_hint},
        {"capture, Ctrl+Print Screen", ShortcutKind::Capture, false, Shortcut{kCtrl, 0x2C}, TextId::setup_change_hint},
        {"instant, listening", ShortcutKind::Instant, true, std::nullopt, TextId::setup_any_key_hint},
        {"ellipse, listening", ShortcutKind::Ellipse, true, std::nullopt, TextId::setup_shape_hint},
        {"magnifier, listening", ShortcutKind::Magnifier, true, std::nullopt, TextId::setup_board_hint},
        {"board, Print Screen recorded", ShortcutKind::Board, false, Shortcut{0, 0x2C}, TextId::setup_change_hint},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        SetupState state = fresh(row.kind, row.recorded);
        state.listening = row.listening;
        EXPECT_EQ(setup_hint_text(state), text_of(LANGUAGE_ENGLISH, row.hint));
        state.message = "refused";
        EXPECT_EQ(setup_hint_text(state), "refused");
    }
}

TEST(SetupLayoutMeasure, LongTextsWidenAndTallMessagesHeightenTheDialog) {
    const auto measure_with = [](double title_width, double message_height) {
        return [=](const std::string& text, double size, double wrap) -> Result<Size> {
            if (size == 16) return Size{title_width, 20};
            if (wrap > 0) return Size{wrap, text.size() > 100 ? message_height : 16.0};
            return Size{static_cast<double>(text.size()) * 6.0, 16};
        };
    };
    EXPECT_EQ(measure_setup_layout(LANGUAGE_ENGLISH, measure_with(100, 30)), SetupLayout{});
    const SetupLayout wide = measure_setup_layout(LANGUAGE_ENGLISH, measure_with(500.5, 70.2));
    EXPECT_DOUBLE_EQ(wide.width, 567);  // ceiling(500.5 + 66)
    EXPECT_DOUBLE_EQ(wide.height, 196 + 71);
    EXPECT_EQ(wide.save, (Box{567 - 20 - 88, 144 + 71, 547, 176 + 71}));
    EXPECT_EQ(wide.hint, (Box{20, 132, 547, 132 + 71}));
    const auto failing = [](const std::string&, double, double) -> Result<Size> { return plain_failure("no font"); };
    EXPECT_EQ(measure_setup_layout(LANGUAGE_ENGLISH, failing), SetupLayout{});
}

}  // namespace
}  // namespace glimmerly
