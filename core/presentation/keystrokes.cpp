#include "core/presentation/keystrokes.h"

namespace glimmerly {
namespace {

constexpr std::uint16_t kKeyReturn = 0x0D;
constexpr std::uint16_t kKeyPause = 0x13;
constexpr std::uint16_t kKeyEscape = 0x1B;
constexpr std::uint16_t kKeyNumLock = 0x90;
constexpr std::size_t kShift = 0x10, kControl = 0x11, kMenu = 0x12;
constexpr std::size_t kLeftShift = 0xA0, kRightShift = 0xA1, kLeftControl = 0xA2, kRightControl = 0xA3,
                      kLeftMenu = 0xA4, kRightMenu = 0xA5;
constexpr std::uint8_t kDown = 0x80;
// Pause reports no release of its own: it shows as a tap.
constexpr std::uint16_t kPauseScan = 0x45;

bool in(std::uint8_t scan, std::uint8_t first, std::uint8_t last) { return scan >= first && scan <= last; }

// The display's own modifier keys stand in for the system's: the label shows
// what the keys held on the display type, and Ctrl or Alt alone never turn a
// letter into a control character (only AltGr, right Alt, counts).
void rewrite_modifiers(KeyboardState& state, const KeyDisplay& display) {
    const auto down = [&](std::uint16_t scan, bool extended) {
        return display.slots[key_slot_index(scan, extended)].pressed ? kDown : std::uint8_t{0};
    };
    state[kLeftShift] = down(0x2A, false);
    state[kRightShift] = down(0x36, false);
    state[kLeftControl] = down(0x1D, false);
    state[kRightControl] = down(0x1D, true);
    state[kLeftMenu] = down(0x38, false);
    state[kRightMenu] = down(0x38, true);
    state[kShift] = state[kLeftShift] | state[kRightShift];
    state[kControl] = state[kLeftControl] | state[kRightControl];
    state[kMenu] = state[kLeftMenu] | state[kRightMenu];
    if (!state[kRightMenu])
        state[kLeftControl] = state[kRightControl] = state[kLeftMenu] = state[kControl] = state[kMenu] = 0;
}

void label_press(KeyDisplay& display, bool& us_layout, std::uint16_t scan, bool extended, KeystrokeHost& host) {
    KeyboardState state{};
    if (!host.keyboard_state(state)) return;
    rewrite_modifiers(state, display);
    const LayoutHandle layout = host.foreground_layout();
    us_layout = is_us_layout(layout);
    if (us_layout && scan == 0x38 && extended) {
        static constexpr char16_t kAlt[] = {u'A', u'l', u't'};
        set_key_display_label(display, scan, extended, kAlt);
    }
    const KeyText text = translate_key_text(scan + (extended ? 0xE000u : 0u), state, layout, host);
    if (text.count == 0) return;
    for (const char16_t unit : text.text())
        if (unit <= 0x20) return;
    set_key_display_label(display, scan, extended, text.text());
}

}  // namespace

bool key_is_shown(std::uint8_t scan, bool extended, bool us_layout) {
    if (scan == 0x1C || scan == 0x1D || scan == 0x38 || scan == 0x37 || scan == 0x45) return true;
    if (extended) {
        return scan == 0x5B || scan == 0x5C || scan == 0x5D || scan == 0x35 || in(scan, 0x47, 0x49) || scan == 0x4B ||
               scan == 0x4D || in(scan, 0x4F, 0x53);
    }
    if (scan == 0x56) return !us_layout;
    return scan == 0x01 || in(scan, 0x3B, 0x44) || scan == 0x57 || scan == 0x58 || in(scan, 0x02, 0x1B) ||
           in(scan, 0x1E, 0x29) || in(scan, 0x2A, 0x36) || scan == 0x39 || scan == 0x3A || scan == 0x46 ||
           in(scan, 0x47, 0x53);
}

KeyText translate_key_text(std::uint32_t code, const KeyboardState& given, LayoutHandle layout, KeystrokeHost& host) {
    KeyboardState state = given;
    const std::uint32_t key = host.key_of_scan(code, layout);
    std::array<char16_t, 4> buffer{};
    int count = 0;
    if (state[kRightMenu] & kDown) {
        state[kControl] = state[kMenu] = kDown;
        count = host.to_unicode(key, code, state, buffer, layout);
        if (count == 0) state[kControl] = state[kMenu] = state[kRightMenu] = 0;
    }
    if (count == 0) {
        buffer = {};
        count = host.to_unicode(key, code, state, buffer, layout);
    }
    KeyText text;
    text.units = buffer;
    if (count == -1)
        text.count = 1;
    else if (count >= 1 && count <= 4)
        text.count = static_cast<std::uint8_t>(count);
    return text;
}

KeystrokeOutcome record_keystroke(KeyDisplay& display, bool& us_layout, const RawKeyEvent& event, std::uint64_t now,
                                  bool move_armed, KeystrokeHost& host, Language language) {
    if (event.key == 255 || event.scan == 255) return {};
    std::uint16_t scan = event.scan;
    if (scan == 0) scan = host.scan_of_key(event.key);
    const bool extended = event.key != kKeyNumLock && ((event.flags & kRawKeyE0) || (scan & 0xFF00) == 0xE000);
    const bool pressed = (event.flags & kRawKeyBreak) == 0;
    const std::uint8_t low = static_cast<std::uint8_t>(scan & 0xFF);
    KeystrokeOutcome outcome;
    outcome.ends_move = move_armed && pressed && (event.key == kKeyEscape || event.key == kKeyReturn);
    if (event.key == kKeyPause) {
        record_key_event(display, kPauseScan, true, true, now, language);
        KeySlot& slot = display.slots[key_slot_index(kPauseScan, true)];
        if (slot.pressed) {
            slot.fade_deadline = now > UINT64_MAX - kKeyFadeMs ? UINT64_MAX : now + kKeyFadeMs;
            slot.pressed = false;
        }
        outcome.recorded = true;
        return outcome;
    }
    if (event.flags & kRawKeyE1) return {};
    if (!key_is_shown(low, extended, us_layout)) {
        // Tracked, so that a key held while the display came on is not
        // taken for a modifier, but never drawn.
        if (low < kKeyScanLimit) {
            KeySlot& slot = display.slots[key_slot_index(low, extended)];
            slot.fade_deadline = 0;
            slot.pressed = pressed;
            slot.label_length = 0;
        }
        return outcome;
    }
    record_key_event(display, low, extended, pressed, now, language);
    if (pressed) label_press(display, us_layout, low, extended, host);
    outcome.recorded = true;
    return outcome;
}

}  // namespace glimmerly
