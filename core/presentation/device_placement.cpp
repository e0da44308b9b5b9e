#include "core/presentation/device_placement.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

std::int32_t truncated(double value) {
    if (!(value > 0)) return 0;
    return value >= 2147483647.0 ? 2147483647 : static_cast<std::int32_t>(value);
}

std::int32_t free_room(std::int32_t span, std::int32_t size) {
    return static_cast<std::int32_t>(std::max<std::int64_t>(std::int64_t{span} - size, 0));
}

std::int32_t share(std::int32_t room, std::uint16_t fraction) {
    return static_cast<std::int32_t>(std::int64_t{room} * std::min(fraction, kPlacementOne) / kPlacementOne);
}

std::uint16_t fraction_of(std::int32_t offset, std::int32_t room) {
    if (room <= 0) return 0;
    return static_cast<std::uint16_t>(std::int64_t{offset} * kPlacementOne / room);
}

}  // namespace

double device_base_width(bool keyboard, bool mouse) {
    if (keyboard && mouse) return 520.0;
    if (keyboard) return 432.0;
    if (mouse) return 77.0;
    return 1.0;
}

PixelPoint device_layer_size(std::uint32_t size_percent, double scale, bool keyboard, bool mouse) {
    const double factor = size_percent * scale / 100.0;
    return {truncated(device_base_width(keyboard, mouse) * factor), truncated(kDeviceDesignHeight * factor)};
}

PixelPoint place_device_layer(const PixelRect& work, PixelPoint size, double scale, std::uint8_t preset,
                              const std::optional<InputDisplayOffset>& placement) {
    const std::int32_t margin = truncated(16 * scale);
    const std::int32_t free_w = free_room(work.width(), size.x);
    const std::int32_t free_h = free_room(work.height(), size.y);
    std::int32_t x = 0, y = 0;
    if (placement) {
        x = share(free_w, placement->x);
        y = share(free_h, placement->y);
    } else {
        switch (preset < 3 ? preset : preset - 3) {
            case 0: x = std::min(free_w, margin); break;
            case 1: x = free_w / 2; break;
            default: x = std::max(free_w - margin, 0); break;
        }
        y = preset < 3 ? std::min(free_h, margin) : std::max(free_h - margin, 0);
    }
    return {work.left + x, work.top + y};
}

DragPlacement drag_device_layer_to(const PixelRect& work, PixelPoint size, PixelPoint window_at_press,
                                   PixelPoint cursor_at_press, PixelPoint cursor_now) {
    const std::int32_t free_w = free_room(work.width(), size.x);
    const std::int32_t free_h = free_room(work.height(), size.y);
    const auto wanted = [](std::int32_t window, std::int32_t now, std::int32_t press, std::int32_t origin,
                           std::int32_t room) {
        const std::int64_t at = std::int64_t{window} + now - press - origin;
        return static_cast<std::int32_t>(std::clamp<std::int64_t>(at, 0, room));
    };
    const std::int32_t x = wanted(window_at_press.x, cursor_now.x, cursor_at_press.x, work.left, free_w);
    const std::int32_t y = wanted(window_at_press.y, cursor_now.y, cursor_at_press.y, work.top, free_h);
    return {{work.left + x, work.top + y}, {fraction_of(x, free_w), fraction_of(y, free_h)}};
}

WheelNotches take_wheel_notches(std::int32_t remainder, std::int32_t delta) {
    if ((remainder > 0 && delta < 0) || (remainder < 0 && delta > 0)) remainder = 0;
    const std::int64_t total = std::int64_t{remainder} + delta;
    const std::int64_t notches = total / 120;  // towards zero
    return {static_cast<std::int32_t>(notches), static_cast<std::int32_t>(total - notches * 120)};
}

}  // namespace glimmerly
