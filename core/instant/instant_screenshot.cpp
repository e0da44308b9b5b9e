#include "core/instant/instant_screenshot.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace glimmerly {

std::optional<std::uint8_t> capture_pulse_alpha(std::uint32_t tick) {
    if (tick >= CAPTURE_PULSE_LAST_TICK) return std::nullopt;
    const double s = std::sin(static_cast<double>(tick) * std::numbers::pi / 16.0);
    return static_cast<std::uint8_t>(std::clamp<long>(std::lround(s * s * 89.0), 0, 255));
}

std::int32_t capture_pulse_thickness(std::uint32_t dpi) {
    return std::max<std::int32_t>(1, static_cast<std::int32_t>(2 * std::max<std::uint32_t>(dpi, 96) / 96));
}

}  // namespace glimmerly
