#pragma once
// What the self-checks share: the number forms of their reports, the reading
// of the numbers another process wrote, the median of timing samples, and
// the texts of the reports "--diagnostic" and "--warm-diagnostic" write.
// Reports are read by scripts and by the program itself, so every form is
// fixed to the byte.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "core/base/result.h"
#include "core/startup/command_line.h"

namespace glimmerly {

// The switches of the self-checks, each one whole argument in its own case.
bool has_board_diagnostic_switch(const Arguments& args);
bool has_board_diagnostic_set_switch(const Arguments& args);
bool has_google_diagnostic_switch(const Arguments& args);
bool has_presentation_diagnostic_switch(const Arguments& args);
bool has_loupe_diagnostic_switch(const Arguments& args);
bool has_editor_diagnostic_switch(const Arguments& args);
bool has_warm_diagnostic_switch(const Arguments& args);
bool has_hotkey_diagnostic_switch(const Arguments& args);
bool has_live_diagnostic_switch(const Arguments& args);

// The shortest decimal that reads back to the value, never with an
// exponent, and without a point for whole values: 12, 12.25.
std::string plain_number(double value);
// Exactly three digits after the point: 2.000.
std::string three_decimals(double value);
// "[12.5, 13.0, 9.75]": each item shortest, whole values with ".0", and
// non-zero magnitudes below 1e-4 or from 1e16 on as 1e-5 or 1e16.
std::string number_list(std::span<const double> values);

// The two texts a number that does not read fails with (E_FAIL).
Failure number_error(std::string_view piece);

// One decimal literal: optional sign, digits with an optional point,
// optional exponent, or inf, infinity and nan in any case.
Result<double> parse_number(std::string_view piece);
// The text without white space at either end, as one literal.
Result<double> parse_trimmed_number(std::string_view text);
// The pieces between runs of Unicode white space, each a literal, in order;
// blank text gives none.
Result<std::vector<double>> parse_numbers(std::string_view text);

// The element at index count / 2 of the samples sorted by IEEE 754 total
// order: the upper middle for an even count. `samples` is not empty.
double median_of(std::span<const double> samples);

Status ensure_condition(bool condition, std::string_view text);

// A conversion that never leaves the range: NaN is 0, the rest clamped and
// truncated toward zero.
std::uint32_t saturating_u32(double value);

// Reports of the editor processes, read back by "--diagnostic". A value
// that is not finite makes the report invalid: it can only come from a
// broken child, and no limit can be applied to it.
struct EditorFigures {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    double capture_ms = 0;
    double capture_and_init_ms = 0;
};
std::string editor_report_text(const EditorFigures& figures);
Result<EditorFigures> read_editor_report(std::string_view text);

struct FirstFrameFigures {
    double first_ms = 0;
    double hardware_ms = 0;
};
std::string first_frame_report_text(double latched_ms, double now_ms);
Result<FirstFrameFigures> read_first_frame_report(std::string_view text);

// A figure the platform could not give (it answered 0 where a running
// process always has more): written as null and never counted as a pass.
using Measured = std::optional<std::uint64_t>;
inline Measured measured_unless_zero(std::uint64_t value) { return value == 0 ? Measured{} : Measured{value}; }

inline constexpr std::uint64_t kRetainedBytesLimit = 0x800000;
inline constexpr double kFirstFrameBudgetMs = 200.0;
inline constexpr std::size_t kDiagnosticPasses = 5;

struct StartupFigures {
    double idle_seconds = 0;
    double idle_cpu_ms = 0;
    std::uint64_t idle_working_set_bytes = 0;
    std::uint32_t capture_width = 0;
    std::uint32_t capture_height = 0;
    std::vector<double> capture_ms;
    std::vector<double> capture_and_editor_init_ms;
    Measured gdi_before;
    Measured gdi_after;
    std::uint64_t working_set_after_captures = 0;
    std::vector<double> worker_lifetime_ms;
    std::vector<double> first_frame_ms;
    std::vector<double> hardware_frame_ms;
    Measured idle_private_bytes;
    Measured private_bytes_after_captures;
    Measured private_bytes_after_menu;
};

// The report "target/diagnostics.json" in its two halves: the first is
// whole JSON ending with "\n}\n", the second starts with ",\n" and ends
// with "\n}", and takes the place of the first's "\n}".
std::string startup_report_first_half(const StartupFigures& figures);
std::string startup_report_second_half(const StartupFigures& figures);
std::string join_startup_report(std::string first_half, std::string_view second_half);

// Equal counts before and after, when both were taken.
Status check_gdi_objects(const StartupFigures& figures);
// The limits applied once the report is written: retained memory, the
// median first frame, then the figures that could not be measured.
Status check_startup_limits(const StartupFigures& figures);

struct WarmModeFigures {
    std::string name;  // "frozen" or "live"
    std::vector<double> request_to_paint_ms;
    std::uint64_t standby_working_set_bytes = 0;
    Measured standby_private_bytes;
    // None when the platform's answer could not be the waiting editor's.
    std::optional<double> standby_cpu_ms;
};
// "target/warm-editor-diagnostics.json": compact, with a final line end.
std::string warm_report_text(std::span<const WarmModeFigures> modes);
// Applied once the report is written: "not measured: " and the figures
// written as null, each as mode.field.
Status check_warm_figures(std::span<const WarmModeFigures> modes);

// The one number of a warm-frame report. Not finite, it can only come from
// a broken child: the report is invalid.
Result<double> read_warm_frame_report(std::string_view text);

}  // namespace glimmerly
