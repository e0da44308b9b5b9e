#pragma once
// Decisions of the instant screenshot that need no window: when a request
// is refused, and the capture pulse, the light-blue frame that flashes once
// round the captured monitor.

#include <cstdint>
#include <optional>

namespace glimmerly {

// What else the process is doing when the instant-screenshot shortcut comes.
struct InstantScreenshotBusy {
    bool setup_open = false;
    bool capture_session_open = false;   // an editor state in this process
    bool editor_capturing = false;       // a linked editor child shows a capture
    bool editor_capture_requested = false;  // or has one asked of it
};

// A screenshot now would catch the capture overlay or the setup, or race
// with the editor for the screen: the press is ignored, feedback included.
constexpr bool instant_screenshot_refused(const InstantScreenshotBusy& busy) {
    return busy.setup_open || busy.capture_session_open || busy.editor_capturing || busy.editor_capture_requested;
}

// The pulse's timer ticks every 25 ms; the window hides at tick 16 (400 ms).
inline constexpr std::uint32_t CAPTURE_PULSE_TICK_MS = 25;
inline constexpr std::uint32_t CAPTURE_PULSE_LAST_TICK = 16;
// As a COLORREF: red 96, green 205, blue 255.
inline constexpr std::uint32_t CAPTURE_PULSE_COLORREF = 0x00FFCD60;

// The window's opacity after `tick` ticks: a sine-squared rise and fall to at
// most 89 over ticks 1 to 15, so the frame is seen without hiding what is
// under it; none from tick 16 on (hidden).
std::optional<std::uint8_t> capture_pulse_alpha(std::uint32_t tick);

// The frame's width in pixels: 2 at 96 dpi, scaled, never below 1.
std::int32_t capture_pulse_thickness(std::uint32_t dpi);

}  // namespace glimmerly
