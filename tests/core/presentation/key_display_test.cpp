#include "core/presentation/key_display.h"

#include <gtest/gtest.h>

#include <string>

namespace glimmerly {
namespace {

const KeySlot& slot_of(const KeyDisplay& display, std::uint16_t scan, bool extended) {
    return display.slots[key_slot_index(scan, extended)];
}

std::u16string label_of(const KeyDisplay& display, std::uint16_t scan, bool extended) {
    return std::u16string(slot_of(display, scan, extended).text());
}

TEST(KeyDisplay, PressShowsTheDefaultNameOfItsOwnSlot) {
    struct Row {
        const char* name;
        std::uint16_t scan;
        bool extended;
        std::u16string label;
    };
    for (const Row& row : {Row{"Esc", 0x01, false, u"Esc"}, Row{"Backspace", 0x0E, false, u"←"},
                           Row{"keypad Enter", 0x1C, true, u"↵"}, Row{"right Ctrl", 0x1D, true, u"Ctrl"},
                           Row{"Print Screen", 0x37, true, u"Prt"}, Row{"keypad *", 0x37, false, u"*"},
                           Row{"AltGr", 0x38, true, u"Gr"}, Row{"Pause", 0x45, true, u"Ⅱ"},
                           Row{"Num Lock", 0x45, false, u"Num"}, Row{"F12", 0x58, false, u"F12"},
                           Row{"keypad minus", 0x4A, false, u"−"}, Row{"Home", 0x47, true, u"↖"},
                           Row{"keypad 7", 0x47, false, u"7"}, Row{"Menu", 0x5D, true, u"☰"},
                           Row{"letter A", 0x1E, false, u""}, Row{"extended Esc", 0x01, true, u""}}) {
        SCOPED_TRACE(row.name);
        KeyDisplay display;
        record_key_event(display, row.scan, row.extended, true, 10, LANGUAGE_ENGLISH);
        EXPECT_TRUE(slot_of(display, row.scan, row.extended).pressed);
        EXPECT_EQ(label_of(display, row.scan, row.extended), row.label);
        EXPECT_FALSE(slot_of(display, row.scan, !row.extended).pressed);
    }
}

TEST(KeyDisplay, ReleasedKeyFadesToHalfAtThreeHundredAndIsGoneAtSixHundred) {
    KeyDisplay display;
    record_key_event(display, 0x1E, false, true, 1000, LANGUAGE_ENGLISH);
    EXPECT_EQ(key_fade(slot_of(display, 0x1E, false), 5000), 1.0);  // held: lit however long
    record_key_event(display, 0x1E, false, false, 1000, LANGUAGE_ENGLISH);
    const KeySlot& slot = slot_of(display, 0x1E, false);
    EXPECT_EQ(key_fade(slot, 1000), 1.0);
    EXPECT_EQ(key_fade(slot, 1300), 0.5);
    EXPECT_EQ(key_fade(slot, 1600), 0.0);
    EXPECT_EQ(key_fade(slot, 900), 1.0);  // a clock read before the release never brightens past 1
    EXPECT_TRUE(any_key_fading(display, 1599));
    EXPECT_FALSE(any_key_fading(display, 1600));
}

TEST(KeyDisplay, AutoRepeatKeepsTheLabelAndANewPressStartsAfresh) {
    KeyDisplay display;
    const std::u16string a = u"a";
    record_key_event(display, 0x1E, false, true, 0, LANGUAGE_ENGLISH);
    set_key_display_label(display, 0x1E, false, a);
    record_key_event(display, 0x1E, false, true, 40, LANGUAGE_ENGLISH);
    EXPECT_EQ(label_of(display, 0x1E, false), u"a");
    record_key_event(display, 0x1E, false, false, 50, LANGUAGE_ENGLISH);
    record_key_event(display, 0x1E, false, true, 60, LANGUAGE_ENGLISH);
    EXPECT_EQ(label_of(display, 0x1E, false), u"");
}

TEST(KeyDisplay, ReleaseOfAKeyNeverPressedStartsNoFadeAndHighScansAreIgnored) {
    KeyDisplay display;
    record_key_event(display, 0x1E, false, false, 100, LANGUAGE_ENGLISH);
    EXPECT_EQ(slot_of(display, 0x1E, false).fade_deadline, 0u);
    const KeyDisplay before = display;
    record_key_event(display, 0x80, false, true, 100, LANGUAGE_ENGLISH);
    record_key_event(display, 0xFF, true, true, 100, LANGUAGE_ENGLISH);
    const std::u16string x = u"x";
    set_key_display_label(display, 0x80, false, x);
    for (std::size_t i = 0; i < kKeySlotCount; ++i) EXPECT_FALSE(display.slots[i].pressed) << i;
    EXPECT_EQ(display.slots[0x7F].label_length, before.slots[0x7F].label_length);
}

TEST(KeyDisplay, ReleaseAtTheEndOfTheClockSaturates) {
    KeyDisplay display;
    record_key_event(display, 0x1E, false, true, UINT64_MAX - 10, LANGUAGE_ENGLISH);
    record_key_event(display, 0x1E, false, false, UINT64_MAX - 10, LANGUAGE_ENGLISH);
    EXPECT_EQ(slot_of(display, 0x1E, false).fade_deadline, UINT64_MAX);
}

TEST(KeyDisplayLabel, TakesPrintableTextsAndRefusesTheRest) {
    struct Row {
        const char* name;
        std::u16string text;
        std::u16string label;
    };
    for (const Row& row : {Row{"capital letter", u"A", u"A"}, Row{"four units", u"abcd", u"abcd"},
                           Row{"surrogate pair", u"\U0001F600", u"\U0001F600"},
                           Row{"five units", u"abcde", u""}, Row{"empty", u"", u""},
                           Row{"space", u" ", u""}, Row{"carriage return", u"\r", u""},
                           Row{"backspace", u"\b", u""}, Row{"delete", u"\x7F", u""},
                           Row{"C1 control", u"\x85", u""}, Row{"no-break space", u"\xA0", u""},
                           Row{"ideographic space", u"\x3000", u""}, Row{"thin space", u"\x2009", u""},
                           Row{"lone high surrogate", std::u16string(1, char16_t(0xD83D)), u""},
                           Row{"lone low surrogate", std::u16string(1, char16_t(0xDE00)), u""}}) {
        SCOPED_TRACE(row.name);
        KeyDisplay display;
        record_key_event(display, 0x39, false, true, 0, LANGUAGE_ENGLISH);  // Space: "␣" until relabelled
        set_key_display_label(display, 0x39, false, row.text);
        EXPECT_EQ(label_of(display, 0x39, false), row.label);
    }
}

TEST(KeyDisplayLabel, AKeyThatIsUpKeepsItsLabel) {
    KeyDisplay display;
    record_key_event(display, 0x01, false, true, 0, LANGUAGE_ENGLISH);
    record_key_event(display, 0x01, false, false, 10, LANGUAGE_ENGLISH);
    const std::u16string x = u"x";
    set_key_display_label(display, 0x01, false, x);
    EXPECT_EQ(label_of(display, 0x01, false), u"Esc");
}

}  // namespace
}  // namespace glimmerly
