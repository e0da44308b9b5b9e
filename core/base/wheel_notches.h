#pragma once
// Wheel deltas counted in whole notches. Precise wheels and touchpads send
// deltas below one notch per message; each window keeps the rest of the
// last messages so that those deltas still add up to steps.

#include <cstdint>

namespace glimmerly {

inline constexpr std::int32_t kWheelDeltaPerNotch = 120;

// Whole notches in the remainder plus the delta, keeping the rest (always
// below one notch) in the remainder; a change of direction drops the
// partial notch.
int take_wheel_notches(std::int32_t& remainder, std::int16_t delta);

}  // namespace glimmerly
