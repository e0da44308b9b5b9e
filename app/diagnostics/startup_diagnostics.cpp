#include "app/diagnostics/startup_diagnostics.h"

#include "app/app/popup_paint.h"
#include "app/diagnostics/diagnostic_files.h"
#include "core/diagnostics/diagnostic_report.h"
#include "core/menu/app_command.h"
#include "core/menu/popup_rows.h"

namespace glimmerly {
namespace {

// A child that never ends (one that never paints with hardware rendering
// waits for ever) must not hold the check: each gets this long.
constexpr DWORD kChildWaitMs = 30000;

// GetGuiResources answers 0 when it cannot count, and a process with
// windows always owns some GDI objects.
Measured gdi_objects() { return measured_unless_zero(GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS)); }

Result<Measured> measured_private_bytes() {
    auto bytes = private_bytes();
    if (!bytes) return std::move(bytes).failure();
    return measured_unless_zero(*bytes);
}

// One child with its one argument, waited for; its report is read only
// after it has ended, and one left by an earlier run never counts.
Result<std::string> run_reporting_child(const wchar_t* argument, const wchar_t* report, const char* failed_text) {
    DeleteFileW(report);
    auto child = start_program_child(argument);
    if (!child) return std::move(child).failure();
    auto code = wait_for_child(*child, kChildWaitMs, failed_text);
    if (!code) return std::move(code).failure();
    GLIM_TRY(ensure_condition(*code == 0, failed_text));
    return read_report(report);
}

Status run_editor_passes(StartupFigures& f) {
    for (std::size_t pass = 0; pass < kDiagnosticPasses; ++pass) {
        const auto start = std::chrono::steady_clock::now();
        auto report = run_reporting_child(L"--editor-diagnostic", EDITOR_REPORT, "Editor process check failed");
        if (!report) return std::move(report).failure();
        f.worker_lifetime_ms.push_back(milliseconds_since(start));
        auto figures = read_editor_report(*report);
        if (!figures) return std::move(figures).failure();
        f.capture_width = figures->width;
        f.capture_height = figures->height;
        f.capture_ms.push_back(figures->capture_ms);
        f.capture_and_editor_init_ms.push_back(figures->capture_and_init_ms);
    }
    return ok_status();
}

Status run_first_frame_passes(StartupFigures& f) {
    for (std::size_t pass = 0; pass < kDiagnosticPasses; ++pass) {
        auto report = run_reporting_child(L"--first-frame-diagnostic", FIRST_FRAME_REPORT, "First-frame check failed");
        if (!report) return std::move(report).failure();
        auto figures = read_first_frame_report(*report);
        if (!figures) return std::move(figures).failure();
        f.first_frame_ms.push_back(figures->first_ms);
        f.hardware_frame_ms.push_back(figures->hardware_ms);
    }
    return ok_status();
}

}  // namespace

Status run_diagnostics(const DiagnosticBaseline& baseline) {
    StartupFigures f;
    f.idle_seconds = milliseconds_since(baseline.at) / 1000.0;
    auto cpu = process_cpu_ticks(GetCurrentProcess());
    if (!cpu) return std::move(cpu).failure();
    f.idle_cpu_ms = *cpu > baseline.cpu_time ? static_cast<double>(*cpu - baseline.cpu_time) / 10000.0 : 0.0;
    auto working_set = working_set_bytes();
    if (!working_set) return std::move(working_set).failure();
    f.idle_working_set_bytes = *working_set;
    auto idle_private = measured_private_bytes();
    if (!idle_private) return std::move(idle_private).failure();
    f.idle_private_bytes = *idle_private;
    f.gdi_before = gdi_objects();

    GLIM_TRY(run_editor_passes(f));
    f.gdi_after = gdi_objects();
    GLIM_TRY(check_gdi_objects(f));
    GLIM_TRY(run_first_frame_passes(f));

    working_set = working_set_bytes();
    if (!working_set) return std::move(working_set).failure();
    f.working_set_after_captures = *working_set;
    std::string first_half = startup_report_first_half(f);
    auto after_captures = measured_private_bytes();
    if (!after_captures) return std::move(after_captures).failure();
    f.private_bytes_after_captures = *after_captures;
    GLIM_TRY(exercise_tray_menu());
    auto after_menu = measured_private_bytes();
    if (!after_menu) return std::move(after_menu).failure();
    f.private_bytes_after_menu = *after_menu;

    GLIM_TRY(write_report(STARTUP_REPORT, join_startup_report(std::move(first_half), startup_report_second_half(f))));
    return check_startup_limits(f);
}

Status exercise_tray_menu() {
    ShortcutBindings bindings;
    bindings.shortcuts = {
        pack_shortcut({0, VK_SNAPSHOT}, false),       pack_shortcut({0, VK_SCROLL}, false),
        pack_shortcut({kShortcutAlt, 'A'}, false),    pack_shortcut({kShortcutAlt, 'R'}, false),
        pack_shortcut({kShortcutAlt, 'C'}, false),    pack_shortcut({kShortcutAlt, 'B'}, false),
    };
    auto picture = paint_tray_popup(APP_COMMAND_LANGUAGE_MENU, bindings);
    if (!picture) return std::move(picture).failure();
    return ok_status();
}

}  // namespace glimmerly
