#pragma once
// f64 -> integer conversions that never overflow: the value is clamped to
// the target's range and truncated, and NaN gives 0. Monitor edges and
// picture sizes computed in f64 go through these, never through a plain
// cast, which is undefined for values out of range.

#include <cmath>
#include <cstdint>

namespace glimmerly {

constexpr std::uint32_t saturating_u32(double v) {
    if (!(v > 0.0)) return 0;  // also NaN
    if (v >= 4294967295.0) return 0xFFFFFFFFu;
    return static_cast<std::uint32_t>(v);
}

constexpr std::int32_t saturating_i32(double v) {
    if (v != v) return 0;
    if (v <= -2147483648.0) return INT32_MIN;
    if (v >= 2147483647.0) return INT32_MAX;
    return static_cast<std::int32_t>(v);
}

}  // namespace glimmerly
