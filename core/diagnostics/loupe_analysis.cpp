#include "core/diagnostics/loupe_analysis.h"

#include <algorithm>
#include <cmath>
#include <compare>
#include <cstdio>
#include <cstdlib>
#include <initializer_list>
#include <limits>
#include <string_view>

#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

constexpr double kDegree = 0.017453292519943295;
constexpr int kInnerRadius = 115;
constexpr int kOuterRadius = 121;

std::uint8_t largest_difference(Rgb a, Rgb b) {
    return static_cast<std::uint8_t>(
        std::max({std::abs(int(a.r) - int(b.r)), std::abs(int(a.g) - int(b.g)), std::abs(int(a.b) - int(b.b))}));
}

bool holds(const PixelRect& rect, std::int32_t x, std::int32_t y) {
    return rect.left <= x && x < rect.right && rect.top <= y && y < rect.bottom;
}

// f64 to i32 as a cast that saturates, NaN as 0.
std::int32_t saturating_i32(double value) {
    if (std::isnan(value)) return 0;
    if (value <= double(std::numeric_limits<std::int32_t>::min())) return std::numeric_limits<std::int32_t>::min();
    if (value >= double(std::numeric_limits<std::int32_t>::max())) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(value);
}

// What a zoom-2 loupe of diameter 240 at (x, y) shows at (px, py).
PixelPoint zoom_two_source(std::int32_t x, std::int32_t y, std::int32_t px, std::int32_t py) {
    return {(px - (x - 120)) / 2 + x - 60, (py - (y - 120)) / 2 + y - 60};
}

std::string fixed(double value, int digits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*f", digits, value);
    return buffer;
}

// Appended piece by piece: GCC 12 warns falsely (-Wrestrict) on a literal
// added to a temporary string.
std::string concat(std::initializer_list<std::string_view> parts) {
    std::string text;
    for (const std::string_view part : parts) text += part;
    return text;
}

std::string point_text(std::int32_t x, std::int32_t y) {
    return concat({"(", std::to_string(x), ", ", std::to_string(y), ")"});
}

// The list-item form: shortest text that reads back, ".0" on whole values.
std::string item(double value) {
    const double one[] = {value};
    const std::string list = number_list(one);
    return list.substr(1, list.size() - 2);
}

std::string band_mode_text(const std::optional<LoupeBandMode>& mode) {
    if (!mode) return "None";
    return *mode == LoupeBandMode::Composed ? "Some(Composed)" : "Some(Banded)";
}

bool latency_fails(const Percentiles& loupe, const Percentiles& plain) {
    return loupe.count < 25 || loupe.p50 > plain.p50 + 17.0 || loupe.p95 > 100.0 || loupe.p95 > plain.p95 + 17.0;
}

double share(std::uint64_t part, std::uint64_t whole) {
    return double(part) / double(std::max<std::uint64_t>(whole, 1));
}

}  // namespace

Rgb pattern_colour(std::int32_t x, std::int32_t y) {
    const std::uint32_t ux = static_cast<std::uint32_t>(x);
    const std::uint32_t uy = static_cast<std::uint32_t>(y);
    const std::uint32_t t = ((ux + uy) & 1) != 0 ? 128 : 0;
    return Rgb{static_cast<std::uint8_t>(((ux >> 4) & 0xF0) | ((uy >> 8) & 0x0F)),
               static_cast<std::uint8_t>((uy & 0xFF) ^ t), static_cast<std::uint8_t>((ux & 0xFF) ^ t)};
}

std::optional<Rgb> grab_pixel(const GrabView& grab, std::int32_t x, std::int32_t y) {
    const std::int64_t u = std::int64_t{x} - grab.x;
    const std::int64_t v = std::int64_t{y} - grab.y;
    if (u < 0 || v < 0 || u >= grab.image.width || v >= grab.image.height) return std::nullopt;
    const std::size_t at = (static_cast<std::size_t>(v) * grab.image.width + static_cast<std::size_t>(u)) * 4;
    if (at + 4 > grab.image.pixels.size()) return std::nullopt;
    const std::uint8_t* p = grab.image.pixels.data() + at;
    return Rgb{p[2], p[1], p[0]};
}

ViewCheck compare_loupe_view(const GrabView& reference, const GrabView& shown, std::int32_t x, std::int32_t y,
                             std::uint32_t zoom, bool banded) {
    const std::int32_t z = zoom >= 2 ? static_cast<std::int32_t>(std::min<std::uint32_t>(zoom, 240)) : 1;
    std::int32_t n = kLoupeDiameter / z;
    if (n < 2) n = 1;
    const std::int32_t half = (n / 2) * z;
    const std::int32_t size = n * z;
    ViewCheck check{x, y, 0, 0, 0, 0, zoom, 0};
    if (size <= 0) return check;
    const std::int32_t left = x - half;
    const std::int32_t top = y - half;
    const double r = size / 2.0;
    const double cx = left + r;
    const double cy = top + r;
    const double outer = banded ? (r + 4.0) * (r + 4.0) : (r + 1.5) * (r + 1.5);
    const double inner = banded ? (r - 4.0) * (r - 4.0) : (r - 6.0) * (r - 6.0);
    for (std::int32_t j = 0; j < size; ++j) {
        for (std::int32_t i = 0; i < size; ++i) {
            const std::int32_t px = left + i;
            const std::int32_t py = top + j;
            const double dx = px + 0.5 - cx;
            const double dy = py + 0.5 - cy;
            const double d2 = dx * dx + dy * dy;
            if (d2 > outer) {
                if (grab_pixel(reference, px, py) != grab_pixel(shown, px, py)) ++check.corners;
                continue;
            }
            if (d2 > inner) continue;
            const auto seen = grab_pixel(shown, px, py);
            if (!seen) continue;
            const auto source = grab_pixel(reference, x - n / 2 + i / z, y - n / 2 + j / z);
            if (source) {
                ++check.compared;
                if (*source == *seen) ++check.exact;
                check.worst = std::max(check.worst, largest_difference(*source, *seen));
            } else if (banded) {
                if (*seen != kLoupeBackground) ++check.stray;
            } else if (grab_pixel(reference, px, py) != seen) {
                ++check.stray;
            }
        }
    }
    return check;
}

Feather measure_feather(const GrabView& reference, const GrabView& shown, std::int32_t x, std::int32_t y) {
    struct Band {
        double sum = 0;
        double worst = 0;
        std::uint64_t count = 0;
    };
    std::array<Band, 7> bands{};
    std::vector<double> inner;
    std::vector<double> outer;
    Feather feather;
    for (int a = 0; a < 360; ++a) {
        const double angle = a * kDegree;
        for (int radius = kInnerRadius; radius <= kOuterRadius; ++radius) {
            const std::int32_t px = saturating_i32(std::floor(std::cos(angle) * radius + x));
            const std::int32_t py = saturating_i32(std::floor(std::sin(angle) * radius + y));
            const PixelPoint from = zoom_two_source(x, y, px, py);
            const auto src = grab_pixel(reference, from.x, from.y);
            const auto bg = grab_pixel(reference, px, py);
            if (!bg) continue;
            const auto seen = grab_pixel(shown, px, py);
            if (!src || !seen) continue;
            const double d[3] = {double(src->b) - bg->b, double(src->g) - bg->g, double(src->r) - bg->r};
            const double s[3] = {double(seen->b) - bg->b, double(seen->g) - bg->g, double(seen->r) - bg->r};
            const double length = d[0] * d[0] + d[1] * d[1] + d[2] * d[2];
            if (length < 1600.0) continue;
            const double w = (s[0] * d[0] + s[1] * d[1] + s[2] * d[2]) / length;
            double dev = 0;
            for (int c = 0; c < 3; ++c) dev = std::max(dev, std::abs(s[c] - d[c] * w));
            Band& band = bands[static_cast<std::size_t>(radius - kInnerRadius)];
            band.sum += w;
            if (dev > band.worst) band.worst = dev;
            ++band.count;
            ++feather.samples;
            if (dev > 8.0) ++feather.unblended;
            if (radius == kInnerRadius) inner.push_back(w);
            if (radius == kOuterRadius) outer.push_back(w);
        }
    }
    for (std::size_t k = 0; k < bands.size(); ++k) {
        const double mean = bands[k].sum / double(std::max<std::uint64_t>(bands[k].count, 1));
        feather.profile[k] = {std::round(mean * 100.0) / 100.0, std::round(bands[k].worst)};
    }
    const auto mean_of = [](const std::vector<double>& list) {
        double sum = 0;
        for (const double value : list) sum += value;
        return sum / double(std::max<std::size_t>(list.size(), 1));
    };
    feather.inside = mean_of(inner);
    feather.outside = mean_of(outer);
    for (std::size_t k = 0; k + 1 < feather.profile.size(); ++k) {
        const double drop = feather.profile[k].first - feather.profile[k + 1].first;
        if (drop < -0.02) ++feather.rises;
        feather.steepest = std::max(feather.steepest, drop);
    }
    return feather;
}

std::string feather_text(const Feather& f) {
    std::string profile;
    for (const auto& [weight, deviation] : f.profile) {
        if (!profile.empty()) profile += ", ";
        profile += concat({"(", item(weight), ", ", item(deviation), ")"});
    }
    return concat({"Feather { samples: ", std::to_string(f.samples), ", unblended: ", std::to_string(f.unblended),
                   ", inside: ", item(f.inside), ", outside: ", item(f.outside), ", rises: ", std::to_string(f.rises),
                   ", steepest: ", item(f.steepest), ", profile: [", profile, "] }"});
}

BgraImage render_edge_zoom(const GrabView& grab, std::int32_t x0, std::int32_t y0) {
    constexpr std::uint32_t kSide = 320;
    BgraImage picture{std::vector<std::uint8_t>(kSide * kSide * 4), kSide, kSide};
    for (std::uint32_t r = 0; r < kSide; ++r) {
        for (std::uint32_t c = 0; c < kSide; ++c) {
            const Rgb colour = grab_pixel(grab, x0 + std::int32_t(c / 8), y0 + std::int32_t(r / 8)).value_or(kBlack);
            std::uint8_t* p = picture.pixels.data() + (std::size_t{r} * kSide + c) * 4;
            p[0] = colour.b;
            p[1] = colour.g;
            p[2] = colour.r;
            p[3] = 255;
        }
    }
    return picture;
}

std::vector<ColourSample> loupe_samples(const GrabView& reference, std::int32_t x, std::int32_t y) {
    std::vector<ColourSample> samples;
    for (const PixelPoint& offset : SAMPLE_OFFSETS) {
        const std::int32_t sx = x + (offset.x + 120) / 2 - 60;
        const std::int32_t sy = y + (offset.y + 120) / 2 - 60;
        if (const auto colour = grab_pixel(reference, sx, sy)) samples.push_back({x + offset.x, y + offset.y, *colour});
    }
    return samples;
}

std::vector<ColourSample> taskbar_loupe_samples(const GrabView& reference, std::int32_t x, std::int32_t y,
                                                const PixelRect& monitor, const PixelRect& band) {
    std::vector<ColourSample> samples;
    for (const PixelPoint& offset : SAMPLE_OFFSETS) {
        const std::int32_t sx = x + (offset.x + 120) / 2 - 60;
        const std::int32_t sy = y + (offset.y + 120) / 2 - 60;
        if (!holds(monitor, x + offset.x, y + offset.y) || !holds(band, sx, sy)) continue;
        if (const auto colour = grab_pixel(reference, sx, sy)) samples.push_back({x + offset.x, y + offset.y, *colour});
    }
    return samples;
}

TaskbarComparison compare_taskbar_view(const GrabView& reference, const GrabView& shown, std::int32_t f,
                                       std::int32_t g, const PixelRect& monitor, const PixelRect& band,
                                       bool composed) {
    const double reach = composed ? 114.0 * 114.0 : 116.0 * 116.0;
    TaskbarComparison result;
    for (std::int32_t y = g - 120; y < g + 120; ++y) {
        for (std::int32_t x = f - 120; x < f + 120; ++x) {
            const double dx = x + 0.5 - f;
            const double dy = y + 0.5 - g;
            if (dx * dx + dy * dy > reach || !holds(monitor, x, y)) continue;
            const PixelPoint from = zoom_two_source(f, g, x, y);
            if (!holds(band, from.x, from.y)) continue;
            const auto seen = grab_pixel(shown, x, y);
            const auto source = grab_pixel(reference, from.x, from.y);
            if (!seen || !source) continue;
            ++result.compared;
            const std::uint8_t difference = largest_difference(*seen, *source);
            if (difference == 0) ++result.exact;
            result.worst = std::max(result.worst, difference);
        }
    }
    return result;
}

std::uint64_t count_colour(const GrabView& grab, std::int32_t left, std::int32_t top, std::int32_t side, Rgb colour) {
    std::uint64_t count = 0;
    for (std::int32_t y = top; y < top + side; ++y)
        for (std::int32_t x = left; x < left + side; ++x)
            if (grab_pixel(grab, x, y) == colour) ++count;
    return count;
}

PixelPoint latency_move_point(const PixelRect& rect, int move) {
    const std::int32_t width = rect.right - rect.left;
    return {rect.left + (move % 2 == 0 ? width / 3 : 2 * width / 3), (rect.top + rect.bottom) / 2};
}

std::string never_reached_text(PixelPoint point) { return concat({"never reached ", point_text(point.x, point.y)}); }

std::string pattern_covered_text(PixelPoint point) {
    return concat({"the pattern is covered at ", point_text(point.x, point.y),
                   ": close what lies over it and run again"});
}

Percentiles latency_percentiles(std::span<const double> values) {
    if (values.empty())
        return {std::numeric_limits<double>::infinity(), std::numeric_limits<double>::infinity(), 0};
    std::vector<double> sorted(values.begin(), values.end());
    std::sort(sorted.begin(), sorted.end(), [](double a, double b) { return std::strong_order(a, b) < 0; });
    const double last = double(sorted.size() - 1);
    const auto at = [&](double share) { return sorted[static_cast<std::size_t>(std::round(share * last))]; };
    return {at(0.5), at(0.95), sorted.size()};
}

PixelRect choose_probe_monitor(std::span<const ProbeMonitor> monitors, const PixelRect& fallback) {
    const auto rightmost = [&](bool secondary_only) -> const ProbeMonitor* {
        const ProbeMonitor* best = nullptr;
        for (const ProbeMonitor& monitor : monitors)
            if ((!secondary_only || !monitor.primary) && (!best || monitor.rect.left >= best->rect.left))
                best = &monitor;
        return best;
    };
    if (const ProbeMonitor* secondary = rightmost(true)) return secondary->rect;
    if (const ProbeMonitor* any = rightmost(false)) return any->rect;
    return fallback;
}

std::vector<std::string> loupe_failures(const LoupeFindings& f) {
    std::vector<std::string> failures;
    const bool composed = f.band_mode == LoupeBandMode::Composed;
    const double margin = composed ? 6.0 : 4.0;
    for (const ViewCheck& view : f.views) {
        const double few = (120.0 - margin) * (120.0 - margin) * 2.827433388230814;
        const double needed = double(view.compared) < few ? 0.98 : 0.99;
        const double ratio = share(view.exact, view.compared);
        if (ratio < needed || view.stray != 0 || view.corners != 0)
            failures.push_back(concat({"loupe at ", point_text(view.x, view.y), ", zoom ", std::to_string(view.zoom),
                                       ": ", fixed(ratio * 100.0, 2), " % exact of ", std::to_string(view.compared),
                                       " pixels (needs ", fixed(needed * 100.0, 0), " %), ",
                                       std::to_string(view.stray), " stray, ", std::to_string(view.corners),
                                       " in the corners"}));
    }
    const Feather& e = f.feather;
    if (composed && (e.samples < 1000 || e.unblended * 40 > e.samples * 3 || e.inside < 0.95 || e.outside > 0.05 ||
                     e.rises != 0 || e.steepest > 0.6))
        failures.push_back(concat({"the fading edge: ", feather_text(e)}));
    if (f.magenta != 0) failures.push_back(concat({std::to_string(f.magenta), " pixels of a left-out window shown"}));
    if (f.green != 0)
        failures.push_back(concat({std::to_string(f.green), " pixels of a window kept from captures shown"}));
    if (f.capture_exclusion_untested) failures.push_back("window kept from captures: untested");
    if (f.outlived) failures.push_back("the loupe window outlived its loupe");
    const Percentiles loupe = latency_percentiles(f.latencies);
    const Percentiles plain = latency_percentiles(f.plain_latencies);
    if (latency_fails(loupe, plain))
        failures.push_back(concat({"latency p50 ", fixed(loupe.p50, 1), " ms, p95 ", fixed(loupe.p95, 1), " ms over ",
                                   std::to_string(loupe.count), " moves, floor ", fixed(plain.p50, 1), " and ",
                                   fixed(plain.p95, 1), " ms (needs at most ", plain_number(17.0),
                                   " ms more, and p95 under ", plain_number(100.0), " ms)"}));
    if (!f.idle_cpu)
        failures.push_back("idle CPU: not measured");
    else if (*f.idle_cpu >= 1.0)
        failures.push_back(concat({fixed(*f.idle_cpu, 2), " % of a core with the loupe still"}));
    if (!f.taskbar) {
        failures.push_back("no taskbar at the bottom of the probe's screen: untested");
    } else {
        const TaskbarFindings& t = *f.taskbar;
        const double ratio = share(t.exact, t.compared);
        if (t.compared < 1000 || ratio < 0.98)
            failures.push_back(concat({"over the taskbar: ", fixed(ratio * 100.0, 2), " % exact of ",
                                       std::to_string(t.compared), " pixels (needs ", fixed(98.0, 0),
                                       " %), at worst ", std::to_string(t.worst), " levels off"}));
        const Percentiles moves = latency_percentiles(t.latencies);
        if (latency_fails(moves, plain))
            failures.push_back(concat({"over the taskbar, latency p50 ", fixed(moves.p50, 1), " ms, p95 ",
                                       fixed(moves.p95, 1), " ms over ", std::to_string(moves.count),
                                       " moves, floor ", fixed(plain.p50, 1), " and ", fixed(plain.p95, 1), " ms"}));
    }
    if (!composed)
        failures.push_back(concat({"the loupe fell back to round bands: ", f.band_reason.value_or("no reason given")}));
    return failures;
}

std::string loupe_report_text(const LoupeFindings& f, std::span<const std::string> failures) {
    const Percentiles loupe = latency_percentiles(f.latencies);
    const Percentiles plain = latency_percentiles(f.plain_latencies);
    const Percentiles updates = latency_percentiles(f.updates);
    std::string text = concat(
        {"renderer ", band_mode_text(f.band_mode), f.band_reason ? concat({" (", *f.band_reason, ")"}) : std::string(),
         "\nlatency p50 ", fixed(loupe.p50, 1), " ms, p95 ", fixed(loupe.p95, 1), " ms over ",
         std::to_string(loupe.count), " moves; plain window moved the same way ", fixed(plain.p50, 1), " and ",
         fixed(plain.p95, 1), " ms\nupdate p50 ", fixed(updates.p50, 2), " ms, max ", fixed(updates.p95, 2),
          " ms (5 discs)\nidle CPU ", f.idle_cpu ? concat({fixed(*f.idle_cpu, 3), " %"}) : std::string("not measured"),
         "\nfading edge: ", feather_text(f.feather), "\n"});
    for (const ViewCheck& view : f.views)
        text += concat({"at ", point_text(view.x, view.y), " zoom ", std::to_string(view.zoom), ": ",
                        fixed(share(view.exact, view.compared) * 100.0, 2), " % of ", std::to_string(view.compared),
                        " exact (at worst ", std::to_string(view.worst), " levels off), ", std::to_string(view.stray),
                        " stray, ", std::to_string(view.corners), " in the corners\n"});
    if (f.taskbar) {
        const TaskbarFindings& t = *f.taskbar;
        const Percentiles moves = latency_percentiles(t.latencies);
        const Percentiles taskbar_updates = latency_percentiles(t.updates);
        text += concat({"over the taskbar at ", point_text(t.point.x, t.point.y), ": ",
                        fixed(share(t.exact, t.compared) * 100.0, 2), " % of ", std::to_string(t.compared),
                        " exact (at worst ", std::to_string(t.worst), " levels off), ",
                        std::to_string(t.windows_by_capture), " window(s) by capture; latency p50 ",
                        fixed(moves.p50, 1), " ms, p95 ", fixed(moves.p95, 1), " ms over ",
                        std::to_string(moves.count), " moves; update p50 ", fixed(taskbar_updates.p50, 2),
                        " ms, max ", fixed(taskbar_updates.p95, 2), " ms\n"});
    }
    for (std::size_t i = 0; i < failures.size(); ++i) {
        if (i) text += '\n';
        text += failures[i];
    }
    return text;
}

}  // namespace glimmerly
