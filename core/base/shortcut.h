#pragma once
#include <cstdint>

namespace glimmerly {

// The modifier flags of a global shortcut, with RegisterHotKey's values: the
// settings file stores the set as their sum.
inline constexpr std::uint32_t kShortcutAlt = 1;
inline constexpr std::uint32_t kShortcutCtrl = 2;
inline constexpr std::uint32_t kShortcutShift = 4;
inline constexpr std::uint32_t kShortcutWin = 8;
inline constexpr std::uint32_t kShortcutAllModifiers = 15;

// A modifier set and a Windows virtual-key code.
struct Shortcut {
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;

    constexpr bool alt() const { return (modifiers & kShortcutAlt) != 0; }
    constexpr bool ctrl() const { return (modifiers & kShortcutCtrl) != 0; }
    constexpr bool shift() const { return (modifiers & kShortcutShift) != 0; }
    constexpr bool win() const { return (modifiers & kShortcutWin) != 0; }
    // No flag but the four above.
    constexpr bool known_modifiers() const { return modifiers <= kShortcutAllModifiers; }
    // Known modifiers and a key code of 1 to 254, as a hotkey takes them.
    constexpr bool usable() const { return known_modifiers() && key >= 1 && key <= 254; }

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

}  // namespace glimmerly
