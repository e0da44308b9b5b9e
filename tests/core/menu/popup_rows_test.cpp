#include "core/menu/popup_rows.h"

#include <gtest/gtest.h>

namespace glimmerly {
namespace {

// Half the size per byte: "Take a screenshot" is 119 units at 14, "Press keys" 60 at 12.
Result<double> fake_measure(std::string_view text, double size, bool) { return text.size() * size / 2.0; }

PopupLayout layout(std::span<const PopupRow> rows, const ShortcutBindings& bindings, double scale) {
    auto made = layout_popup_rows(rows, bindings, scale, LANGUAGE_ENGLISH, fake_measure);
    EXPECT_TRUE(made.ok());
    return made.ok() ? *made : PopupLayout{};
}

ShortcutBindings with_capture(Shortcut shortcut) {
    ShortcutBindings bindings;
    bindings.shortcuts[0] = pack_shortcut(shortcut, false);
    return bindings;
}

TEST(PopupLayout, PaddingAndRowsAreRoundedOneByOneAfterScaling) {
    const struct { const char* name; double scale; std::int32_t height, first_top, second_top; } rows[] = {
        {"96 dpi", 1.0, 617, 4, 36},
        {"144 dpi: 925.5 unrounded, the separator's 13.5 rounds up", 1.5, 926, 6, 54},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const PopupLayout laid = layout(main_popup_rows(), {}, row.scale);
        ASSERT_EQ(laid.tops.size(), kMainRowCount + 1);
        EXPECT_EQ(popup_height(laid), row.height);
        EXPECT_EQ(laid.tops[0], row.first_top);
        EXPECT_EQ(laid.tops[1], row.second_top);
    }
}

TEST(PopupLayout, AShortcutRowKeepsRoomForRecordingWithOrWithoutAShortcut) {
    const auto first = main_popup_rows().first(1);
    const struct { const char* name; Shortcut shortcut; double scale; std::int32_t width; } rows[] = {
        {"none: 38 + 119 + 14 + 140 + 64", {}, 1.0, 375},
        {"short caps stay inside the reserved box", {kShortcutCtrl | kShortcutShift, 0x82}, 1.0, 375},
        {"long caps widen the row", {kShortcutCtrl | kShortcutAlt | kShortcutShift, 0x2C}, 1.0, 441},
        {"the width in pixels is rounded up", {}, 1.5, 563},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(layout(first, with_capture(row.shortcut), row.scale).width, row.width);
    }
}

TEST(PopupLayout, RowsAreFoundByTheirTopsAndTheShortcutRowIsSplitIntoZones) {
    const PopupLayout main = layout(main_popup_rows(), {}, 1.0);
    const struct {
        std::int32_t y;
        std::optional<std::size_t> row;
    } hits[] = {{3, std::nullopt}, {4, 0}, {35, 0}, {36, 1}, {612, 18}, {613, std::nullopt}, {-1, std::nullopt}};
    for (const auto& hit : hits) {
        SCOPED_TRACE(hit.y);
        EXPECT_EQ(row_at(main, hit.y), hit.row);
    }

    // 441 wide with 212 of caps: they start at 215.
    const PopupLayout row =
        layout(main_popup_rows().first(1), with_capture({kShortcutCtrl | kShortcutAlt | kShortcutShift, 0x2C}), 1.0);
    using Click = ShortcutRowClick;
    const struct { const char* name; double x; bool saved; Click click; std::uint8_t hot; } zones[] = {
        {"the caps", 300, false, Click::StartRecording, kHotCaps},
        {"8 left of the caps still counts", 207, false, Click::StartRecording, kHotCaps},
        {"the label", 206, false, Click::Choose, kHotLabel},
        {"the restore button of the saved row", 200, true, Click::RestorePrevious, kHotLabel},
        {"no button on another row", 200, false, Click::Choose, kHotLabel},
        {"left of the restore button", 184, true, Click::Choose, kHotLabel},
    };
    for (const auto& zone : zones) {
        SCOPED_TRACE(zone.name);
        EXPECT_EQ(shortcut_row_click(row, 0, zone.x, 1.0, zone.saved), zone.click);
        EXPECT_EQ(shortcut_hot_part(row, 0, zone.x, 1.0), zone.hot);
    }
    // While recording, the content edge is 427: two buttons, nothing between.
    const struct {
        double x;
        std::optional<std::uint32_t> action;
    } buttons[] = {{375, kRowPutDefault}, {398.5, kRowPutDefault}, {400, std::nullopt},     {403, kRowCancel},
                   {426.9, kRowCancel},   {427, std::nullopt},         {10, std::nullopt}};
    for (const auto& button : buttons) {
        SCOPED_TRACE(button.x);
        EXPECT_EQ(recording_row_click(row, button.x, 1.0), button.action);
    }
}

TEST(PopupLayout, ACaptureRowWithoutAShortcutStillHasACapToClick) {
    const PopupLayout laid = layout(main_popup_rows().first(1), {}, 1.0);
    const std::size_t capture = 0;
    ASSERT_EQ(laid.rows[capture].command, APP_COMMAND_TAKE_SCREENSHOT);
    EXPECT_EQ(row_caps_labels(0, LANGUAGE_ENGLISH), std::vector<std::string>{"\xE2\x80\xA6"});
    EXPECT_GT(laid.caps_widths[capture], 20.0);
    const double caps_middle = laid.width - 14.0 - laid.caps_widths[capture] / 2.0;
    EXPECT_EQ(shortcut_row_click(laid, capture, caps_middle, 1.0, false), ShortcutRowClick::StartRecording);
}

TEST(PopupLayout, UpAndDownSkipHeadersAndTheSeparatorAndWrap) {
    const auto main = main_popup_rows();
    const struct {
        const char* name;
        std::optional<std::size_t> from;
        bool down;
        std::optional<std::size_t> to;
    } rows[] = {
        {"Down from nothing: the first row", std::nullopt, true, 0},
        {"Up from nothing: Quit", std::nullopt, false, 18},
        {"over the board header", 1, true, 3},
        {"over the presentation header, upwards", 7, false, 5},
        {"over the separator", 14, true, 16},
        {"Down from Quit wraps", 18, true, 0},
        {"Up from the first row wraps", 0, false, 18},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(step_hover(main, row.from, row.down), row.to);
    }
    EXPECT_EQ(step_hover(language_popup_rows(), 15, true), 0u);
    EXPECT_EQ(step_hover(main.subspan(2, 1), std::nullopt, true), std::nullopt);  // a header alone
    EXPECT_EQ(step_hover({}, std::nullopt, false), std::nullopt);
}

TEST(PopupRows, TheLanguageRowShowsTheChoiceAndTheChoiceRowsTheirMark) {
    const PopupRow& language_row = main_popup_rows()[kLanguageRow];
    ShortcutBindings bindings;
    EXPECT_EQ(row_label(language_row, LANGUAGE_ENGLISH), "Language");
    EXPECT_NE(row_label(language_row, 5), "Language");
    EXPECT_EQ(row_value(bindings, language_row.command, LANGUAGE_ENGLISH), "Windows language");
    EXPECT_TRUE(row_checked(bindings, language_popup_rows()[0].command));
    bindings.language = 5;
    EXPECT_EQ(row_value(bindings, language_row.command, LANGUAGE_ENGLISH), "Deutsch");
    EXPECT_FALSE(row_checked(bindings, language_popup_rows()[0].command));
    EXPECT_TRUE(row_checked(bindings, language_popup_rows()[6].command));
    EXPECT_EQ(row_label(language_popup_rows()[6], LANGUAGE_ENGLISH), "Deutsch");
}

TEST(ShortcutBindingWords, OnlyAShortcutThatIsNotInForceCarriesTheUnavailableBit) {
    constexpr std::uint32_t kOff = kShortcutUnavailableBit;
    Settings settings;
    settings.capture_shortcut = {kShortcutCtrl | kShortcutShift, 0x53};
    const HeldShortcuts all_held{settings.capture_shortcut, settings.instant_capture_shortcut,
                                 settings.board_shortcut, {}};
    const std::uint32_t capture = 0x00530006, instant = 0x00910000, arrow = 0x00410001, rectangle = 0x00520001,
                        ellipse = 0x00430001, board = 0x00420001;
    const struct {
        const char* name;
        std::optional<Shortcut> capture_held;
        std::array<bool, 3> shapes_failed;
        std::array<std::uint32_t, 6> words;
    } rows[] = {
        {"everything held", all_held.capture, {}, {capture, instant, arrow, rectangle, ellipse, board}},
        {"the capture not registered", std::nullopt, {}, {capture | kOff, instant, arrow, rectangle, ellipse, board}},
        {"the capture registered with an older combination", Shortcut{0, 0x2C}, {},
         {capture | kOff, instant, arrow, rectangle, ellipse, board}},
        {"the rectangle refused", all_held.capture, {false, true, false},
         {capture, instant, arrow, rectangle | kOff, ellipse, board}},
        {"arrow and ellipse refused", all_held.capture, {true, false, true},
         {capture, instant, arrow | kOff, rectangle, ellipse | kOff, board}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        HeldShortcuts held = all_held;
        held.capture = row.capture_held;
        held.shape_failed = row.shapes_failed;
        EXPECT_EQ(binding_words(settings, held), row.words);
    }
    // No capture shortcut at all is no word, held or not.
    settings.capture_shortcut = {};
    EXPECT_EQ(binding_words(settings, {}).front(), 0u);
}

TEST(RowCommandWord, TheActionIsTheLowByteAndTheKeyEverythingAbove) {
    const struct {
        const char* name;
        std::uint64_t lparam;
        std::optional<std::uint32_t> action, key;
    } rows[] = {
        {"Backspace pressed", kRowKeyDown | 0x08u << 8, kRowKeyDown, 0x08},
        {"a key above one byte is kept whole", kRowKeyUp | 0x1A5u << 8, kRowKeyUp, 0x1A5},
        {"every bit up to 32 of the key", kRowKeyDown | std::uint64_t{0xFFFFFFFF} << 8, kRowKeyDown, 0xFFFFFFFF},
        {"put the previous back", kRowPutPrevious, kRowPutPrevious, 0},
        {"an action above 5 is no command", 6 | 0x41u << 8, std::nullopt, std::nullopt},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        const auto word = decode_row_command(row.lparam);
        EXPECT_EQ(word ? std::optional(word->action) : std::nullopt, row.action);
        EXPECT_EQ(word ? std::optional(word->key) : std::nullopt, row.key);
    }
}

TEST(AppCommands, OnlyPresentationSettingsWaitForARunningCapture) {
    const struct {
        AppCommand command;
        bool refused;
    } rows[] = {{1, false}, {100, false}, {101, true}, {107, true}, {143, true}, {144, false},
                {151, false}, {170, false}, {171, false}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.command);
        EXPECT_EQ(refused_while_capturing(row.command), row.refused);
    }
    EXPECT_EQ(language_of_command(151), LANGUAGE_AUTO);
    EXPECT_EQ(language_of_command(152), LANGUAGE_ENGLISH);
    EXPECT_EQ(language_of_command(166), Language{14});
    EXPECT_EQ(language_of_command(167), std::nullopt);
}

}  // namespace
}  // namespace glimmerly
