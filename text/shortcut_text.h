#pragma once
// The texts that name a global shortcut or tell why it could not be taken.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

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

// The localised modifier names (Ctrl, Shift, Alt, Win) and the key's name
// joined with " + ".
std::string shortcut_label(std::uint32_t modifiers, std::uint32_t key, Language language);

// The same names one by one, for key caps: the modifiers in the label's
// order, then the key; a key of 0 gives the modifiers alone.
std::vector<std::string> shortcut_key_caps(std::uint32_t modifiers, std::uint32_t key, Language language);

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
