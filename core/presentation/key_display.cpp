#include "core/presentation/key_display.h"

#include <algorithm>

#include "core/base/utf.h"

namespace glimmerly {
namespace {

enum class Which : std::uint8_t { Plain, Extended, Both };

struct DefaultName {
    std::uint8_t scan;
    Which which;
    std::string_view symbol;  // empty when the name is localised
    TextId localised;
};

constexpr TextId kNoText = TextId::keycap_esc;  // unused where a symbol is given

constexpr DefaultName kDefaultNames[] = {
    {0x01, Which::Plain, {}, TextId::keycap_esc},
    {0x0E, Which::Plain, "←", kNoText},
    {0x0F, Which::Plain, "⇥", kNoText},
    {0x1C, Which::Both, "↵", kNoText},
    {0x1D, Which::Both, {}, TextId::keycap_ctrl},
    {0x2A, Which::Plain, "⇧", kNoText},
    {0x36, Which::Plain, "⇧", kNoText},
    {0x35, Which::Extended, "/", kNoText},
    {0x37, Which::Plain, "*", kNoText},
    {0x37, Which::Extended, {}, TextId::keycap_print},
    {0x38, Which::Plain, {}, TextId::keycap_alt},
    {0x38, Which::Extended, {}, TextId::keycap_alt_gr},
    {0x39, Which::Plain, "␣", kNoText},
    {0x3A, Which::Plain, {}, TextId::keycap_caps},
    {0x3B, Which::Plain, "F1", kNoText},
    {0x3C, Which::Plain, "F2", kNoText},
    {0x3D, Which::Plain, "F3", kNoText},
    {0x3E, Which::Plain, "F4", kNoText},
    {0x3F, Which::Plain, "F5", kNoText},
    {0x40, Which::Plain, "F6", kNoText},
    {0x41, Which::Plain, "F7", kNoText},
    {0x42, Which::Plain, "F8", kNoText},
    {0x43, Which::Plain, "F9", kNoText},
    {0x44, Which::Plain, "F10", kNoText},
    {0x57, Which::Plain, "F11", kNoText},
    {0x58, Which::Plain, "F12", kNoText},
    {0x45, Which::Plain, {}, TextId::keycap_num},
    {0x45, Which::Extended, "Ⅱ", kNoText},
    {0x46, Which::Plain, {}, TextId::keycap_scroll},
    {0x47, Which::Plain, "7", kNoText},
    {0x48, Which::Plain, "8", kNoText},
    {0x49, Which::Plain, "9", kNoText},
    {0x4B, Which::Plain, "4", kNoText},
    {0x4C, Which::Plain, "5", kNoText},
    {0x4D, Which::Plain, "6", kNoText},
    {0x4F, Which::Plain, "1", kNoText},
    {0x50, Which::Plain, "2", kNoText},
    {0x51, Which::Plain, "3", kNoText},
    {0x52, Which::Plain, "0", kNoText},
    {0x53, Which::Plain, ".", kNoText},
    {0x4A, Which::Plain, "−", kNoText},
    {0x4E, Which::Plain, "+", kNoText},
    {0x47, Which::Extended, "↖", kNoText},
    {0x48, Which::Extended, "↑", kNoText},
    {0x49, Which::Extended, "⇞", kNoText},
    {0x4B, Which::Extended, "←", kNoText},
    {0x4D, Which::Extended, "→", kNoText},
    {0x4F, Which::Extended, {}, TextId::keycap_end},
    {0x50, Which::Extended, "↓", kNoText},
    {0x51, Which::Extended, "⇟", kNoText},
    {0x52, Which::Extended, {}, TextId::keycap_insert},
    {0x53, Which::Extended, {}, TextId::keycap_delete},
    {0x5B, Which::Extended, "⊞", kNoText},
    {0x5C, Which::Extended, "⊞", kNoText},
    {0x5D, Which::Extended, "☰", kNoText},
};

bool matches(Which which, bool extended) {
    return which == Which::Both || (which == Which::Extended) == extended;
}

// Controls, the C1 block and every Unicode space (White_Space) would leave a
// key cap that looks empty or draws garbage.
bool unprintable(char32_t c) {
    if (c < 0x21 || (c >= 0x7F && c <= 0x9F)) return true;
    switch (c) {
        case 0x85:
        case 0xA0:
        case 0x1680:
        case 0x2028:
        case 0x2029:
        case 0x202F:
        case 0x205F:
        case 0x3000: return true;
        default: return c >= 0x2000 && c <= 0x200A;
    }
}

// Whole code points of the text; false at an unpaired surrogate or an
// unprintable one.
bool printable(std::span<const char16_t> text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char16_t unit = text[i];
        char32_t c = unit;
        if (unit >= 0xD800 && unit <= 0xDBFF) {
            if (i + 1 == text.size() || text[i + 1] < 0xDC00 || text[i + 1] > 0xDFFF) return false;
            c = 0x10000 + ((char32_t(unit) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00);
            ++i;
        } else if (unit >= 0xDC00 && unit <= 0xDFFF) {
            return false;
        }
        if (unprintable(c)) return false;
    }
    return true;
}

}  // namespace

std::string_view default_key_name(std::uint16_t scan, bool extended, Language language) {
    for (const DefaultName& name : kDefaultNames) {
        if (name.scan != scan || !matches(name.which, extended)) continue;
        return name.symbol.empty() ? text_of(language, name.localised) : name.symbol;
    }
    return {};
}

void record_key_event(KeyDisplay& display, std::uint16_t scan, bool extended, bool pressed, std::uint64_t now,
                      Language language) {
    if (scan >= kKeyScanLimit) return;
    KeySlot& slot = display.slots[key_slot_index(scan, extended)];
    if (!pressed) {
        if (slot.pressed) slot.fade_deadline = now > UINT64_MAX - kKeyFadeMs ? UINT64_MAX : now + kKeyFadeMs;
        slot.pressed = false;
        return;
    }
    if (slot.pressed) return;  // auto-repeat
    slot.label = {};
    slot.label_length = 0;
    // A localised name longer than a key cap holds is cut at a whole character.
    const std::u16string name = utf8_to_utf16_lossy(default_key_name(scan, extended, language));
    const std::u16string_view fitted = utf16_prefix(name, kKeyLabelUnits);
    std::copy(fitted.begin(), fitted.end(), slot.label.begin());
    slot.label_length = static_cast<std::uint8_t>(fitted.size());
    slot.pressed = true;
}

void set_key_display_label(KeyDisplay& display, std::uint16_t scan, bool extended, std::span<const char16_t> text) {
    if (scan >= kKeyScanLimit) return;
    KeySlot& slot = display.slots[key_slot_index(scan, extended)];
    if (!slot.pressed) return;
    slot.label = {};
    slot.label_length = 0;
    if (text.empty() || text.size() > kKeyLabelUnits || !printable(text)) return;
    std::copy(text.begin(), text.end(), slot.label.begin());
    slot.label_length = static_cast<std::uint8_t>(text.size());
}

double key_fade(const KeySlot& slot, std::uint64_t now) {
    if (slot.pressed) return 1.0;
    const std::uint64_t left = slot.fade_deadline > now ? slot.fade_deadline - now : 0;
    return static_cast<double>(std::min(left, kKeyFadeMs)) / static_cast<double>(kKeyFadeMs);
}

bool any_key_fading(const KeyDisplay& display, std::uint64_t now) {
    return std::any_of(display.slots.begin(), display.slots.end(),
                       [now](const KeySlot& slot) { return !slot.pressed && slot.fade_deadline > now; });
}

}  // namespace glimmerly
