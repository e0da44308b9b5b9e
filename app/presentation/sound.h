#pragma once
// The click sounds. They are not made yet: every press stays silent,
// whatever the settings choose.

#include <cstdint>

namespace glimmerly {

inline void play_click_sound(std::uint32_t /*sound*/, std::uint32_t /*volume*/) {}

}  // namespace glimmerly
