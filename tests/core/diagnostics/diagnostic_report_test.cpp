#include "core/diagnostics/diagnostic_report.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace glimmerly {
namespace {

TEST(DiagnosticNumbers, WritesEachFormAsScriptsReadIt) {
    const struct { const char* name; double value; const char* plain; const char* item; } rows[] = {
        {"whole", 12.0, "12", "12.0"},
        {"fraction", 12.25, "12.25", "12.25"},
        {"zero", 0.0, "0", "0.0"},
        {"tiny", 1e-5, "0.00001", "1e-5"},
        {"huge", 1e16, "10000000000000000", "1e16"},
        {"just below huge", 9999999999999998.0, "9999999999999998", "9999999999999998.0"},
        {"at the small edge", 1e-4, "0.0001", "0.0001"},
        {"shortest that reads back", 0.1 + 0.2, "0.30000000000000004", "0.30000000000000004"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.name);
        EXPECT_EQ(plain_number(row.value), row.plain);
        const double one[] = {row.value};
        EXPECT_EQ(number_list(one), std::string("[") + row.item + "]");
    }
    const double list[] = {12.5, 13.0, 9.75};
    EXPECT_EQ(number_list(list), "[12.5, 13.0, 9.75]");
    EXPECT_EQ(number_list({}), "[]");
    EXPECT_EQ(three_decimals(2.0), "2.000");
    EXPECT_EQ(three_decimals(0.12345), "0.123");
}

TEST(DiagnosticNumbers, ReadsWhatTheyWriteBack) {
    for (double value : {12.0, 12.25, 1e-5, 1e16, 0.0, 123.456789, 1.0 / 3.0}) {
        const double list[] = {value};
        auto plain = parse_numbers(plain_number(value));
        auto item = parse_numbers(number_list(list).substr(1, number_list(list).size() - 2));
        ASSERT_TRUE(plain.ok() && item.ok());
        EXPECT_EQ(*plain, std::vector<double>{value});
        EXPECT_EQ(*item, std::vector<double>{value});
    }
}

TEST(DiagnosticNumbers, SplitsAtUnicodeWhiteSpaceAndRefusesWords) {
    auto four = parse_numbers("1 2.5\t-3\n4e2");
    ASSERT_TRUE(four.ok());
    EXPECT_EQ(*four, (std::vector<double>{1, 2.5, -3, 400}));
    auto wide = parse_numbers("\xC2\xA0" "7\xE3\x80\x80" "8\xE2\x80\xA8");
    ASSERT_TRUE(wide.ok());
    EXPECT_EQ(*wide, (std::vector<double>{7, 8}));
    auto blank = parse_numbers(" \r\n ");
    ASSERT_TRUE(blank.ok());
    EXPECT_TRUE(blank->empty());
    ASSERT_TRUE(parse_numbers("").ok());

    auto special = parse_numbers("inf -Infinity NaN +.5 5.");
    ASSERT_TRUE(special.ok());
    EXPECT_TRUE(std::isinf((*special)[0]) && std::isinf((*special)[1]) && (*special)[1] < 0);
    EXPECT_TRUE(std::isnan((*special)[2]));
    EXPECT_EQ((*special)[3], 0.5);
    EXPECT_EQ((*special)[4], 5.0);

    for (const char* bad : {"1 two 3", "nan(1)", "0x10", ".", "1e", "--1", "1,5"}) {
        SCOPED_TRACE(bad);
        auto refused = parse_numbers(bad);
        ASSERT_FALSE(refused.ok());
        EXPECT_EQ(refused.failure(), plain_failure("invalid float literal"));
    }
    EXPECT_EQ(parse_number("").failure(), plain_failure("cannot parse float from empty string"));
    EXPECT_EQ(*parse_trimmed_number(" \t41.5\xC2\xA0\n"), 41.5);
    EXPECT_EQ(parse_trimmed_number(" \n").failure(), plain_failure("cannot parse float from empty string"));
    EXPECT_EQ(parse_trimmed_number("1 2").failure(), plain_failure("invalid float literal"));
    EXPECT_TRUE(std::isinf(*parse_number("1e400")));
    EXPECT_EQ(*parse_number("1e-400"), 0.0);
}

TEST(DiagnosticNumbers, MedianIsTheUpperMiddleInTotalOrder) {
    const double odd[] = {5, 1, 4, 2, 3};
    const double even[] = {1, 2, 3, 4};
    EXPECT_EQ(median_of(odd), 3.0);
    EXPECT_EQ(median_of(even), 3.0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double with_nans[] = {nan, 1, 2, -nan, 3};  // -NaN first, NaN last
    EXPECT_EQ(median_of(with_nans), 2.0);
    const double zeros[] = {0.0, -0.0};
    EXPECT_FALSE(std::signbit(median_of(zeros)));
}

TEST(DiagnosticNumbers, ConversionsToIntegersSaturate) {
    EXPECT_EQ(saturating_u32(std::numeric_limits<double>::quiet_NaN()), 0u);
    EXPECT_EQ(saturating_u32(-5.5), 0u);
    EXPECT_EQ(saturating_u32(1919.9), 1919u);
    EXPECT_EQ(saturating_u32(std::numeric_limits<double>::infinity()), 4294967295u);
    EXPECT_EQ(saturating_u32(1e12), 4294967295u);
}

TEST(ChildReports, RefuseOtherCountsAndNumbersThatAreNotFinite) {
    auto editor = read_editor_report(editor_report_text({1920, 1080, 12.5, 40}));
    ASSERT_TRUE(editor.ok());
    EXPECT_EQ(editor->width, 1920u);
    EXPECT_EQ(editor->capture_and_init_ms, 40.0);
    EXPECT_EQ(editor_report_text({1920, 1080, 12.0, 40.25}), "1920 1080 12 40.25");
    EXPECT_EQ(read_editor_report("-3 7.9 1 2")->width, 0u);
    EXPECT_EQ(read_editor_report("-3 7.9 1 2")->height, 7u);
    for (const char* bad : {"1 2 3", "1 2 3 4 5", "1 2 nan 4", "1 2 3 inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(read_editor_report(bad).failure(), plain_failure("Invalid editor diagnostics"));
    }
    EXPECT_EQ(read_editor_report("1 2 x 4").failure(), plain_failure("invalid float literal"));

    EXPECT_EQ(first_frame_report_text(81.5, 90), "81.5 90");
    EXPECT_EQ(read_first_frame_report("81.5 90")->hardware_ms, 90.0);
    for (const char* bad : {"81.5", "1 2 3", "nan 2", "1 -inf"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(read_first_frame_report(bad).failure(), plain_failure("Invalid first-frame diagnostics"));
    }
}

StartupFigures sample_figures() {
    StartupFigures f;
    f.idle_seconds = 2.0004;
    f.idle_cpu_ms = 15.625;
    f.idle_working_set_bytes = 1000;
    f.capture_width = 1920;
    f.capture_height = 1080;
    f.capture_ms = {12.5, 13, 9.75, 10, 11};
    f.capture_and_editor_init_ms = {40, 41, 42, 43, 44};
    f.gdi_before = 30;
    f.gdi_after = 30;
    f.working_set_after_captures = 2000;
    f.worker_lifetime_ms = {500, 510, 520, 530, 540};
    f.first_frame_ms = {100, 200, 200, 250, 90};
    f.hardware_frame_ms = {110, 160, 210, 260, 95};
    f.idle_private_bytes = 0x100000;
    f.private_bytes_after_captures = 0x200000;
    f.private_bytes_after_menu = 0x100000 + kRetainedBytesLimit;
    return f;
}

TEST(StartupReport, IsTheFirstHalfWithTheSecondInPlaceOfItsEnd) {
    const StartupFigures f = sample_figures();
    const std::string first = startup_report_first_half(f);
    EXPECT_TRUE(first.ends_with("  \"working_set_after_captures\": 2000\n}\n"));
    EXPECT_EQ(join_startup_report(first, startup_report_second_half(f)),
              "{\n"
              "  \"idle_seconds\": 2.000,\n"
              "  \"idle_cpu_ms\": 15.625,\n"
              "  \"idle_working_set_bytes\": 1000,\n"
              "  \"capture_dimensions\": [1920, 1080],\n"
              "  \"capture_ms\": [12.5, 13.0, 9.75, 10.0, 11.0],\n"
              "  \"capture_and_editor_init_ms\": [40.0, 41.0, 42.0, 43.0, 44.0],\n"
              "  \"gdi_before\": 30,\n"
              "  \"gdi_after\": 30,\n"
              "  \"working_set_after_captures\": 2000,\n"
              "  \"worker_lifetime_ms\": [500.0, 510.0, 520.0, 530.0, 540.0],\n"
              "  \"first_frame_ms\": [100.0, 200.0, 200.0, 250.0, 90.0],\n"
              "  \"hardware_frame_ms\": [110.0, 160.0, 210.0, 260.0, 95.0],\n"
              "  \"idle_private_bytes\": 1048576,\n"
              "  \"private_bytes_after_captures\": 2097152,\n"
              "  \"private_bytes_after_menu\": 9437184\n"
              "}\n");
}

TEST(StartupReport, LimitsHoldAtTheirBoundariesAndNothingUnmeasuredPasses) {
    StartupFigures f = sample_figures();
    EXPECT_TRUE(check_startup_limits(f).ok());  // median exactly 200.0, exactly 8 MiB retained
    EXPECT_TRUE(check_gdi_objects(f).ok());

    StartupFigures retained = f;
    *retained.private_bytes_after_menu += 1;
    EXPECT_EQ(check_startup_limits(retained).failure().message,
              "Resident retained more than 8 MiB after editor workers exited and its menu closed");
    StartupFigures late = f;
    late.first_frame_ms[1] = late.first_frame_ms[2] = 200.001;
    EXPECT_EQ(check_startup_limits(late).failure().message,
              "The editor's first frame came later than its budget after process creation");
    StartupFigures leaked = f;
    leaked.gdi_after = 31;
    EXPECT_EQ(check_gdi_objects(leaked).failure().message, "GDI resources leaked during capture");

    StartupFigures unmeasured = f;
    unmeasured.gdi_before = measured_unless_zero(0);
    unmeasured.gdi_after = measured_unless_zero(0);
    unmeasured.idle_private_bytes.reset();
    EXPECT_TRUE(check_gdi_objects(unmeasured).ok());
    EXPECT_EQ(check_startup_limits(unmeasured).failure(),
              plain_failure("not measured: gdi_before, gdi_after, idle_private_bytes"));
    const std::string report =
        join_startup_report(startup_report_first_half(unmeasured), startup_report_second_half(unmeasured));
    EXPECT_NE(report.find("  \"gdi_before\": null,\n  \"gdi_after\": null,\n"), std::string::npos);
    EXPECT_NE(report.find("  \"idle_private_bytes\": null,\n"), std::string::npos);
}

TEST(WarmReport, IsCompactWithBothModesInOrder) {
    const WarmModeFigures modes[] = {
        {"frozen", {20, 21.5, 22, 23, 24}, 5000, 4000, 1.25},
        {"live", {30, 31, 32, 33, 34}, 6000, std::nullopt, 0},
    };
    EXPECT_EQ(warm_report_text(modes),
              "{\"frozen\":{\"request_to_paint_gdi_flush_ms\":[20.0, 21.5, 22.0, 23.0, 24.0],"
              "\"standby_working_set_bytes\":5000,\"standby_private_bytes\":4000,\"standby_cpu_ms_over_2s\":1.25},"
              "\"live\":{\"request_to_paint_gdi_flush_ms\":[30.0, 31.0, 32.0, 33.0, 34.0],"
              "\"standby_working_set_bytes\":6000,\"standby_private_bytes\":null,\"standby_cpu_ms_over_2s\":0}}\n");
}

TEST(WarmReport, AFigureWrittenAsNullFailsTheRunNamingEachByModeAndOnlyAllFiguresPass) {
    const WarmModeFigures measured[] = {{"frozen", {20}, 5000, 4000, 1.25}, {"live", {30}, 6000, 4100, 0.0}};
    EXPECT_TRUE(check_warm_figures(measured).ok());
    const WarmModeFigures unmeasured[] = {{"frozen", {20}, 5000, 4000, std::nullopt},
                                          {"live", {30}, 6000, std::nullopt, std::nullopt}};
    EXPECT_NE(warm_report_text(unmeasured).find("\"standby_cpu_ms_over_2s\":null}"), std::string::npos);
    const Status checked = check_warm_figures(unmeasured);
    ASSERT_FALSE(checked.ok());
    EXPECT_EQ(checked.failure().message, "not measured: frozen.standby_cpu_ms_over_2s, live.standby_private_bytes, "
                                         "live.standby_cpu_ms_over_2s");
}

TEST(WarmReport, TheFrameReportReaderTakesOneFiniteNumberOnly) {
    struct Row { const char* name; const char* text; const char* failure; };
    const Row rows[] = {{"infinite", "inf", "Invalid warm-frame diagnostics"},
                        {"not a number", " NaN\n", "Invalid warm-frame diagnostics"},
                        {"a word", "fast", "invalid float literal"},
                        {"empty", " ", "cannot parse float from empty string"}};
    for (const Row& row : rows) {
        SCOPED_TRACE(row.name);
        const auto read = read_warm_frame_report(row.text);
        ASSERT_FALSE(read.ok());
        EXPECT_EQ(read.failure().message, row.failure);
    }
    EXPECT_EQ(read_warm_frame_report(" 12.25\n").value_or(0), 12.25);
}

TEST(DiagnosticSwitches, MatchWholeArgumentsInTheirOwnCaseAndTheFirstOneOffWins) {
    const Arguments args{u"glimmerly.exe", u"--diagnostic", u"--editor-diagnostic", u"--board-diagnostic",
                         u"--WARM-DIAGNOSTIC", u"--live-diagnostic=1"};
    EXPECT_TRUE(has_editor_diagnostic_switch(args));
    EXPECT_TRUE(has_board_diagnostic_switch(args));
    EXPECT_FALSE(has_warm_diagnostic_switch(args));
    EXPECT_FALSE(has_live_diagnostic_switch(args));
    EXPECT_EQ(find_one_off(args)->mode, OneOffMode::BoardDiagnostic);
    const Arguments editor_twice{u"glimmerly.exe", u"--diagnostic", u"--editor-diagnostic", u"--editor-diagnostic"};
    EXPECT_EQ(find_one_off(editor_twice)->mode, OneOffMode::EditorDiagnostic);
}

}  // namespace
}  // namespace glimmerly
