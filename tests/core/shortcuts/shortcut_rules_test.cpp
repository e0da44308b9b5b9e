#include "core/shortcuts/shortcut_rules.h"

#include <gtest/gtest.h>

#include "core/menu/popup_rows.h"

namespace glimmerly {
namespace {

constexpr std::uint32_t kAlt = kShortcutAlt, kCtrl = kShortcutCtrl, kShift = kShortcutShift;

// Capture Ctrl+Shift+S, instant Scroll Lock, board Alt+B, shapes Alt+A, Alt+R,
// Alt+C, and the spotlight on Ctrl+Alt+L.
Settings sample() {
    Settings s;
    s.capture_shortcut = {kCtrl | kShift, 'S'};
    s.pointer.spotlight_shortcut = Shortcut{kCtrl | kAlt, 'L'};
    return s;
}

TEST(ShortcutRules, EachKindRefusesWithItsOwnTextAndTheFirstRuleWins) {
    const Settings s = sample();
    const std::optional<ShortcutRefusal> none;
    const auto plain = [](TextId t) { return std::optional<ShortcutRefusal>(ShortcutRefusal{t, false}); };
    const auto wrapped = [](TextId t) { return std::optional<ShortcutRefusal>(ShortcutRefusal{t, true}); };
    const struct {
        const char* name;
        ShortcutKind kind;
        Shortcut combination;
        std::optional<ShortcutRefusal> refusal;
    } rows[] = {
        {"capture: the instant shortcut", ShortcutKind::Capture, {0, 145}, plain(TextId::setup_used_for_instant)},
        {"capture: a shape", ShortcutKind::Capture, {kAlt, 'A'}, plain(TextId::setup_used_by_presentation)},
        {"capture: Ctrl+Alt+Esc", ShortcutKind::Capture, kReservedShortcut, plain(TextId::setup_used_by_presentation)},
        {"capture: a pointer shortcut", ShortcutKind::Capture, {kCtrl | kAlt, 'L'},
         plain(TextId::setup_used_by_presentation)},
        {"capture: the board", ShortcutKind::Capture, {kAlt, 'B'}, plain(TextId::setup_used_by_board)},
        {"capture: its own combination", ShortcutKind::Capture, {kCtrl | kShift, 'S'}, none},
        {"capture: a bare key", ShortcutKind::Capture, {0, 'Q'}, none},
        {"instant: the capture shortcut", ShortcutKind::Instant, {kCtrl | kShift, 'S'},
         plain(TextId::setup_used_by_glimmerly)},
        {"instant: a pointer shortcut", ShortcutKind::Instant, {kCtrl | kAlt, 'L'}, plain(TextId::setup_used_by_glimmerly)},
        {"instant: the board", ShortcutKind::Instant, {kAlt, 'B'}, plain(TextId::setup_used_by_board)},
        {"instant: a bare letter", ShortcutKind::Instant, {0, 'Q'}, none},
        {"arrow: Ctrl+Alt+Esc", ShortcutKind::Arrow, kReservedShortcut, wrapped(TextId::setup_reserved)},
        {"arrow: a bare letter", ShortcutKind::Arrow, {0, 'Q'}, wrapped(TextId::setup_shape_needs_modifier)},
        {"arrow: key 255", ShortcutKind::Arrow, {kAlt, 255}, wrapped(TextId::setup_invalid_shape)},
        {"ellipse: the rectangle's", ShortcutKind::Ellipse, {kAlt, 'R'}, wrapped(TextId::setup_duplicate_shape)},
        {"rectangle: the arrow's", ShortcutKind::Rectangle, {kAlt, 'A'}, wrapped(TextId::setup_duplicate_shape)},
        {"arrow: the capture shortcut", ShortcutKind::Arrow, {kCtrl | kShift, 'S'}, wrapped(TextId::setup_used_for_capture)},
        {"arrow: the board", ShortcutKind::Arrow, {kAlt, 'B'}, wrapped(TextId::setup_used_by_board)},
        {"arrow: a pointer shortcut", ShortcutKind::Arrow, {kCtrl | kAlt, 'L'}, wrapped(TextId::setup_used_by_glimmerly)},
        {"arrow: Alt+Shift+A", ShortcutKind::Arrow, {kAlt | kShift, 'A'}, none},
        {"board: Ctrl+Alt+Esc", ShortcutKind::Board, kReservedShortcut, plain(TextId::setup_reserved)},
        {"board: no Ctrl or Alt", ShortcutKind::Board, {kShift, 'B'}, plain(TextId::setup_board_needs_modifier)},
        {"board: modifier 16", ShortcutKind::Board, {16 | kAlt, 'B'}, plain(TextId::setup_invalid_board)},
        {"board: a shape", ShortcutKind::Board, {kAlt, 'C'}, plain(TextId::setup_used_by_glimmerly)},
        {"board: a pointer shortcut", ShortcutKind::Board, {kCtrl | kAlt, 'L'}, plain(TextId::setup_used_by_glimmerly)},
        {"spotlight: Ctrl+Alt+Esc", ShortcutKind::Spotlight, kReservedShortcut, plain(TextId::setup_used_by_glimmerly)},
        {"magnifier: the spotlight's", ShortcutKind::Magnifier, {kCtrl | kAlt, 'L'},
         plain(TextId::setup_used_by_glimmerly)},
        {"spotlight: its own", ShortcutKind::Spotlight, {kCtrl | kAlt, 'L'}, none},
        {"show a click: a bare key", ShortcutKind::ShowClick, {kShift, 'K'}, plain(TextId::setup_pointer_needs_modifier)},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(judge_shortcut(row.kind, row.combination, s), row.refusal);
    }
}

TEST(ShortcutRules, ShapeRefusalsAreSaidInsideTheInvalidText) {
    EXPECT_EQ(refusal_text({TextId::setup_reserved, true}, LANGUAGE_ENGLISH),
              "Shortcut unavailable or invalid: Ctrl+Alt+Escape is reserved");
    EXPECT_EQ(refusal_text({TextId::setup_reserved, false}, LANGUAGE_ENGLISH), "Ctrl+Alt+Escape is reserved");
}

TEST(ShortcutRows, DefaultsAndPresenceFollowTheRow) {
    Settings s;
    EXPECT_EQ(row_shortcut_in(s, ShortcutRow::Capture), std::nullopt);  // a first start has none
    EXPECT_EQ(row_default(ShortcutRow::Capture), (Shortcut{0, 44}));
    EXPECT_EQ(row_default(ShortcutRow::Instant), (Shortcut{0, 145}));
    EXPECT_EQ(row_default(ShortcutRow::Ellipse), (Shortcut{kAlt, 'C'}));
    EXPECT_EQ(row_default(ShortcutRow::Magnifier), std::nullopt);
    set_row_shortcut_in(s, ShortcutRow::Magnifier, Shortcut{kCtrl, 'M'});
    EXPECT_EQ(row_shortcut_in(s, ShortcutRow::Magnifier), (Shortcut{kCtrl, 'M'}));
    set_row_shortcut_in(s, ShortcutRow::Magnifier, std::nullopt);
    EXPECT_EQ(row_shortcut_in(s, ShortcutRow::Magnifier), std::nullopt);
    set_row_shortcut_in(s, ShortcutRow::Board, std::nullopt);  // a fixed row keeps its combination
    EXPECT_EQ(row_shortcut_in(s, ShortcutRow::Board), (Shortcut{kAlt, 'B'}));
    for (std::uint8_t r = 0; r < kShortcutRowCount; ++r)
        EXPECT_EQ(row_of_kind(kind_of_row(static_cast<ShortcutRow>(r))), static_cast<ShortcutRow>(r));
}

TEST(ShortcutSetupClose, OnlyTheVisibleSetupWithNoGlobalShortcutQuits) {
    const struct {
        const char* name;
        bool recording_row;
        ShortcutKind kind;
        bool capture, instant, board, quits;
    } rows[] = {
        {"first-run setup, nothing registered", false, ShortcutKind::Capture, false, false, false, true},
        {"first-run setup, the board registered", false, ShortcutKind::Capture, false, false, true, false},
        {"first-run setup, capture registered", false, ShortcutKind::Capture, true, false, false, false},
        {"a row recording ends, nothing registered", true, ShortcutKind::Instant, false, false, false, false},
        {"a shape, nothing registered", false, ShortcutKind::Arrow, false, false, false, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(setup_close_quits(row.recording_row, row.kind, row.capture, row.instant, row.board), row.quits);
    }
}

TEST(ShortcutBindingsWord, PacksModifiersKeyAndTheUnavailableBit) {
    EXPECT_EQ(pack_shortcut({kCtrl | kShift, 'S'}, false), 0x00530006u);
    EXPECT_EQ(pack_shortcut({kCtrl | kShift, 'S'}, true), 0x80530006u);
    EXPECT_EQ(unpack_shortcut(0x80530006u), (Shortcut{kCtrl | kShift, 'S'}));
}

TEST(RowCommandWord, TakesActionsUpToFiveAndTheKeyAboveThem) {
    const auto word = decode_row_command(5 | 0x2C << 8);
    ASSERT_TRUE(word);
    EXPECT_EQ(word->action, 5u);
    EXPECT_EQ(word->key, 0x2Cu);
    EXPECT_FALSE(decode_row_command(8 | 0x41 << 8));  // not action 0 by its low bits
    EXPECT_FALSE(decode_row_command(6));
}

}  // namespace
}  // namespace glimmerly
