#include "core/diagnostics/loupe_analysis.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

namespace glimmerly {
namespace {

// A grab of `width` x `height` at (x, y) coloured by screen position.
struct Grab {
    BgraImage image;
    std::int32_t x = 0;
    std::int32_t y = 0;
    GrabView view() const { return {image, x, y}; }
    void set(std::int32_t px, std::int32_t py, Rgb c) {
        std::uint8_t* p = image.pixels.data() + ((std::size_t(py - y) * image.width) + std::size_t(px - x)) * 4;
        p[0] = c.b, p[1] = c.g, p[2] = c.r, p[3] = 255;
    }
};

Grab grab_of(std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height,
             const std::function<Rgb(std::int32_t, std::int32_t)>& colour) {
    Grab grab{{std::vector<std::uint8_t>(std::size_t{width} * height * 4), width, height}, x, y};
    for (std::uint32_t j = 0; j < height; ++j)
        for (std::uint32_t i = 0; i < width; ++i) grab.set(x + i, y + j, colour(x + i, y + j));
    return grab;
}

Grab pattern_grab(std::int32_t x, std::int32_t y, std::uint32_t width, std::uint32_t height) {
    return grab_of(x, y, width, height, pattern_colour);
}

// What a perfect loupe of diameter 240 at (cx, cy) shows over `reference`:
// the source square magnified inside the circle, `outside` (none: the
// reference) where the source is off the grab.
Grab perfect_loupe(const Grab& reference, std::int32_t cx, std::int32_t cy, std::int32_t zoom) {
    Grab shown = reference;
    const std::int32_t n = 240 / zoom;
    const std::int32_t left = cx - (n / 2) * zoom;
    const std::int32_t top = cy - (n / 2) * zoom;
    const double r = n * zoom / 2.0;
    for (std::int32_t j = 0; j < n * zoom; ++j)
        for (std::int32_t i = 0; i < n * zoom; ++i) {
            const std::int32_t px = left + i, py = top + j;
            const double dx = px + 0.5 - (left + r), dy = py + 0.5 - (top + r);
            if (dx * dx + dy * dy > r * r || !grab_pixel(reference.view(), px, py)) continue;
            const auto source = grab_pixel(reference.view(), cx - n / 2 + i / zoom, cy - n / 2 + j / zoom);
            shown.set(px, py, source.value_or(*grab_pixel(reference.view(), px, py)));
        }
    return shown;
}

TEST(PatternColour, EncodesThePositionAndFlipsOnOddSums) {
    struct Row {
        std::int32_t x, y;
        Rgb colour;
    };
    const Row rows[] = {{0, 0, {0, 0, 0}}, {1, 0, {0, 128, 129}}, {256, 0, {16, 0, 0}}, {0, 256, {1, 0, 0}}};
    for (const Row& row : rows) {
        SCOPED_TRACE(testing::Message() << row.x << "," << row.y);
        EXPECT_EQ(pattern_colour(row.x, row.y), row.colour);
    }
}

TEST(PatternColour, EveryPositionOfABlockHasItsOwnColour) {
    std::vector<bool> seen(1 << 24);
    for (std::int32_t y = 0; y < 4096; y += 7)
        for (std::int32_t x = 0; x < 4096; ++x) {
            const Rgb c = pattern_colour(x - 2048, y - 1024);
            const std::size_t key = std::size_t{c.r} << 16 | std::size_t{c.g} << 8 | c.b;
            ASSERT_FALSE(seen[key]) << x << "," << y;
            seen[key] = true;
        }
}

TEST(GrabPixel, AnswersOnlyWithinTheGrab) {
    const Grab grab = pattern_grab(-100, -50, 10, 10);
    EXPECT_EQ(grab_pixel(grab.view(), -100, -50), pattern_colour(-100, -50));
    EXPECT_EQ(grab_pixel(grab.view(), -91, -41), pattern_colour(-91, -41));
    EXPECT_FALSE(grab_pixel(grab.view(), -90, -45));
    EXPECT_FALSE(grab_pixel(grab.view(), -95, -51));
}

TEST(CompareLoupeView, APerfectLoupeIsExactAtEveryZoomFromItsOwnSquareOfSource) {
    const Grab reference = pattern_grab(0, 0, 800, 600);
    struct Row {
        std::int32_t zoom;
        std::int32_t source_side;
    };
    for (const Row row : {Row{2, 120}, Row{3, 80}, Row{4, 60}}) {
        SCOPED_TRACE(row.zoom);
        const Grab shown = perfect_loupe(reference, 400, 300, row.zoom);
        const ViewCheck check = compare_loupe_view(reference.view(), shown.view(), 400, 300, row.zoom, false);
        EXPECT_EQ(240 / row.zoom, row.source_side);
        EXPECT_GT(check.compared, 40000u);
        EXPECT_EQ(check.exact, check.compared);
        EXPECT_EQ(check.worst, 0);
        EXPECT_EQ(check.stray, 0u);
        EXPECT_EQ(check.corners, 0u);
        // Shown one zoom step off, the interior no longer matches.
        const Grab wrong = perfect_loupe(reference, 400, 300, row.zoom == 4 ? 2 : row.zoom + 1);
        const ViewCheck off = compare_loupe_view(reference.view(), wrong.view(), 400, 300, row.zoom, false);
        EXPECT_LT(off.exact * 2, off.compared);
    }
}

TEST(CompareLoupeView, PixelsOffTheGrabCountNeitherAsComparedNorAsCorners) {
    const Grab reference = pattern_grab(0, 0, 800, 600);
    const Grab shown = perfect_loupe(reference, 799, 300, 2);
    const ViewCheck edge = compare_loupe_view(reference.view(), shown.view(), 799, 300, 2, false);
    const ViewCheck centre =
        compare_loupe_view(reference.view(), perfect_loupe(reference, 400, 300, 2).view(), 400, 300, 2, false);
    EXPECT_EQ(edge.corners, 0u);
    EXPECT_EQ(edge.stray, 0u);
    EXPECT_EQ(edge.exact, edge.compared);
    EXPECT_LT(edge.compared * 2, centre.compared + 2000);
    EXPECT_GT(edge.compared, 0u);
}

TEST(CompareLoupeView, ChangedCornersAndWrongOffGrabSourcesAreCounted) {
    const Grab reference = pattern_grab(0, 0, 800, 600);
    Grab shown = perfect_loupe(reference, 400, 300, 2);
    shown.set(281, 181, {1, 2, 3});  // outside the circle, inside the square
    EXPECT_EQ(compare_loupe_view(reference.view(), shown.view(), 400, 300, 2, false).corners, 1u);

    // A banded loupe at the grab's right edge: sources beyond it show the
    // loupe's background, anything else there is stray.
    const Grab small = pattern_grab(0, 0, 500, 600);
    Grab banded = grab_of(0, 0, 500, 600, pattern_colour);
    for (std::int32_t j = 0; j < 240; ++j)
        for (std::int32_t i = 0; i < 240; ++i) {
            const std::int32_t px = 380 + i, py = 180 + j;
            if (px >= 500) continue;
            const auto source = grab_pixel(small.view(), 440 + i / 2, 240 + j / 2);
            const double dx = px + 0.5 - 500, dy = py + 0.5 - 300;
            if (dx * dx + dy * dy <= 120.0 * 120.0) banded.set(px, py, source.value_or(kLoupeBackground));
        }
    const ViewCheck clean = compare_loupe_view(small.view(), banded.view(), 500, 300, 2, true);
    EXPECT_EQ(clean.stray, 0u);
    const ViewCheck composed = compare_loupe_view(small.view(), banded.view(), 500, 300, 2, false);
    EXPECT_EQ(composed.stray, 0u);  // those pixels lie beyond the grab too
}

// A loupe whose rim blends with weight `weight(radius)` at radius 115..121,
// painted along the very samples the analysis reads.
Grab feathered(const Grab& reference, std::int32_t x, std::int32_t y, const std::function<double(int)>& weight) {
    Grab shown = perfect_loupe(reference, x, y, 2);
    for (int radius = 121; radius >= 115; --radius)
        for (int a = 0; a < 360; ++a) {
            const double angle = a * 0.017453292519943295;
            const std::int32_t px = std::int32_t(std::floor(std::cos(angle) * radius + x));
            const std::int32_t py = std::int32_t(std::floor(std::sin(angle) * radius + y));
            const Rgb bg = *grab_pixel(reference.view(), px, py);
            const Rgb src = *grab_pixel(reference.view(), (px - (x - 120)) / 2 + x - 60, (py - (y - 120)) / 2 + y - 60);
            const double w = weight(radius);
            const auto mix = [&](std::uint8_t s, std::uint8_t b) {
                return std::uint8_t(std::lround(b + (double(s) - b) * w));
            };
            shown.set(px, py, {mix(src.r, bg.r), mix(src.g, bg.g), mix(src.b, bg.b)});
        }
    return shown;
}

TEST(MeasureFeather, AHardRimDropsAtOnceAndASoftOneInEvenSteps) {
    const Grab reference = pattern_grab(0, 0, 800, 600);
    const Feather hard = measure_feather(reference.view(), feathered(reference, 400, 300, [](int r) {
                                             return r <= 120 ? 1.0 : 0.0;
                                         }).view(),
                                         400, 300);
    EXPECT_GT(hard.samples, 1000u);
    EXPECT_NEAR(hard.steepest, 1.0, 0.05);
    EXPECT_NEAR(hard.inside, 1.0, 0.05);

    const Feather soft = measure_feather(reference.view(), feathered(reference, 400, 300, [](int r) {
                                             return (121 - r) / 6.0;
                                         }).view(),
                                         400, 300);
    EXPECT_NEAR(soft.steepest, 1.0 / 6.0, 0.03);
    EXPECT_EQ(soft.rises, 0u);
    EXPECT_NEAR(soft.inside, 1.0, 0.05);
    EXPECT_NEAR(soft.outside, 0.0, 0.05);
    EXPECT_LE(soft.unblended * 40, soft.samples * 3);
}

TEST(FeatherText, WritesTheFieldsInOrderWithListItemNumbers) {
    Feather f;
    f.samples = 2500;
    f.unblended = 3;
    f.inside = 0.97;
    f.outside = 0.0;
    f.rises = 0;
    f.steepest = 0.17;
    f.profile = {{{0.97, 3.0}, {0.83, 2.0}, {0.67, 1.0}, {0.5, 1.0}, {0.33, 1.0}, {0.17, 2.0}, {0.0, 0.0}}};
    EXPECT_EQ(feather_text(f),
              "Feather { samples: 2500, unblended: 3, inside: 0.97, outside: 0.0, rises: 0, steepest: 0.17, profile: "
              "[(0.97, 3.0), (0.83, 2.0), (0.67, 1.0), (0.5, 1.0), (0.33, 1.0), (0.17, 2.0), (0.0, 0.0)] }");
}

TEST(RenderEdgeZoom, EnlargesEachPixelEightTimesAndBlackensWhatIsOffTheGrab) {
    const Grab grab = pattern_grab(0, 0, 100, 100);
    const BgraImage zoomed = render_edge_zoom(grab.view(), -4, -2);
    ASSERT_EQ(zoomed.width, 320u);
    ASSERT_EQ(zoomed.height, 320u);
    const auto at = [&](std::uint32_t c, std::uint32_t r) {
        const std::uint8_t* p = zoomed.pixels.data() + (r * 320 + c) * 4;
        return std::array<std::uint8_t, 4>{p[0], p[1], p[2], p[3]};
    };
    EXPECT_EQ(at(31, 100), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
    EXPECT_EQ(at(100, 15), (std::array<std::uint8_t, 4>{0, 0, 0, 255}));
    const Rgb inside = pattern_colour(1, 3);  // column 5 x 8, row 5 x 8
    EXPECT_EQ(at(40, 40), (std::array<std::uint8_t, 4>{inside.b, inside.g, inside.r, 255}));
    EXPECT_EQ(at(47, 47), at(40, 40));
    EXPECT_NE(at(48, 40), at(40, 40));
}

TEST(LoupeSamples, WatchTheMagnifiedSourcesThatLieOnTheGrabAndTheBand) {
    const Grab reference = pattern_grab(0, 0, 400, 300);
    const auto samples = loupe_samples(reference.view(), 200, 150);
    ASSERT_EQ(samples.size(), 3u);
    // (-31, -17): source (200 + 89 / 2 - 60, 150 + 103 / 2 - 60).
    EXPECT_EQ(samples[0], (ColourSample{169, 133, pattern_colour(184, 141)}));
    EXPECT_EQ(samples[1], (ColourSample{223, 179, pattern_colour(211, 164)}));
    EXPECT_TRUE(loupe_samples(reference.view(), 1000, 150).empty());

    const PixelRect monitor{0, 0, 400, 300};
    const PixelRect band{0, 260, 400, 300};
    // At (200, 280) the point of (23, 29) lies below the monitor.
    const auto over_band = taskbar_loupe_samples(reference.view(), 200, 280, monitor, band);
    EXPECT_EQ(over_band, (std::vector<ColourSample>{{169, 263, pattern_colour(184, 271)},
                                                    {241, 243, pattern_colour(220, 261)}}));
    // At (200, 270) the source of (41, -37) lies above the band.
    const auto higher = taskbar_loupe_samples(reference.view(), 200, 270, monitor, band);
    EXPECT_EQ(higher, (std::vector<ColourSample>{{169, 253, pattern_colour(184, 261)},
                                                 {223, 299, pattern_colour(211, 284)}}));
}

TEST(CompareTaskbarView, ComparesOnlyTheCircleOnTheMonitorWhoseSourceLiesInTheBand) {
    // A 400 x 300 monitor with a 40-pixel band at its bottom; the loupe at
    // the band's middle reaches below the monitor.
    const PixelRect monitor{0, 0, 400, 300};
    const PixelRect band{0, 260, 400, 300};
    const Grab reference = pattern_grab(0, 0, 400, 300);
    const Grab shown = perfect_loupe(reference, 200, 280, 2);
    const TaskbarComparison banded = compare_taskbar_view(reference.view(), shown.view(), 200, 280, monitor, band,
                                                          false);
    EXPECT_GT(banded.compared, 1000u);
    EXPECT_EQ(banded.exact, banded.compared);
    EXPECT_EQ(banded.worst, 0);
    // The composed loupe's circle is smaller: fewer pixels, none of them new.
    const TaskbarComparison composed = compare_taskbar_view(reference.view(), shown.view(), 200, 280, monitor, band,
                                                            true);
    EXPECT_LT(composed.compared, banded.compared);
    // Nothing magnified: the loupe shows what lies beneath it.
    const TaskbarComparison unmagnified = compare_taskbar_view(reference.view(), reference.view(), 200, 280,
                                                               monitor, band, false);
    EXPECT_EQ(unmagnified.compared, banded.compared);
    EXPECT_LT(unmagnified.exact * 10, unmagnified.compared);
    EXPECT_GT(unmagnified.worst, 100);
}

TEST(CountColour, CountsExactMatchesWithinTheSquareOnTheGrab) {
    Grab grab = grab_of(-10, -10, 50, 50, [](std::int32_t, std::int32_t) { return Rgb{255, 0, 255}; });
    grab.set(0, 0, {254, 0, 255});
    EXPECT_EQ(count_colour(grab.view(), -20, -20, 30, {255, 0, 255}), 20u * 20u - 1u);
    EXPECT_EQ(count_colour(grab.view(), -20, -20, 30, {0, 255, 0}), 0u);
}

TEST(LatencyMovePoint, EvenMovesGoAThirdInAndOddOnesTwoThirds) {
    const PixelRect rect{-1280, 0, 0, 1025};
    EXPECT_EQ(latency_move_point(rect, 0), (PixelPoint{-854, 512}));
    EXPECT_EQ(latency_move_point(rect, 1), (PixelPoint{-427, 512}));
    EXPECT_EQ(latency_move_point(rect, 24), latency_move_point(rect, 0));
    EXPECT_EQ(latency_move_point({0, 0, 100, 10}, 1), (PixelPoint{66, 5}));
}

TEST(LoupeFailureTexts, NameThePointWithSignedCoordinates) {
    EXPECT_EQ(never_reached_text({-854, 512}), "never reached (-854, 512)");
    EXPECT_EQ(pattern_covered_text({3839, 1079}),
              "the pattern is covered at (3839, 1079): close what lies over it and run again");
}

TEST(LatencyPercentiles, NearestRankOnTheSortedValues) {
    std::vector<double> values;
    for (int i = 25; i >= 1; --i) values.push_back(i);
    const Percentiles p = latency_percentiles(values);
    EXPECT_EQ(p.p50, 13.0);
    EXPECT_EQ(p.p95, 24.0);
    EXPECT_EQ(p.count, 25u);
    std::vector<double> updates;
    for (int i = 0; i < 26; ++i) updates.push_back(i);
    EXPECT_EQ(latency_percentiles(updates).p50, 13.0);
    EXPECT_EQ(latency_percentiles(updates).p95, 24.0);
    const Percentiles none = latency_percentiles({});
    EXPECT_TRUE(std::isinf(none.p50) && std::isinf(none.p95));
    EXPECT_EQ(none.count, 0u);
}

TEST(ChooseProbeMonitor, PrefersTheRightMostSecondaryScreen) {
    const PixelRect fallback{0, 0, 1920, 1080};
    struct Row {
        const char* name;
        std::vector<ProbeMonitor> monitors;
        PixelRect chosen;
    };
    const Row rows[] = {
        {"none listed", {}, fallback},
        {"one primary", {{{0, 0, 1920, 1080}, true}}, {0, 0, 1920, 1080}},
        {"secondary left of the primary",
         {{{0, 0, 1920, 1080}, true}, {{-1280, 0, 0, 1024}, false}},
         {-1280, 0, 0, 1024}},
        {"two secondaries",
         {{{-2560, 0, -1280, 1024}, false}, {{0, 0, 1920, 1080}, true}, {{1920, 0, 3200, 1024}, false}},
         {1920, 0, 3200, 1024}},
        {"equal left edges: the later",
         {{{0, 0, 1920, 1080}, true}, {{1920, 0, 3000, 800}, false}, {{1920, 800, 3000, 1600}, false}},
         {1920, 800, 3000, 1600}},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const PixelRect chosen = choose_probe_monitor(row.monitors, fallback);
        EXPECT_EQ(chosen.left, row.chosen.left);
        EXPECT_EQ(chosen.top, row.chosen.top);
        EXPECT_EQ(chosen.right, row.chosen.right);
        EXPECT_EQ(chosen.bottom, row.chosen.bottom);
    }
}

LoupeFindings passing_findings() {
    LoupeFindings f;
    f.views = {ViewCheck{960, 540, 45000, 45000, 0, 0, 2, 0}};
    f.feather.samples = 2000;
    f.feather.inside = 1.0;
    f.feather.steepest = 0.17;
    for (int i = 1; i <= 25; ++i) {
        f.latencies.push_back(10 + i * 0.1);
        f.plain_latencies.push_back(8 + i * 0.1);
        f.updates.push_back(0.5);
    }
    f.updates.push_back(0.5);
    f.idle_cpu = 0.25;
    f.band_mode = LoupeBandMode::Composed;
    f.taskbar = TaskbarFindings{{960, 1060}, 3000, 3000, 0, 2, f.latencies, f.updates};
    return f;
}

TEST(LoupeEvaluation, AClearRunHasNoFailuresAndItsReportEndsWithItsLastLine) {
    const LoupeFindings f = passing_findings();
    const auto failures = loupe_failures(f);
    EXPECT_TRUE(failures.empty()) << failures.front();
    const std::string report = loupe_report_text(f, failures);
    EXPECT_TRUE(report.starts_with("renderer Some(Composed)\nlatency p50 11.3 ms, p95 12.4 ms over 25 moves; plain "
                                   "window moved the same way 9.3 and 10.4 ms\nupdate p50 0.50 ms, max 0.50 ms (5 "
                                   "discs)\nidle CPU 0.250 %\nfading edge: Feather { samples: 2000,"))
        << report;
    EXPECT_NE(report.find("\nat (960, 540) zoom 2: 100.00 % of 45000 exact (at worst 0 levels off), 0 stray, 0 in "
                          "the corners\nover the taskbar at (960, 1060): 100.00 % of 3000 exact (at worst 0 levels "
                          "off), 2 window(s) by capture; latency p50 11.3 ms"),
              std::string::npos)
        << report;
    EXPECT_TRUE(report.ends_with(" ms\n"));
}

TEST(LoupeEvaluation, ABandedRunUnderWineNamesEveryShortcoming) {
    LoupeFindings f = passing_findings();
    f.band_mode = LoupeBandMode::Banded;
    f.taskbar.reset();
    f.capture_exclusion_untested = true;
    f.feather = {};  // not judged when banded
    f.views = {ViewCheck{960, 540, 40000, 41000, 3, 0, 2, 9}, ViewCheck{1919, 0, 10000, 10150, 0, 0, 3, 0}};
    const auto failures = loupe_failures(f);
    const std::vector<std::string> expected = {
        "loupe at (960, 540), zoom 2: 97.56 % exact of 41000 pixels (needs 99 %), 3 stray, 0 in the corners",
        "window kept from captures: untested",
        "no taskbar at the bottom of the probe's screen: untested",
        "the loupe fell back to round bands: no reason given",
    };
    EXPECT_EQ(failures, expected);
    const std::string report = loupe_report_text(f, failures);
    EXPECT_TRUE(report.starts_with("renderer Some(Banded)\n"));
    EXPECT_EQ(report.find("over the taskbar"), std::string::npos);
    EXPECT_TRUE(report.ends_with("the loupe fell back to round bands: no reason given"));

    f.band_reason = "DirectComposition is unavailable";
    EXPECT_TRUE(loupe_report_text(f, {}).starts_with("renderer Some(Banded) (DirectComposition is unavailable)\n"));
    EXPECT_EQ(loupe_failures(f).back(), "the loupe fell back to round bands: DirectComposition is unavailable");
}

TEST(LoupeEvaluation, LatencyCountsAndFloorsAndTheOtherChecks) {
    LoupeFindings f = passing_findings();
    f.latencies.resize(24);
    f.magenta = 12;
    f.green = 4;
    f.outlived = true;
    f.idle_cpu = 1.0;
    f.feather.rises = 1;
    const auto failures = loupe_failures(f);
    ASSERT_EQ(failures.size(), 6u);
    EXPECT_TRUE(failures[0].starts_with("the fading edge: Feather { samples: 2000,"));
    EXPECT_EQ(failures[1], "12 pixels of a left-out window shown");
    EXPECT_EQ(failures[2], "4 pixels of a window kept from captures shown");
    EXPECT_EQ(failures[3], "the loupe window outlived its loupe");
    EXPECT_EQ(failures[4], "latency p50 11.3 ms, p95 12.3 ms over 24 moves, floor 9.3 and 10.4 ms (needs at most 17 "
                           "ms more, and p95 under 100 ms)");
    EXPECT_EQ(failures[5], "1.00 % of a core with the loupe still");
}

TEST(LoupeEvaluation, AnIdleShareThatCouldNotBeReadIsNotMeasuredAndNeverAPass) {
    LoupeFindings f = passing_findings();
    f.idle_cpu.reset();
    const auto failures = loupe_failures(f);
    EXPECT_EQ(failures, std::vector<std::string>{"idle CPU: not measured"});
    EXPECT_NE(loupe_report_text(f, failures).find("\nidle CPU not measured\nfading edge: "), std::string::npos);
}

}  // namespace
}  // namespace glimmerly
