#include "core/settings/tool_size_save.h"

#include <algorithm>
#include <cmath>

namespace glimmerly {
namespace {

std::uint32_t rounded_within(double value, double lo, double hi) {
    return static_cast<std::uint32_t>(std::clamp(std::round(value), lo, hi));
}

}  // namespace

std::optional<ToolSizes> tool_sizes_to_remember(double stroke_width, double eraser_size, double scale) {
    if (!std::isfinite(scale) || scale == 0.0 || !std::isfinite(stroke_width) || !std::isfinite(eraser_size))
        return std::nullopt;
    return ToolSizes{rounded_within(stroke_width / scale, 1.0, 40.0),
                     rounded_within(eraser_size / scale, 4.0, 128.0)};
}

bool note_tool_sizes(ToolSizeSave& save, ToolSizes sizes, std::uint64_t now_ms) {
    if (sizes == save.remembered) return false;
    save.remembered = sizes;
    save.pending = sizes;
    save.deadline_ms = now_ms + kToolSizeSaveDelayMs;
    return true;
}

SaveTimerStep settings_save_timer_step(const ToolSizeSave& save, std::uint64_t now_ms) {
    if (!save.deadline_ms || !save.pending) return {};
    if (now_ms < *save.deadline_ms) {
        const std::uint64_t left = *save.deadline_ms - now_ms;
        return {SaveTimerStep::Kind::Wait, static_cast<std::uint32_t>(std::min<std::uint64_t>(left, kToolSizeSaveDelayMs))};
    }
    return {SaveTimerStep::Kind::Save, 0};
}

void tool_sizes_saved(ToolSizeSave& save) {
    save.pending.reset();
    save.deadline_ms.reset();
}

}  // namespace glimmerly
