#include "core/presentation/keystrokes.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <utility>

namespace glimmerly {
namespace {

constexpr LayoutHandle kUsLayout = 0x04090409;
constexpr LayoutHandle kGermanLayout = 0x04070407;

// A few keys of a Latin layout: letters, a dead circumflex, Space and Enter;
// AltGr + E types the euro sign. Shift and Ctrl act as a real layout's do,
// so a Ctrl that reached the translation would show a control character.
class FakeLayout final : public KeystrokeHost {
public:
    LayoutHandle layout = kUsLayout;
    bool state_readable = true;
    KeyboardState system_state{};
    int translations = 0;

    std::uint16_t scan_of_key(std::uint16_t key) override {
        if (key == 0x25) return 0xE04B;  // Left arrow
        if (key == 0x41) return 0x1E;
        return 0;
    }
    bool keyboard_state(KeyboardState& state) override {
        state = system_state;
        return state_readable;
    }
    LayoutHandle foreground_layout() override { return layout; }
    std::uint32_t key_of_scan(std::uint32_t code, LayoutHandle) override {
        static const std::map<std::uint32_t, std::uint32_t> keys = {
            {0x1E, 'A'}, {0x2E, 'C'}, {0x12, 'E'}, {0x1A, 0xDD}, {0x39, 0x20}, {0x1C, 0x0D}, {0x0F, 0x09}};
        const auto found = keys.find(code);
        return found == keys.end() ? 0 : found->second;
    }
    int to_unicode(std::uint32_t key, std::uint32_t, const KeyboardState& state, std::span<char16_t, 4> out,
                   LayoutHandle) override {
        ++translations;
        const bool shift = state[0x10] & 0x80, ctrl = state[0x11] & 0x80, alt = state[0x12] & 0x80;
        if (key == 0xDD) {
            out[0] = u'^';
            return -1;
        }
        if (key == 0x20 || key == 0x0D || key == 0x09) {
            out[0] = static_cast<char16_t>(key);
            return 1;
        }
        if (key < 'A' || key > 'Z') return 0;
        if (ctrl && alt) {
            if (key != 'E') return 0;
            out[0] = u'€';
            return 1;
        }
        if (ctrl) {
            out[0] = static_cast<char16_t>(key - 'A' + 1);
            return 1;
        }
        out[0] = static_cast<char16_t>(shift ? key : key + 32);
        return 1;
    }
};

RawKeyEvent press(std::uint16_t scan, std::uint16_t key, std::uint16_t flags = 0) { return {scan, flags, key}; }
RawKeyEvent release(std::uint16_t scan, std::uint16_t key, std::uint16_t flags = 0) {
    return {scan, static_cast<std::uint16_t>(flags | kRawKeyBreak), key};
}

std::u16string label(const KeyDisplay& display, std::uint16_t scan, bool extended = false) {
    return std::u16string(display.slots[key_slot_index(scan, extended)].text());
}

struct Typing {
    KeyDisplay display;
    bool us = false;
    FakeLayout host;
    std::uint64_t now = 1000;

    KeystrokeOutcome type(const RawKeyEvent& event, bool move_armed = false) {
        return record_keystroke(display, us, event, now, move_armed, host, LANGUAGE_ENGLISH);
    }
};

TEST(KeyShownTable, ShowsTheDrawnKeysAndNeverTheFakeShiftsOrMediaKeys) {
    struct Row {
        const char* name;
        std::uint8_t scan;
        bool extended;
        bool us;
        bool shown;
    };
    for (const Row& row : {Row{"Esc", 0x01, false, true, true}, Row{"extended Esc", 0x01, true, true, false},
                           Row{"letter Q", 0x10, false, true, true}, Row{"left Shift", 0x2A, false, true, true},
                           Row{"fake shift of an arrow", 0x2A, true, true, false},
                           Row{"fake right shift", 0x36, true, true, false},
                           Row{"keypad Enter", 0x1C, true, true, true}, Row{"right Ctrl", 0x1D, true, true, true},
                           Row{"AltGr", 0x38, true, false, true}, Row{"Space", 0x39, false, true, true},
                           Row{"media Play (E0 22)", 0x22, true, true, false},
                           Row{"volume up (E0 30)", 0x30, true, true, false},
                           Row{"ISO key on a US layout", 0x56, false, true, false},
                           Row{"ISO key elsewhere", 0x56, false, false, true},
                           Row{"left Windows", 0x5B, true, true, true}, Row{"plain 5B", 0x5B, false, true, false},
                           Row{"keypad /", 0x35, true, true, true}, Row{"Print Screen", 0x37, true, true, true},
                           Row{"Scroll Lock", 0x46, false, true, true}, Row{"extended 46", 0x46, true, true, false},
                           Row{"keypad 5", 0x4C, false, true, true}, Row{"extended 4C", 0x4C, true, true, false},
                           Row{"Delete", 0x53, true, true, true}, Row{"F11", 0x57, false, true, true},
                           Row{"F13", 0x64, false, true, false}}) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(key_is_shown(row.scan, row.extended, row.us), row.shown);
    }
}

TEST(RecordKeystroke, LettersShowTheLayoutsCharacterWithShiftButWithoutCtrl) {
    Typing t;
    t.type(press(0x1E, 'A'));
    EXPECT_EQ(label(t.display, 0x1E), u"a");
    t.type(release(0x1E, 'A'));
    t.type(press(0x2A, 0x10));
    t.type(press(0x1E, 'A'));
    EXPECT_EQ(label(t.display, 0x1E), u"A");
    EXPECT_EQ(label(t.display, 0x2A), u"⇧");
    t.type(release(0x2A, 0x10));
    t.type(press(0x1D, 0x11));
    // The system state says Ctrl is down as well: the display's own keys decide.
    t.host.system_state[0x11] = t.host.system_state[0xA2] = 0x80;
    t.type(press(0x2E, 'C'));
    EXPECT_EQ(label(t.display, 0x2E), u"c");
}

TEST(RecordKeystroke, AltGrShowsItsCharacterOrElseThePlainOne) {
    Typing t;
    t.host.layout = kGermanLayout;
    t.type(press(0x38, 0x12, kRawKeyE0));
    EXPECT_EQ(label(t.display, 0x38, true), u"Gr");
    t.type(press(0x12, 'E'));
    EXPECT_EQ(label(t.display, 0x12), u"€");
    t.type(press(0x1E, 'A'));  // AltGr + A types nothing here
    EXPECT_EQ(label(t.display, 0x1E), u"a");
}

TEST(RecordKeystroke, RightAltIsAltOnTheUsLayoutOnly) {
    for (const auto& [layout, name] : {std::pair{kUsLayout, u"Alt"}, std::pair{kGermanLayout, u"Gr"}}) {
        Typing t;
        t.host.layout = layout;
        t.type(press(0x38, 0x12, kRawKeyE0));
        EXPECT_EQ(label(t.display, 0x38, true), name);
        EXPECT_EQ(t.us, layout == kUsLayout);
    }
}

TEST(RecordKeystroke, KeysThatTypeNothingPrintableKeepTheirNamesAndDeadKeysShowTheirOwn) {
    Typing t;
    t.type(press(0x39, 0x20));
    t.type(press(0x1C, 0x0D));
    t.type(press(0x0F, 0x09));
    t.type(press(0x1A, 0xDD));
    EXPECT_EQ(label(t.display, 0x39), u"␣");
    EXPECT_EQ(label(t.display, 0x1C), u"↵");
    EXPECT_EQ(label(t.display, 0x0F), u"⇥");
    EXPECT_EQ(label(t.display, 0x1A), u"^");
}

TEST(RecordKeystroke, AnUnreadableKeyboardStateLeavesTheDefaultNameOnARecordedPress) {
    Typing t;
    t.host.state_readable = false;
    EXPECT_TRUE(t.type(press(0x01, 0x1B)).recorded);
    EXPECT_EQ(label(t.display, 0x01), u"Esc");
    EXPECT_EQ(t.host.translations, 0);
}

TEST(RecordKeystroke, PauseIsATapThatFadesWithoutARelease) {
    Typing t;
    EXPECT_TRUE(t.type(press(0x1D, 0x13, kRawKeyE1)).recorded);
    const KeySlot& pause = t.display.slots[key_slot_index(0x45, true)];
    EXPECT_FALSE(pause.pressed);
    EXPECT_EQ(pause.fade_deadline, t.now + 600);
    EXPECT_EQ(label(t.display, 0x45, true), u"Ⅱ");
    EXPECT_EQ(key_fade(pause, t.now + 300), 0.5);
    EXPECT_FALSE(t.display.slots[key_slot_index(0x1D, false)].pressed);
}

TEST(RecordKeystroke, IgnoresKey255Scan255AndTheE1Prefix) {
    for (const RawKeyEvent& event : {press(0x45, 0xFF), press(0xFF, 'A'), press(0x1D, 0x11, kRawKeyE1)}) {
        Typing t;
        EXPECT_FALSE(t.type(event).recorded);
        for (const KeySlot& slot : t.display.slots) EXPECT_FALSE(slot.pressed);
    }
}

TEST(RecordKeystroke, AMissingScanCodeIsMappedFromTheVirtualKeyWithItsExtendedPrefix) {
    Typing t;
    t.type(press(0, 0x25));
    EXPECT_TRUE(t.display.slots[key_slot_index(0x4B, true)].pressed);
    EXPECT_EQ(label(t.display, 0x4B, true), u"←");
    t.type(press(0, 'A'));
    EXPECT_EQ(label(t.display, 0x1E), u"a");
}

TEST(RecordKeystroke, NumLockIsNeverExtendedAndHiddenKeysAreTrackedUndrawn) {
    Typing t;
    t.type(press(0x45, 0x90, kRawKeyE0));
    EXPECT_EQ(label(t.display, 0x45), u"Num");
    EXPECT_FALSE(t.display.slots[key_slot_index(0x45, true)].pressed);
    const KeystrokeOutcome fake_shift = t.type(press(0x2A, 0x10, kRawKeyE0));
    EXPECT_FALSE(fake_shift.recorded);
    const KeySlot& slot = t.display.slots[key_slot_index(0x2A, true)];
    EXPECT_TRUE(slot.pressed);
    EXPECT_EQ(slot.label_length, 0);
    EXPECT_EQ(key_fade(slot, t.now + 1), 1.0);
    t.type(release(0x2A, 0x10, kRawKeyE0));
    EXPECT_EQ(key_fade(slot, t.now + 1), 0.0);
}

TEST(RecordKeystroke, EscOrEnterPressedWhileMovingEndsTheMoveButTheirReleaseDoesNot) {
    Typing t;
    EXPECT_TRUE(t.type(press(0x01, 0x1B), true).ends_move);
    EXPECT_TRUE(t.type(press(0x1C, 0x0D), true).ends_move);
    EXPECT_FALSE(t.type(release(0x01, 0x1B), true).ends_move);
    EXPECT_FALSE(t.type(press(0x39, 0x20), true).ends_move);
    EXPECT_FALSE(t.type(press(0x01, 0x1B), false).ends_move);
}

TEST(KeyReport, UnpacksTheHooksWords) {
    const RawKeyEvent event = key_report_event(0x25, 0x4B | (0x3u << 16));
    EXPECT_EQ(event.key, 0x25);
    EXPECT_EQ(event.scan, 0x4B);
    EXPECT_EQ(event.flags, kRawKeyBreak | kRawKeyE0);
}

}  // namespace
}  // namespace glimmerly
