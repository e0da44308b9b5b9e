#include "app/diagnostics/frame_diagnostic.h"

#include "app/app/app.h"
#include "app/app/editor_session.h"
#include "app/board/board_leave.h"
#include "app/diagnostics/diagnostic_files.h"
#include "app/win/failure.h"
#include "core/diagnostics/diagnostic_report.h"
#include "ui/capture/editor_window_part.h"

namespace glimmerly {
namespace {

std::uint64_t ticks(const FILETIME& time) { return std::uint64_t{time.dwHighDateTime} << 32 | time.dwLowDateTime; }

// 1970-01-01 in FILETIME ticks: the clock's earliest sane reading.
constexpr std::uint64_t kUnixEpochTicks = 116444736000000000ull;

Result<double> milliseconds_since_creation() {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(GetCurrentProcess(), &created, &exited, &kernel, &user))
        return win::self_check_failure("GetProcessTimes");
    FILETIME now_time{};
    GetSystemTimePreciseAsFileTime(&now_time);
    const std::uint64_t now = ticks(now_time);
    if (now < kUnixEpochTicks) return plain_failure("second time provided was later than self");
    const std::uint64_t creation = ticks(created);
    return now < creation ? 0.0 : static_cast<double>(now - creation) / 10000.0;
}

Result<double> milliseconds_since_counter(std::int64_t start) {
    LARGE_INTEGER frequency{}, counter{};
    if (!QueryPerformanceFrequency(&frequency)) return win::self_check_failure("QueryPerformanceFrequency");
    if (!QueryPerformanceCounter(&counter)) return win::self_check_failure("QueryPerformanceCounter");
    // The start comes in another process's message: subtracted as doubles,
    // whatever it holds cannot overflow.
    return (static_cast<double>(counter.QuadPart) - static_cast<double>(start)) * 1000.0 /
           static_cast<double>(frequency.QuadPart);
}

bool drawn_with_hardware(EditorState& state) {
    const auto& resources = editor_window_part(state).renderer.resources;
    return resources && !resources->software;
}

}  // namespace

Result<bool> write_frame_diagnostic(FrameDiagnostic& record, bool write_now) {
    if (!GdiFlush()) return win::self_check_failure("GdiFlush");
    if (record.warm_start_present) {
        auto elapsed = milliseconds_since_counter(record.warm_start);
        if (!elapsed) return std::move(elapsed).failure();
        GLIM_TRY(write_report(WARM_FRAME_REPORT, plain_number(*elapsed)));
        return true;
    }
    auto elapsed = milliseconds_since_creation();
    if (!elapsed) return std::move(elapsed).failure();
    if (record.state == FrameDiagnosticState::Armed) {
        record.state = FrameDiagnosticState::Latched;
        record.latched_ms = *elapsed;
    }
    if (!write_now) return false;
    GLIM_TRY(write_report(FIRST_FRAME_REPORT, first_frame_report_text(record.latched_ms, *elapsed)));
    return true;
}

void store_warm_start(FrameDiagnostic& record, WPARAM request_counter) {
    if (request_counter == 0 || record.state == FrameDiagnosticState::Off) return;
    record.warm_start_present = true;
    record.warm_start = static_cast<std::int64_t>(request_counter);
}

Status paint_editor_window_and_report(App& app, HWND window) {
    GLIM_TRY(paint_editor_window(app, window));
    EditorSession* session = open_editor_session(app);
    if (!session || app.frame_diagnostic.state == FrameDiagnosticState::Off) return ok_status();
    auto written = write_frame_diagnostic(app.frame_diagnostic, drawn_with_hardware(session->state()));
    if (!written) return std::move(written).failure();
    // As Escape ends it: the editor process then exits with 0.
    if (*written) save_and_bake_board(app, window, std::nullopt);
    return ok_status();
}

}  // namespace glimmerly
