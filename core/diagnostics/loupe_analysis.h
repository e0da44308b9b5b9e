#pragma once
// The instruments of the loupe self-check that need no screen: the
// coordinate pattern its probe window shows, the judgement of a grab taken
// with the loupe against one taken without it (the magnified interior, the
// corners left alone, the soft rim), the enlarged picture of the rim, the
// colours the latency polls watch, the percentiles of the timings, the
// choice of the monitor to probe, and the evaluation and report of a run.
// Grabs are of the whole virtual screen, with its top-left corner given.

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "core/base/pixel_rect.h"
#include "core/base/rgb.h"
#include "core/image/bgra_image.h"

namespace glimmerly {

struct GrabView {
    const BgraImage& image;
    std::int32_t x = 0;
    std::int32_t y = 0;
};

// Every position of a 4096 x 4096 block has its own colour; neighbours
// differ by 128 in blue and green, so a pixel shifted by one never passes
// for its neighbour.
Rgb pattern_colour(std::int32_t x, std::int32_t y);

// The pixel at screen position (x, y), none off the grab.
std::optional<Rgb> grab_pixel(const GrabView& grab, std::int32_t x, std::int32_t y);

// The loupe's window background where it draws in round bands.
inline constexpr Rgb kLoupeBackground{0x20, 0x20, 0x20};
inline constexpr std::int32_t kLoupeDiameter = 240;

struct ViewCheck {
    std::int32_t x = 0;
    std::int32_t y = 0;
    std::uint64_t exact = 0;
    std::uint64_t compared = 0;
    std::uint64_t stray = 0;
    std::uint64_t corners = 0;
    std::uint32_t zoom = 0;
    std::uint8_t worst = 0;

    friend bool operator==(const ViewCheck&, const ViewCheck&) = default;
};

// The loupe of diameter 240 at (x, y) in `shown` against `reference`: the
// interior must show the source square magnified, the square's corners
// outside the circle must be unchanged; the rim between is not judged.
ViewCheck compare_loupe_view(const GrabView& reference, const GrabView& shown, std::int32_t x, std::int32_t y,
                             std::uint32_t zoom, bool banded);

struct Feather {
    std::uint64_t samples = 0;
    std::uint64_t unblended = 0;
    double inside = 0;
    double outside = 0;
    std::uint64_t rises = 0;
    double steepest = 0;
    // Per radius 115 to 121: mean blend weight (two decimals), worst deviation.
    std::array<std::pair<double, double>, 7> profile{};
};

// The rim of a zoom-2 loupe at (x, y), radius 115 to 121: how each rim pixel
// blends from the magnified source (1) to the desktop beneath (0).
Feather measure_feather(const GrabView& reference, const GrabView& shown, std::int32_t x, std::int32_t y);
// "Feather { samples: 1, ..., profile: [(0.97, 3.0), ...] }".
std::string feather_text(const Feather& feather);

// The 40 x 40 screen pixels from (x0, y0) enlarged 8 times; black off the grab.
BgraImage render_edge_zoom(const GrabView& grab, std::int32_t x0, std::int32_t y0);

struct ColourSample {
    std::int32_t x = 0;
    std::int32_t y = 0;
    Rgb colour;

    friend bool operator==(const ColourSample&, const ColourSample&) = default;
};
inline constexpr std::array<PixelPoint, 3> SAMPLE_OFFSETS = {{{-31, -17}, {23, 29}, {41, -37}}};

// Where a zoom-2 loupe at (x, y) shows a known colour of the reference.
std::vector<ColourSample> loupe_samples(const GrabView& reference, std::int32_t x, std::int32_t y);
// The same, on the monitor only, for sources within the taskbar band.
std::vector<ColourSample> taskbar_loupe_samples(const GrabView& reference, std::int32_t x, std::int32_t y,
                                                const PixelRect& monitor, const PixelRect& band);

// The loupe over the taskbar band at (f, g), zoom 2: each pixel inside its
// circle (radius 114 composed, 116 banded) and on the monitor whose source
// lies in the band, against the reference grab's source pixel.
struct TaskbarComparison {
    std::uint64_t exact = 0;
    std::uint64_t compared = 0;
    std::uint8_t worst = 0;
};
TaskbarComparison compare_taskbar_view(const GrabView& reference, const GrabView& shown, std::int32_t f,
                                       std::int32_t g, const PixelRect& monitor, const PixelRect& band,
                                       bool composed);

// Pixels of exactly `colour` in the square of side `side` from (left, top);
// those off the grab are skipped.
std::uint64_t count_colour(const GrabView& grab, std::int32_t left, std::int32_t top, std::int32_t side, Rgb colour);

// A latency series goes back and forth between two points a third of the
// way in from each side, at mid-height: the even moves to the left one.
inline constexpr int kLatencyMoves = 26;
PixelPoint latency_move_point(const PixelRect& rect, int move);

// "never reached (x, y)": a move that did not reach the screen in time.
std::string never_reached_text(PixelPoint point);
// The pattern probe does not show at `point`: something lies over it.
std::string pattern_covered_text(PixelPoint point);

struct Percentiles {
    double p50 = 0;
    double p95 = 0;
    std::size_t count = 0;
};
// Nearest-rank on the sorted copy (half away from zero); infinities when empty.
Percentiles latency_percentiles(std::span<const double> values);

struct ProbeMonitor {
    PixelRect rect;
    bool primary = false;
};
// The right-most secondary monitor, else the right-most one (the later on a
// tie), else `fallback` (the primary screen's size) when none was listed.
PixelRect choose_probe_monitor(std::span<const ProbeMonitor> monitors, const PixelRect& fallback);

enum class LoupeBandMode : std::uint8_t { Composed = 0, Banded = 1 };

struct TaskbarFindings {
    PixelPoint point;
    std::uint64_t exact = 0;
    std::uint64_t compared = 0;
    std::uint8_t worst = 0;
    std::uint64_t windows_by_capture = 0;
    std::vector<double> latencies;
    std::vector<double> updates;
};

// What one run measured.
struct LoupeFindings {
    std::vector<ViewCheck> views;
    std::uint64_t magenta = 0;
    std::uint64_t green = 0;
    // The window kept from captures could not be asked for: that check is
    // untested, and says so.
    bool capture_exclusion_untested = false;
    Feather feather;
    std::vector<double> latencies;
    std::vector<double> updates;
    std::vector<double> plain_latencies;
    // None when the process times could not be read both times: a share
    // from one reading alone would be nonsense, never a pass.
    std::optional<double> idle_cpu;
    std::optional<LoupeBandMode> band_mode;
    std::optional<std::string> band_reason;
    bool outlived = false;
    std::optional<TaskbarFindings> taskbar;
};

// The failure lines, in the order of the checks.
std::vector<std::string> loupe_failures(const LoupeFindings& findings);
// The report: the figures, the view-check lines, the taskbar line and the
// failure lines joined by "\n" without a final line end.
std::string loupe_report_text(const LoupeFindings& findings, std::span<const std::string> failures);

}  // namespace glimmerly
