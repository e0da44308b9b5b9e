#pragma once
#include <cstdint>

namespace glimmerly {

// The modifier flags of a global shortcut, with RegisterHotKey's values.
inline constexpr std::uint32_t SHORTCUT_ALT = 1;
inline constexpr std::uint32_t SHORTCUT_CTRL = 2;
inline constexpr std::uint32_t SHORTCUT_SHIFT = 4;
inline constexpr std::uint32_t SHORTCUT_WIN = 8;
inline constexpr std::uint32_t SHORTCUT_ALL_MODIFIERS = 15;

// A modifier set and a Windows virtual-key code.
struct Shortcut {
    std::uint32_t modifiers = 0;
    std::uint32_t key = 0;

    friend bool operator==(const Shortcut&, const Shortcut&) = default;
};

}  // namespace glimmerly
