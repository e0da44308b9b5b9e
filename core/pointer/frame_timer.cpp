#include "core/pointer/frame_timer.h"

#include <algorithm>

namespace glimmerly {
namespace {

bool trail_alive(const PointerState& pointer, const PointerSettings& settings, std::uint64_t now) {
    if (settings.trail_style == 0) return false;
    const std::uint64_t lifetime = trail_lifetime_ms(settings.trail_length);
    for (std::size_t i = 0; i < pointer.trail.count; ++i)
        if (age_ms(now, pointer.trail.at(i).time) < lifetime) return true;
    return false;
}

bool click_mark_alive(const PointerState& pointer, std::uint64_t now) {
    return std::any_of(pointer.marks.begin(), pointer.marks.end(), [&](const ClickMark& mark) {
        return mark.button != kNoButton && age_ms(now, mark.time) < kClickMarkLifetimeMs;
    });
}

bool halo_easing(const PointerState& pointer) {
    if (pointer.displayed.has_value() != pointer.cursor.has_value()) return true;
    return pointer.displayed && !(*pointer.displayed == *pointer.cursor);
}

bool something_moves(const FrameNeeds& needs, const PointerState& pointer, const PointerSettings& settings,
                     std::uint64_t now) {
    const PresentationFeatures& on = needs.features;
    if (!cursor_feature(on)) return false;
    if (needs.spotlight_refresh || needs.spotlight_key_held || needs.magnifier_held) return true;
    if (on.pointer_effects && trail_alive(pointer, settings, now)) return true;
    if (click_mark_alive(pointer, now)) return true;
    if (!on.magnifier && settings.halo_movement != 0 && halo_easing(pointer)) return true;
    return on.pointer_effects && settings.spotlight_shape != 0 && settings.spotlight_hide_moving &&
           pointer.last_move && age_ms(now, *pointer.last_move) < kPointerMovingMs;
}

bool something_fades(const FrameNeeds& needs, std::uint64_t now) {
    if (needs.shapes_exist || needs.key_cap_fading || needs.mouse_diagram_fading) return true;
    return cursor_feature(needs.features) && needs.last_press && age_ms(now, *needs.last_press) < kPressFeedbackMs;
}

}  // namespace

std::uint32_t choose_frame_interval(const FrameNeeds& needs, const PointerState& pointer,
                                    const PointerSettings& settings, std::uint64_t now) {
    if (something_moves(needs, pointer, settings, now)) return kMovingFrameMs;
    if (something_fades(needs, now)) return kFadingFrameMs;
    return 0;
}

std::uint32_t paced_frame_interval(std::uint32_t interval_ms, std::uint32_t last_frame_ms) {
    if (interval_ms == 0) return 0;
    // In steps of 8 ms, so that a cost that wavers a little does not set
    // the timer again on every frame.
    const std::uint64_t paced = (2 * std::uint64_t{last_frame_ms} + 7) / 8 * 8;
    return static_cast<std::uint32_t>(std::clamp<std::uint64_t>(paced, interval_ms, std::max(interval_ms, kSlowestFrameMs)));
}

Status schedule_frame_timer(FrameTimer& timer, std::uint32_t interval_ms, FrameTimerHost& host) {
    if (interval_ms == 0) {
        if (timer.set) host.kill_frame_timer();
        timer = {};
        return ok_status();
    }
    if (timer.set && timer.interval_ms == interval_ms) return ok_status();
    GLIM_TRY(host.set_frame_timer(interval_ms));
    timer = {true, interval_ms};
    return ok_status();
}

}  // namespace glimmerly
