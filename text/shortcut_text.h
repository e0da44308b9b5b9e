#pragma once
// The texts that name a global shortcut or tell why it could not be taken.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "core/base/shortcut.h"
#include "text/text_table.h"

namespace glimmerly {

inline constexpr std::uint32_t VK_PRINT_SCREEN = 0x2C;
// ERROR_HOTKEY_ALREADY_REGISTERED as an HRESULT: the combination is in use.
inline constexpr std::int32_t HOTKEY_IN_USE_CODE = static_cast<std::int32_t>(0x80070581u);

// A failure code that carries a Win32 error (facility 7); the others come
// from calls that failed without setting one.
constexpr bool has_win32_code(std::int32_t code) {
    return (static_cast<std::uint32_t>(code) & 0xFFFF0000u) == 0x80070000u;
}

constexpr bool is_bare_print_screen(std::uint32_t modifiers, std::uint32_t key) {
    return modifiers == 0 && key == VK_PRINT_SCREEN;
}

// A shortcut drawn as separate key caps: one name a cap, modifiers first.
// No caps means no shortcut. `unavailable` is the caller's flag (the packed
// form's bit 31), which painters show as a shortcut that is not in force.
struct KeyCaps {
    std::vector<std::string> caps;
    std::uint8_t unavailable = 0;

    friend bool operator==(const KeyCaps&, const KeyCaps&) = default;
};

// The keyboard layout's own name for a key, or none when it has none. The
// Windows program installs its reader once at start-up; a process without
// one (the native build) names letters and digits by themselves, as every
// Latin layout does, and has no name for the rest.
using LayoutKeyName = std::optional<std::string> (*)(std::uint32_t key);
void set_layout_key_name_source(LayoutKeyName source);

// The key's own localised name (Print Screen, Numpad 7, F13, ...); none for
// letters, digits, punctuation and unknown codes.
std::optional<std::string> special_key_name(std::uint32_t key, Language language);
// "Key {code}".
std::string key_code_name(std::uint32_t key, Language language);
// The held modifiers' names in the order Ctrl, Shift, Alt, Win; bits above
// the four are ignored.
std::vector<std::string> modifier_names(std::uint32_t modifiers, Language language);
// The modifiers' names, then exactly one name for the key: its own name,
// else the layout's, else "Key {code}". Never empty.
std::vector<std::string> key_display_name(std::uint32_t modifiers, std::uint32_t key, Language language);

// key_display_name joined with " + ".
std::string shortcut_label(std::uint32_t modifiers, std::uint32_t key, Language language);

// A packed shortcut word (modifiers in bits 0-15, key in 16-23, bit 31 not
// in force) as caps; the word 0 is no shortcut.
KeyCaps shortcut_key_caps(std::uint32_t packed, Language language);
// A shortcut that may be absent; present with key 0 counts as absent.
KeyCaps optional_shortcut_key_caps(std::optional<Shortcut> shortcut, std::uint8_t flag, Language language);

// "Print Screen is still in use…" when bare Print Screen could not be
// taken because it is held or the system gave no reason; none otherwise.
std::optional<std::string> print_screen_held_text(std::uint32_t modifiers, std::uint32_t key, std::int32_t code,
                                                  Language language);

// "Glimmerly is running: {shortcut} takes a screenshot…".
std::string ready_notice_text(std::uint32_t modifiers, std::uint32_t key, Language language);

// The names of the texts joined pairwise with "{before}, {after}".
std::string shortcut_names_text(std::span<const TextId> names, Language language);

// The two failure texts of a registration, with the code as a signed decimal
// number (0 for a failure without a Win32 code).
std::string shortcut_register_failed_text(std::int32_t code, Language language);
std::string shortcut_failure_text(std::int32_t code, Language language);

}  // namespace glimmerly
