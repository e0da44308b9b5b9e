#include "core/base/wheel_notches.h"

namespace glimmerly {

int take_wheel_notches(std::int32_t& remainder, std::int16_t delta) {
    if ((remainder > 0 && delta < 0) || (remainder < 0 && delta > 0)) remainder = 0;
    // The remainder is always below one notch, so the sum cannot overflow.
    const std::int32_t total = remainder + delta;
    const int notches = total / kWheelDeltaPerNotch;
    remainder = total - notches * kWheelDeltaPerNotch;
    return notches;
}

}  // namespace glimmerly
