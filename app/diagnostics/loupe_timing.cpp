#include "app/diagnostics/loupe_timing.h"

#include <chrono>
#include <functional>

#include "app/app/messages.h"
#include "app/presentation/loupe_probe.h"
#include "app/win/failure.h"
#include "core/diagnostics/loupe_analysis.h"

namespace glimmerly {
namespace {

using Clock = std::chrono::steady_clock;

double ms_since(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

bool shows(HDC screen, const ColourSample& sample) {
    return GetPixel(screen, sample.x, sample.y) == RGB(sample.colour.r, sample.colour.g, sample.colour.b);
}

// Reads the samples again and again, at once and without sleeping, until
// all of them show their colour: the time since `start` then, or a failure
// once the move's limit has passed.
Result<double> wait_until_shown(HDC screen, const std::vector<ColourSample>& samples, Clock::time_point start,
                                PixelPoint point) {
    for (;;) {
        bool all = true;
        for (const ColourSample& sample : samples)
            if (!shows(screen, sample)) {
                all = false;
                break;
            }
        const double elapsed = ms_since(start);
        if (all) return elapsed;
        if (elapsed > kMoveLimitMs) return plain_failure(never_reached_text(point));
    }
}

Result<LoupeLatency> loupe_series(Loupe& loupe, PixelPoint even, PixelPoint odd,
                                  const std::function<std::vector<ColourSample>(PixelPoint)>& samples_at,
                                  std::vector<double>& updates) {
    const win::WindowDc screen = win::WindowDc::of(nullptr);
    if (!screen) return win::self_check_failure("GetDC");
    LoupeLatency series;
    for (int move = 0; move < kLatencyMoves; ++move) {
        const PixelPoint point = move % 2 == 0 ? even : odd;
        const std::vector<ColourSample> samples = samples_at(point);
        const Clock::time_point start = Clock::now();
        GLIM_TRY(measure_loupe_update(loupe, updates, point.x, point.y));
        auto latency = wait_until_shown(screen.get(), samples, start, point);
        if (!latency) return std::move(latency).failure();
        if (move > 0) series.latencies.push_back(*latency);
        flush_dwm_twice();
    }
    return series;
}

std::optional<std::uint64_t> process_ticks() {
    FILETIME created{}, ended{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &ended, &kernel, &user)) return std::nullopt;
    const auto ticks = [](const FILETIME& t) { return (std::uint64_t{t.dwHighDateTime} << 32) | t.dwLowDateTime; };
    return ticks(kernel) + ticks(user);
}

}  // namespace

Status measure_loupe_update(Loupe& loupe, std::vector<double>& updates, std::int32_t x, std::int32_t y) {
    const Clock::time_point start = Clock::now();
    Status updated = update_loupe_view(loupe, x, y, kLoupeDiameter, 2, std::nullopt, {});
    updates.push_back(ms_since(start));
    return updated;
}

Result<LoupeLatency> measure_loupe_latency(Loupe& loupe, const ScreenGrab& reference, const PixelRect& rect) {
    std::vector<double> updates;
    auto series = loupe_series(
        loupe, latency_move_point(rect, 0), latency_move_point(rect, 1),
        [&](PixelPoint p) { return loupe_samples(grab_view(reference), p.x, p.y); }, updates);
    if (!series) return series;
    series->updates = std::move(updates);
    return series;
}

Result<std::vector<double>> measure_taskbar_latency(PixelPoint first, PixelPoint second, Loupe& loupe,
                                                    std::vector<double>& updates, const PixelRect& monitor,
                                                    const PixelRect& band, const ScreenGrab& reference) {
    auto series = loupe_series(
        loupe, first, second,
        [&](PixelPoint p) { return taskbar_loupe_samples(grab_view(reference), p.x, p.y, monitor, band); },
        updates);
    if (!series) return std::move(series).failure();
    return std::move(series->latencies);
}

Result<std::vector<double>> measure_plain_window_latency(const PixelRect& rect) {
    constexpr std::int32_t kSide = kLoupeDiameter;
    auto window = create_probe_window({rect.left, rect.top, rect.left + kSide, rect.top + kSide}, kTopmostProbeStyle,
                                      [](std::int32_t, std::int32_t) { return kPlainLatencyWindow; });
    if (!window) return std::move(window).failure();
    // Both go on every path, the screen DC before the window.
    const win::WindowDc screen = win::WindowDc::of(nullptr);
    if (!screen) return win::self_check_failure("GetDC");
    std::vector<double> latencies;
    for (int move = 0; move < kLatencyMoves; ++move) {
        const PixelPoint point = latency_move_point(rect, move);
        std::vector<ColourSample> samples;
        for (const PixelPoint& offset : SAMPLE_OFFSETS)
            samples.push_back({point.x + offset.x, point.y + offset.y, kPlainLatencyWindow});
        const Clock::time_point start = Clock::now();
        if (!SetWindowPos(window->window.get(), HWND_TOPMOST, point.x - kSide / 2, point.y - kSide / 2, 0, 0,
                          SWP_NOSIZE | SWP_NOACTIVATE))
            return win::self_check_failure("SetWindowPos", LOUPE_PROBE_TITLE);
        auto latency = wait_until_shown(screen.get(), samples, start, point);
        if (!latency) return std::move(latency).failure();
        if (move > 0) latencies.push_back(*latency);
        flush_dwm_twice();
    }
    return latencies;
}

Result<std::optional<double>> measure_loupe_frame_cost(Loupe& loupe, std::int32_t x, std::int32_t y) {
    GLIM_TRY(update_loupe_view(loupe, x, y, kLoupeDiameter, 2, std::nullopt, {}));
    flush_dwm_twice();
    const Clock::time_point start = Clock::now();
    const std::optional<std::uint64_t> before = process_ticks();
    while (ms_since(start) < kIdleMeasureMs) {
        MSG message{};
        while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) {
            if (message.message == WM_APP_LOUPE_WINDOW_EVENT) {
                clear_loupe_window_event();
                loupe.candidates.reset();
            } else if (message.message == WM_APP_LOUPE_FRAME_ARRIVED) {
                drain_loupe_frames(loupe);
            }
            DispatchMessageW(&message);
        }
        Sleep(20);
    }
    const std::optional<std::uint64_t> after = process_ticks();
    const double elapsed = ms_since(start);
    // A failed reading is no figure: taken as 0, the difference would wrap.
    if (!before || !after || *after < *before) return std::optional<double>();
    const double busy_ms = double(*after - *before) / 10000.0;
    return std::optional<double>(busy_ms * 100.0 / elapsed);
}

}  // namespace glimmerly
