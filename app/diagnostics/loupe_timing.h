#pragma once
// How fast the loupe follows a moving point, read back from the screen,
// against a plain layered window moved the same way; and what the process
// costs while the loupe stands still. Times in milliseconds on the
// monotonic clock.

#include <windows.h>

#include <optional>
#include <vector>

#include "app/image/screen_grab.h"
#include "app/presentation/loupe.h"
#include "core/base/pixel_rect.h"
#include "core/base/result.h"

namespace glimmerly {

// A move that has not reached the screen by then has failed.
inline constexpr double kMoveLimitMs = 500.0;
// The still loupe is watched this long, its messages taken every 20 ms.
inline constexpr DWORD kIdleMeasureMs = 4000;

struct LoupeLatency {
    std::vector<double> latencies;  // one per recorded move (move 0 warms up)
    std::vector<double> updates;    // one per view update, move 0 included
};

// One zoom-2 view at (x, y), its duration appended whether it worked or not.
Status measure_loupe_update(Loupe& loupe, std::vector<double>& updates, std::int32_t x, std::int32_t y);

Result<LoupeLatency> measure_loupe_latency(Loupe& loupe, const ScreenGrab& reference, const PixelRect& rect);
Result<std::vector<double>> measure_plain_window_latency(const PixelRect& rect);
// Between two given points, watching only what the loupe shows of the band.
Result<std::vector<double>> measure_taskbar_latency(PixelPoint first, PixelPoint second, Loupe& loupe,
                                                    std::vector<double>& updates, const PixelRect& monitor,
                                                    const PixelRect& band, const ScreenGrab& reference);
// Percent of one core the process used over the idle measure; none when
// the process times could not be read at both ends.
Result<std::optional<double>> measure_loupe_frame_cost(Loupe& loupe, std::int32_t x, std::int32_t y);

}  // namespace glimmerly
