#pragma once
// A busy frame of the pointer effects for the benchmarks: a long line trail
// of 96 points swept across a 1920 x 1080 monitor within its lifetime, all
// twelve click marks alive, and a soft disc halo at the head.

#include <cmath>

#include "core/pointer/pointer_paint.h"

namespace glimmerly::bench {

inline constexpr std::uint64_t kPointerNow = 100000;

inline PointerSettings busy_pointer_settings() {
    PointerSettings settings;
    settings.halo_shape = 1;
    settings.halo_softness = 50;
    settings.trail_style = 1;
    settings.trail_length = 2;  // 560 ms
    settings.click_animation = 3;
    return settings;
}

inline PointerState busy_pointer_state() {
    PointerState state;
    for (int i = 0; i < 96; ++i) {
        const double t = i / 95.0;
        state.trail.points[static_cast<std::size_t>(i)] = {100.0 + 1700.0 * t,
                                                           540.0 + 400.0 * std::sin(t * 9.0),
                                                           kPointerNow - 550 + static_cast<std::uint64_t>(550 * t)};
    }
    state.trail.count = 96;
    for (int i = 0; i < 12; ++i)
        add_click_mark(state, 150.0 * i + 60, 300.0, kPointerNow - 50 * static_cast<std::uint64_t>(i),
                       static_cast<std::uint8_t>(i % 3));
    const TrailPoint& head = state.trail.at(95);
    state.displayed = Point{head.x, head.y};
    state.cursor = state.displayed;
    return state;
}

}  // namespace glimmerly::bench
