#pragma once
// Which typed keys the keys display shows and what it writes on them. Keys
// arrive as raw keyboard records or as the keyboard hook's reports, both in
// the raw record's form; the layout's own text for a key comes through a
// small host, so that the decisions run and are tested without a keyboard.

#include <array>
#include <cstdint>
#include <span>

#include "core/presentation/key_display.h"

namespace glimmerly {

// A raw keyboard record's fields: the make code, its flags and the virtual key.
inline constexpr std::uint16_t kRawKeyBreak = 0x1;  // released
inline constexpr std::uint16_t kRawKeyE0 = 0x2;     // extended
inline constexpr std::uint16_t kRawKeyE1 = 0x4;
struct RawKeyEvent {
    std::uint16_t scan = 0;
    std::uint16_t flags = 0;
    std::uint16_t key = 0;
};

// The hook's report: wParam the virtual key, lParam the scan code in bits
// 0-15 and (released | extended << 1) above them.
constexpr RawKeyEvent key_report_event(std::uint64_t wparam, std::uint64_t lparam) {
    return {static_cast<std::uint16_t>(lparam & 0xFFFF), static_cast<std::uint16_t>((lparam >> 16) & 0xFFFF),
            static_cast<std::uint16_t>(wparam & 0xFFFF)};
}

// Whether a key of this scan code (low byte) is drawn on the keyboard: the
// fake shifts that come with extended keys, media keys and the ISO key on a
// US layout are not.
bool key_is_shown(std::uint8_t scan, bool extended, bool us_layout);

using KeyboardState = std::array<std::uint8_t, 256>;
using LayoutHandle = std::uintptr_t;

// The system's side: the keyboard state and layout, and the layout's text.
class KeystrokeHost {
public:
    // MapVirtualKeyW(key, MAPVK_VK_TO_VSC_EX): 0xE0xx for an extended key.
    virtual std::uint16_t scan_of_key(std::uint16_t key) = 0;
    virtual bool keyboard_state(KeyboardState& state) = 0;
    // The layout of the foreground window's thread.
    virtual LayoutHandle foreground_layout() = 0;
    // MapVirtualKeyExW(code, MAPVK_VSC_TO_VK_EX, layout).
    virtual std::uint32_t key_of_scan(std::uint32_t code, LayoutHandle layout) = 0;
    // ToUnicodeEx with flag 4 (the keyboard state stays as it is): -1 for a
    // dead key, else the number of units written.
    virtual int to_unicode(std::uint32_t key, std::uint32_t code, const KeyboardState& state,
                           std::span<char16_t, 4> out, LayoutHandle layout) = 0;

protected:
    ~KeystrokeHost() = default;
};

struct KeyText {
    std::array<char16_t, 4> units{};
    std::uint8_t count = 0;

    std::span<const char16_t> text() const { return {units.data(), count}; }
};

// What the key types under the layout with that state; `code` is the scan
// code with 0xE000 added for an extended key. With right Alt held the AltGr
// character is tried first, then the key's text without Ctrl and Alt. A dead
// key gives its own character.
KeyText translate_key_text(std::uint32_t code, const KeyboardState& state, LayoutHandle layout, KeystrokeHost& host);

constexpr bool is_us_layout(LayoutHandle layout) { return (layout & 0xFFFF) == 0x409; }

struct KeystrokeOutcome {
    bool recorded = false;  // a shown key changed: the keyboard is drawn again
    bool ends_move = false;  // Esc or Enter pressed while the display is being moved
};

// One key event into the display. `us_layout` is the flag kept beside the
// display, refreshed on every shown press.
KeystrokeOutcome record_keystroke(KeyDisplay& display, bool& us_layout, const RawKeyEvent& event, std::uint64_t now,
                                  bool move_armed, KeystrokeHost& host, Language language = current_language());

}  // namespace glimmerly
