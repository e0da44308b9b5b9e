#pragma once
// The keys display's record: one slot per physical key (its scan code, and
// whether it came with the E0 prefix), holding the name shown on the key,
// whether it is down and when its fade after the release ends. What is
// recorded here is what the keyboard picture draws; drawing is elsewhere.

#include <array>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

#include "text/text_table.h"

namespace glimmerly {

inline constexpr std::size_t kKeySlotCount = 256;
inline constexpr std::uint16_t kKeyScanLimit = 128;
// A released key fades out over this long.
inline constexpr std::uint64_t kKeyFadeMs = 600;
inline constexpr std::size_t kKeyLabelUnits = 4;

struct KeySlot {
    std::array<char16_t, kKeyLabelUnits> label{};
    std::uint8_t label_length = 0;
    // When the released key has faded out, on the presentation clock.
    std::uint64_t fade_deadline = 0;
    bool pressed = false;

    std::u16string_view text() const { return {label.data(), label_length}; }
};

struct KeyDisplay {
    std::array<KeySlot, kKeySlotCount> slots{};
};

// Slot of a scan code below 128: the extended ones in the upper half.
constexpr std::size_t key_slot_index(std::uint16_t scan, bool extended) {
    return (extended ? 0x80u : 0u) | (scan & 0x7Fu);
}

// The name a key shows until its layout gives it a character: arrows and
// symbols for the keys that type nothing printable, the localised short
// names for the others; empty for keys the table does not name (letters,
// digits and punctuation, which the layout names).
std::string_view default_key_name(std::uint16_t scan, bool extended, Language language);

// One key event. A press of a key that is up clears its label and puts its
// default name on it; an auto-repeat press changes nothing; a release starts
// the fade. Scan codes of 128 and above are ignored.
void record_key_event(KeyDisplay& display, std::uint16_t scan, bool extended, bool pressed, std::uint64_t now,
                      Language language = current_language());

// Puts a text of at most four units on a key that is down. A text that is
// empty, too long, holds a control, a space of any kind or an unpaired
// surrogate leaves the key with no label at all.
void set_key_display_label(KeyDisplay& display, std::uint16_t scan, bool extended, std::span<const char16_t> text);

// 1 while down, then falling in a straight line to 0 over the fade.
double key_fade(const KeySlot& slot, std::uint64_t now);
// Whether any released key is still fading (the frame timer keeps running).
bool any_key_fading(const KeyDisplay& display, std::uint64_t now);

}  // namespace glimmerly
