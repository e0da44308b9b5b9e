#pragma once
// The capture editor's stroke width and eraser size are remembered in the
// settings file, but a wheel turn changes them many times a second: the
// pair is written once, a short while after the last change.

#include <cstdint>
#include <optional>

namespace glimmerly {

struct ToolSizes {
    std::uint32_t stroke_width = 3;  // 1..40 image pixels
    std::uint32_t eraser_size = 14;  // 4..128 image pixels

    friend bool operator==(const ToolSizes&, const ToolSizes&) = default;
};

inline constexpr std::uint32_t kToolSizeSaveDelayMs = 250;

// The sizes a session shows, divided by its scale, rounded and held to
// their ranges; none when the scale is zero or any value is not finite,
// since the division would then mean nothing.
std::optional<ToolSizes> tool_sizes_to_remember(double stroke_width, double eraser_size, double scale);

struct ToolSizeSave {
    ToolSizes remembered;
    std::optional<ToolSizes> pending;
    std::optional<std::uint64_t> deadline_ms;
};

// True when the sizes differ from the remembered pair: they become the
// remembered and the pending pair, due `kToolSizeSaveDelayMs` after `now_ms`.
bool note_tool_sizes(ToolSizeSave& save, ToolSizes sizes, std::uint64_t now_ms);

// What the save timer does at `now_ms`: nothing without a deadline, wait
// for the time left (at least 1 ms), or save the pending pair.
struct SaveTimerStep {
    enum class Kind : std::uint8_t { Idle, Wait, Save } kind = Kind::Idle;
    std::uint32_t wait_ms = 0;
};
SaveTimerStep settings_save_timer_step(const ToolSizeSave& save, std::uint64_t now_ms);

// After a successful write: nothing is pending and no deadline is left, so
// a stray timer message writes nothing again.
void tool_sizes_saved(ToolSizeSave& save);

}  // namespace glimmerly
