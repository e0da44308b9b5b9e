#include "app/diagnostics/loupe_diagnostic.h"

#include <windows.h>

#include <cstdio>
#include <string>

#include "app/diagnostics/diagnostic_files.h"
#include "app/diagnostics/loupe_timing.h"
#include "app/presentation/loupe.h"
#include "app/presentation/loupe_probe.h"
#include "app/session/image_save.h"
#include "app/win/com.h"
#include "app/win/failure.h"
#include "core/diagnostics/loupe_analysis.h"

namespace glimmerly {
namespace {

Result<ScreenGrab> flushed_grab() {
    flush_dwm_twice();
    return capture_virtual_screen();
}

// A view at `point` and the grab that shows it, judged against `reference`.
Result<ViewCheck> check_view(Loupe& loupe, const ScreenGrab& reference, PixelPoint point, std::uint32_t zoom,
                             bool banded) {
    GLIM_TRY(update_loupe_view(loupe, point.x, point.y, kLoupeDiameter, zoom, std::nullopt, {}));
    auto shown = flushed_grab();
    if (!shown) return std::move(shown).failure();
    return compare_loupe_view(grab_view(reference), grab_view(*shown), point.x, point.y, zoom, banded);
}

// Whether a loupe window of this process is still there, one search after
// the other; a failed search ends it.
bool loupe_window_outlived() {
    HWND after = nullptr;
    for (;;) {
        auto found = find_loupe_window(after);
        if (!found) return false;
        DWORD process = 0;
        GetWindowThreadProcessId(*found, &process);
        if (process == GetCurrentProcessId()) return true;
        after = *found;
    }
}

// The loupe over the probe monitor's pattern: views, exclusion, rim, framed
// window, latency and idle cost. The loupe and every window made go on
// every path, the loupe first.
Status run_main_phase(LoupeFindings& findings, BgraImage& edge_picture) {
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    GLIM_TRY(apartment.status());
    const PixelRect monitor = choose_probe_monitor();
    const std::int32_t cx = (monitor.left + monitor.right) / 2;
    const std::int32_t cy = (monitor.top + monitor.bottom) / 2;
    const PixelPoint edges[] = {
        {cx, cy}, {monitor.right - 1, monitor.top}, {monitor.right - 1, monitor.bottom - 1}, {monitor.right - 1, cy}};

    auto pattern = create_probe_window(monitor, kTopmostProbeStyle, pattern_colour);
    if (!pattern) return std::move(pattern).failure();
    auto reference = flushed_grab();
    if (!reference) return std::move(reference).failure();
    for (const PixelPoint& point : edges)
        if (grab_pixel(grab_view(*reference), point.x, point.y) != pattern_colour(point.x, point.y))
            return plain_failure(pattern_covered_text(point));

    auto made = create_loupe(pattern->window.get());
    if (!made) return std::move(made).failure();
    LoupePointer loupe = std::move(*made);
    const bool banded = !loupe_has_capture_frames(*loupe);
    for (const std::uint32_t zoom : {2u, 3u, 4u})
        for (const PixelPoint& point : edges) {
            auto check = check_view(*loupe, *reference, point, zoom, banded);
            if (!check) return std::move(check).failure();
            findings.views.push_back(*check);
        }

    {
        auto magenta = create_magenta_probe({cx - 40, cy - 20, cx - 10, cy + 20});
        if (!magenta) return std::move(magenta).failure();
        auto green = create_green_probe({cx + 10, cy - 20, cx + 40, cy + 20});
        if (!green) return std::move(green).failure();
        // Where the window cannot be kept from captures, a loupe that shows
        // it does nothing wrong: its pixels are not counted.
        findings.capture_exclusion_untested = !exclude_from_capture(green->window.get());
        pump_probe_messages(*loupe);
        GLIM_TRY(update_loupe_view(*loupe, cx, cy, kLoupeDiameter, 2, std::nullopt, {magenta->window.get()}));
        auto shown = flushed_grab();
        if (!shown) return std::move(shown).failure();
        findings.views.push_back(compare_loupe_view(grab_view(*reference), grab_view(*shown), cx, cy, 2, banded));
        findings.magenta = count_colour(grab_view(*shown), cx - 120, cy - 120, kLoupeDiameter, kMagentaProbe);
        if (!findings.capture_exclusion_untested)
            findings.green = count_colour(grab_view(*shown), cx - 120, cy - 120, kLoupeDiameter, kGreenProbe);
        destroy_probe_window(std::move(*magenta));
        destroy_probe_window(std::move(*green));
        pump_probe_messages(*loupe);
    }

    GLIM_TRY(update_loupe_view(*loupe, cx, cy, kLoupeDiameter, 2, std::nullopt, {}));
    {
        auto shown = flushed_grab();
        if (!shown) return std::move(shown).failure();
        findings.feather = measure_feather(grab_view(*reference), grab_view(*shown), cx, cy);
        edge_picture = render_edge_zoom(grab_view(*shown), cx - 104, cy - 104);
    }

    {
        auto framed = create_framed_probe({cx - 200, cy - 150, cx + 200, cy + 150});
        if (!framed) return std::move(framed).failure();
        auto framed_grab = flushed_grab();
        if (!framed_grab) return std::move(framed_grab).failure();
        pump_probe_messages(*loupe);
        for (const PixelPoint point : {PixelPoint{cx, cy - 80}, PixelPoint{cx - 110, cy + 60}}) {
            auto check = check_view(*loupe, *framed_grab, point, 2, banded);
            if (!check) return std::move(check).failure();
            findings.views.push_back(*check);
        }
        framed->reset();
        pump_probe_messages(*loupe);
    }

    auto latency = measure_loupe_latency(*loupe, *reference, monitor);
    if (!latency) return std::move(latency).failure();
    findings.latencies = std::move(latency->latencies);
    findings.updates = std::move(latency->updates);
    auto plain = measure_plain_window_latency(monitor);
    if (!plain) return std::move(plain).failure();
    findings.plain_latencies = std::move(*plain);
    auto idle = measure_loupe_frame_cost(*loupe, cx, cy);
    if (!idle) return std::move(idle).failure();
    findings.idle_cpu = *idle;
    findings.band_mode = banded ? LoupeBandMode::Banded : LoupeBandMode::Composed;
    findings.band_reason = band_fallback_reason();

    destroy_loupe(std::move(loupe));
    findings.outlived = loupe_window_outlived();
    destroy_probe_window(std::move(*pattern));
    return ok_status();
}

// The loupe over the taskbar at the bottom of the probe monitor, when it
// has one there.
Status run_taskbar_phase(LoupeFindings& findings) {
    win::ComApartment apartment(COINIT_APARTMENTTHREADED);
    GLIM_TRY(apartment.status());
    const PixelRect chosen = choose_probe_monitor();
    const POINT centre{(chosen.left + chosen.right) / 2, (chosen.top + chosen.bottom) / 2};
    MONITORINFO info{};
    info.cbSize = sizeof info;
    if (!GetMonitorInfoW(MonitorFromPoint(centre, MONITOR_DEFAULTTONEAREST), &info))
        return win::self_check_failure("GetMonitorInfoW");
    if (info.rcWork.bottom >= info.rcMonitor.bottom) return ok_status();
    const PixelRect monitor{info.rcMonitor.left, info.rcMonitor.top, info.rcMonitor.right, info.rcMonitor.bottom};
    const PixelRect band{monitor.left, info.rcWork.bottom, monitor.right, monitor.bottom};

    auto probe = create_probe_window(monitor, kProbeStyle, [](std::int32_t, std::int32_t) { return kTaskbarProbe; });
    if (!probe) return std::move(probe).failure();
    // On top of the ordinary windows, and still below the taskbar.
    if (!SetWindowPos(probe->window.get(), HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE))
        return win::self_check_failure("SetWindowPos", LOUPE_PROBE_TITLE);
    auto reference = flushed_grab();
    if (!reference) return std::move(reference).failure();
    OwnedWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Loupe taskbar probe", WS_POPUP, -32000, -32000,
                                      1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!owner) return win::self_check_failure("CreateWindowExW", L"Loupe taskbar probe");
    auto made = create_loupe(owner.get());
    if (!made) return std::move(made).failure();
    LoupePointer loupe = std::move(*made);

    const std::int32_t f = (monitor.left + monitor.right) / 2;
    const std::int32_t g = (band.top + monitor.bottom) / 2;
    GLIM_TRY(update_loupe_view(*loupe, f, g, kLoupeDiameter, 2, std::nullopt, {}));
    drain_loupe_frames(*loupe);
    auto shown = flushed_grab();
    if (!shown) return std::move(shown).failure();
    const TaskbarComparison compared = compare_taskbar_view(grab_view(*reference), grab_view(*shown), f, g, monitor,
                                                            band, loupe_has_capture_frames(*loupe));
    TaskbarFindings taskbar{{f, g}, compared.exact, compared.compared, compared.worst,
                            loupe_capture_window_count(*loupe), {}, {}};
    auto latencies = measure_taskbar_latency({f, g}, {f + 120, g}, *loupe, taskbar.updates, monitor, band, *reference);
    if (!latencies) return std::move(latencies).failure();
    taskbar.latencies = std::move(*latencies);
    findings.taskbar = std::move(taskbar);

    destroy_loupe(std::move(loupe));
    destroy_probe_window(std::move(*probe));
    owner.reset();
    return ok_status();
}

std::string joined(const std::vector<std::string>& lines, std::string_view separator) {
    std::string text;
    for (const std::string& line : lines) {
        if (!text.empty()) text += separator;
        text += line;
    }
    return text;
}

}  // namespace

Status run_loupe_diagnostic() {
    // Refused where the manifest already made the process aware, and under Wine.
    SetProcessDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    win::keep_multithreaded_apartment();
    LoupeFindings findings;
    BgraImage edge_picture;
    GLIM_TRY(run_main_phase(findings, edge_picture));
    GLIM_TRY(run_taskbar_phase(findings));

    const std::vector<std::string> failures = loupe_failures(findings);
    const std::string report = loupe_report_text(findings, failures);
    // Without a "target" folder the files are lost; the printed report and
    // the result stay.
    (void)write_report(LOUPE_REPORT, report);
    (void)save_image_atomically(edge_picture, LOUPE_EDGE_PICTURE, ImageFormat::Png);
    std::fwrite(report.data(), 1, report.size(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    if (failures.empty()) return ok_status();
    return plain_failure(joined(failures, "; "));
}

}  // namespace glimmerly
