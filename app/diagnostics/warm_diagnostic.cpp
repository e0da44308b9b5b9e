#include "app/diagnostics/warm_diagnostic.h"

#include <array>
#include <chrono>

#include "app/app/editor_process.h"
#include "app/app/messages.h"
#include "app/app/tray_icon.h"
#include "app/diagnostics/diagnostic_files.h"
#include "app/lib/mutex_names.h"
#include "app/win/failure.h"
#include "core/diagnostics/diagnostic_report.h"

namespace glimmerly {
namespace {

using Clock = std::chrono::steady_clock;

constexpr auto kReadyWait = std::chrono::seconds(5);
constexpr DWORD kReadyPollMs = 2;
constexpr DWORD kStandbyMs = 2000;
constexpr DWORD kPaintAndCloseMs = 5000;

struct WarmMode {
    const char* name;
    const wchar_t* extra;
};
constexpr std::array<WarmMode, 2> kModes = {{
    {"frozen", L"--first-frame-diagnostic"},
    {"live", L"--first-frame-diagnostic --live-diagnostic"},
}};

bool has_ended(const EditorProcess& child) { return WaitForSingleObject(child.process.get(), 0) == WAIT_OBJECT_0; }

// The owner's queue is only drained, never dispatched: the one message
// that counts is the child's ready report.
Result<HWND> wait_for_ready(HWND owner, const EditorProcess& child) {
    const auto deadline = Clock::now() + kReadyWait;
    for (;;) {
        MSG message{};
        while (PeekMessageW(&message, owner, 0, 0, PM_REMOVE))
            if (message.message == WM_APP_EDITOR_READY && message.wParam == child.process_id)
                return reinterpret_cast<HWND>(message.lParam);
        if (has_ended(child) || Clock::now() >= deadline) return plain_failure("Prepared editor did not become ready");
        Sleep(kReadyPollMs);
    }
}

Status measure_standby(const EditorProcess& child, WarmModeFigures& figures) {
    auto memory = process_memory(child.process.get());
    if (!memory) return std::move(memory).failure();
    figures.standby_working_set_bytes = memory->working_set;
    figures.standby_private_bytes = measured_unless_zero(memory->private_usage);
    // A figure that is not shown to be the child's is not measured, never a
    // quiet 0. The prepared editor waits for its activation meanwhile.
    auto owner = process_times_owner(child.process.get());
    if (!owner) return std::move(owner).failure();
    auto before = process_cpu_ticks(child.process.get());
    if (!before) return std::move(before).failure();
    Sleep(kStandbyMs);
    auto after = process_cpu_ticks(child.process.get());
    if (!after) return std::move(after).failure();
    figures.standby_cpu_ms.reset();
    if (*owner == TimesOwner::Other)
        figures.standby_cpu_ms = *after > *before ? static_cast<double>(*after - *before) / 10000.0 : 0.0;
    return ok_status();
}

Status run_warm_pass(HWND owner, const WarmMode& mode, bool first_pass, WarmModeFigures& figures) {
    DeleteFileW(WARM_FRAME_REPORT);
    auto started = start_editor_process(owner, true, mode.extra);
    if (!started) return std::move(started).failure();
    // Its job ends the child on every way out of this pass.
    EditorProcess child = std::move(*started);

    auto editor = wait_for_ready(owner, child);
    if (!editor) return std::move(editor).failure();
    DWORD window_process = 0;
    GetWindowThreadProcessId(*editor, &window_process);
    const bool ready = window_process == child.process_id && !has_ended(child);
    GLIM_TRY(ensure_condition(!IsWindowVisible(*editor), "Prepared editor became visible before activation"));
    const LONG_PTR style = GetWindowLongPtrW(*editor, GWL_EXSTYLE);
    GLIM_TRY(ensure_condition((style & WS_EX_APPWINDOW) && !(style & WS_EX_TOOLWINDOW),
                              "Editor is excluded from Alt+Tab"));
    if (first_pass) {
        GLIM_TRY(measure_standby(child, figures));
        GLIM_TRY(ensure_condition(GetFileAttributesW(WARM_FRAME_REPORT) == INVALID_FILE_ATTRIBUTES,
                                  "Editor painted before activation"));
    }
    GLIM_TRY(ensure_condition(ready, "Editor failed to accept activation"));

    AllowSetForegroundWindow(child.process_id);
    LARGE_INTEGER counter{};
    if (!QueryPerformanceCounter(&counter)) return win::self_check_failure("QueryPerformanceCounter");
    if (!PostMessageW(*editor, WM_APP_START_CAPTURE, static_cast<WPARAM>(counter.QuadPart), 0))
        return win::self_check_failure("PostMessageW");
    if (WaitForSingleObject(child.process.get(), kPaintAndCloseMs) != WAIT_OBJECT_0)
        return plain_failure("Prepared editor did not paint and close");
    DWORD code = 1;
    if (!GetExitCodeProcess(child.process.get(), &code)) return win::self_check_failure("GetExitCodeProcess");
    GLIM_TRY(ensure_condition(code == 0, "Prepared editor failed"));

    auto report = read_report(WARM_FRAME_REPORT);
    if (!report) return std::move(report).failure();
    auto elapsed = read_warm_frame_report(*report);
    if (!elapsed) return std::move(elapsed).failure();
    figures.request_to_paint_ms.push_back(*elapsed);
    return ok_status();
}

}  // namespace

Status run_warm_diagnostic() {
    win::UniqueHandle mutex(CreateMutexW(nullptr, FALSE, WARM_DIAGNOSTIC_MUTEX));
    if (!mutex) return win::self_check_failure("CreateMutexW", WARM_DIAGNOSTIC_MUTEX);
    if (GetLastError() == ERROR_ALREADY_EXISTS) return plain_failure("Warm diagnostic already running");

    // Never shown: it only receives the children's ready reports.
    OwnedWindow owner(CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"Glimmerly warm diagnostic", WS_POPUP, -32000,
                                      -32000, 1, 1, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr));
    if (!owner) return win::self_check_failure("CreateWindowExW", L"STATIC");

    std::vector<WarmModeFigures> modes;
    for (const WarmMode& mode : kModes) {
        WarmModeFigures& figures = modes.emplace_back();
        figures.name = mode.name;
        for (std::size_t pass = 0; pass < kDiagnosticPasses; ++pass)
            GLIM_TRY(run_warm_pass(owner.get(), mode, pass == 0, figures));
    }
    GLIM_TRY(write_report(WARM_REPORT, warm_report_text(modes)));
    return check_warm_figures(modes);
}

}  // namespace glimmerly
