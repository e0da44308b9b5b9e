#pragma once
// The Windows virtual-key codes the editor's shortcuts use, under names that
// do not collide with the platform's VK_ macros.

#include <cstdint>

namespace glimmerly {

using VirtualKey = std::uint32_t;

inline constexpr VirtualKey kVkTab = 0x09;
inline constexpr VirtualKey kVkReturn = 0x0D;
inline constexpr VirtualKey kVkShift = 0x10;
inline constexpr VirtualKey kVkControl = 0x11;
inline constexpr VirtualKey kVkMenu = 0x12;  // Alt
inline constexpr VirtualKey kVkEscape = 0x1B;
inline constexpr VirtualKey kVkSpace = 0x20;
inline constexpr VirtualKey kVkPageUp = 0x21;
inline constexpr VirtualKey kVkPageDown = 0x22;
inline constexpr VirtualKey kVkLeft = 0x25;
inline constexpr VirtualKey kVkUp = 0x26;
inline constexpr VirtualKey kVkRight = 0x27;
inline constexpr VirtualKey kVkDown = 0x28;
inline constexpr VirtualKey kVkDelete = 0x2E;
inline constexpr VirtualKey kVkLeftWin = 0x5B;
inline constexpr VirtualKey kVkRightWin = 0x5C;
inline constexpr VirtualKey kVkNumpad0 = 0x60;
inline constexpr VirtualKey kVkF1 = 0x70;
inline constexpr VirtualKey kVkF2 = 0x71;
inline constexpr VirtualKey kVkF24 = 0x87;

// Letters and digits are their own upper-case ASCII codes.
constexpr VirtualKey vk_char(char c) { return static_cast<VirtualKey>(static_cast<unsigned char>(c)); }

}  // namespace glimmerly
